// The detection run behind the Detect button: rebuild the result table from
// the registry's instance list, then walk its rows looking up each port and
// asking each server, with a progress window and the main window disabled.
// Single failures become remarks; only two end the run, each with a message.
#pragma once

#include "app/InstanceDiscovery.h"

#include <functional>
#include <string>

namespace data {
class TClientDataSet;
}
namespace platform {
class IDatabaseSession;
}

namespace app {

inline constexpr wchar_t kMessageCaption[] = L"信息框";
inline constexpr wchar_t kDiscoveryFailedMessage[] = L"加载服务器时出现错误!";
inline constexpr wchar_t kWalkFailedMessage[] = L"查询数据库管理系统时出现错误!";
inline constexpr unsigned kMessageFlags = 64; // MB_OK | MB_ICONINFORMATION

struct DetectionServices {
    data::TClientDataSet* Table = nullptr;
    platform::IDatabaseSession* Database = nullptr;
    HostNameSource HostName;
    // Shows a modal message box owned by the application window.
    std::function<void(const std::wstring& text, const std::wstring& caption, unsigned flags)>
        ShowMessage;
    // Dispatches the pending window messages.
    std::function<void()> PumpMessages;
};

// Runs one detection. A failure while resetting the table escapes to the
// caller (the application's default error handler); everything later is
// handled here.
void RunDetection(const DetectionServices& services);

} // namespace app
