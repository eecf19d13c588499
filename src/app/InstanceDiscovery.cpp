#include "app/InstanceDiscovery.h"

#include "data/DataSet.h"
#include "platform/Registry.h"
#include "platform/AnsiText.h"

namespace app {

std::string TrimControls(const std::string& text) {
    auto keep = [](char c) { return static_cast<unsigned char>(c) > 0x20; };
    size_t first = 0, last = text.size();
    while (first < last && !keep(text[first]))
        ++first;
    while (last > first && !keep(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

std::string UpperAscii(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

std::vector<std::string> ScanInstanceList(const InstanceBuffer& buffer) {
    std::vector<std::string> names;
    std::string pending;
    bool separator = false;
    for (size_t i = 0; i <= buffer.size(); ++i) {
        const unsigned char byte = i < buffer.size() ? buffer[i] : 0; // the implied final NUL
        if (byte != 0) {
            separator = false;
            pending.push_back(static_cast<char>(byte));
        } else if (separator) {
            break;
        } else {
            separator = true;
            std::string name = TrimControls(pending);
            if (!name.empty()) names.push_back(std::move(name));
            pending.clear();
        }
    }
    return names;
}

std::string InstanceAddress(const std::string& hostName, const std::string& instance) {
    const std::string host = UpperAscii(hostName);
    if (instance == kDefaultInstance) return host;
    return host + "\\" + instance;
}

void DiscoverInstances(platform::TRegistry& registry, data::TDataSet& table,
                       const HostNameSource& hostName) {
    registry.CloseKey();
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    if (!registry.OpenKey(kInstancesKey, false)) return;
    if (!registry.ValueExists(kInstancesValue)) return;

    InstanceBuffer buffer{};
    registry.ReadBinaryData(kInstancesValue, buffer.data(), static_cast<int>(buffer.size()));

    for (const std::string& name : ScanInstanceList(buffer)) {
        table.Append();
        // Asked anew for every row, as the socket component does.
        table.FieldByName(L"fwq")->SetAsString(
            platform::AnsiToWide(InstanceAddress(hostName(), name)));
        table.Post();
    }
}

} // namespace app
