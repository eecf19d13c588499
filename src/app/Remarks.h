// Remarks: every failed step of a detection run appends a fixed text, ending
// in one blank, to the row's remark field bz.
#pragma once

#include <string>

namespace data {
class TDataSet;
}

namespace app {

inline constexpr wchar_t kRemarkNoConnection[] = L"连接不成功 ";
inline constexpr wchar_t kRemarkPortFailed[] = L"查询端口号不成功 ";
inline constexpr wchar_t kRemarkNoTcpPort[] = L"无TcpPort路径 ";
inline constexpr wchar_t kRemarkVersionFailed[] = L"查询数据库管理系统不成功 ";
inline constexpr wchar_t kRemarkEditionFailed[] = L"查询版本名称与补丁名称不成功 ";

// "无" + key path + "路径 ": the key could not be opened.
std::wstring MissingKeyRemark(const std::wstring& keyPath);

// Edit (a no-op while already editing), bz += remark, post.
void AppendRemark(data::TDataSet& table, const std::wstring& remark);

} // namespace app
