#include "app/InstanceDiscovery.h"

#include "data/DataSet.h"
#include "platform/Registry.h"
#include "platform/AnsiText.h"

#include <optional>

namespace app {

namespace {

// The list of one view; nothing when its key or value is missing.
std::optional<InstanceBuffer> ReadInstanceList(platform::TRegistry& registry) {
    registry.CloseKey();
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    if (!registry.OpenKey(kInstancesKey, false)) return std::nullopt;
    if (!registry.ValueExists(kInstancesValue)) return std::nullopt;
    InstanceBuffer buffer{};
    registry.ReadBinaryData(kInstancesValue, buffer.data(), static_cast<int>(buffer.size()));
    return buffer;
}

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
    const std::wstring wa = platform::AnsiToWide(a), wb = platform::AnsiToWide(b);
    return CompareStringOrdinal(wa.c_str(), static_cast<int>(wa.size()), wb.c_str(),
                                static_cast<int>(wb.size()), TRUE) == CSTR_EQUAL;
}

} // namespace

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

std::vector<std::string> MergeInstanceLists(std::vector<std::string> first,
                                            const std::vector<std::string>& second) {
    for (const std::string& name : second) {
        bool known = false;
        for (const std::string& have : first)
            known = known || SameNameIgnoringCase(have, name);
        if (!known) first.push_back(name);
    }
    return first;
}

std::string InstanceAddress(const std::string& hostName, const std::string& instance) {
    const std::string host = UpperAscii(hostName);
    if (instance == kDefaultInstance) return host;
    return host + "\\" + instance;
}

void DiscoverInstances(platform::TRegistry& registry, data::TDataSet& table,
                       const HostNameSource& hostName) {
    std::vector<std::string> names;
    if (const auto list = ReadInstanceList(registry)) names = ScanInstanceList(*list);

    std::vector<std::string> names32;
    try {
        platform::TRegistry view32(platform::kReadView32);
        if (const auto list = ReadInstanceList(view32)) names32 = ScanInstanceList(*list);
    } catch (const platform::RegistryError&) {
        // An unreadable 32-bit list adds nothing; the 64-bit one stands.
    }
    names = MergeInstanceLists(std::move(names), names32);

    for (const std::string& name : names) {
        table.Append();
        // Asked anew for every row, as the socket component does.
        table.FieldByName(L"fwq")->SetAsString(
            platform::AnsiToWide(InstanceAddress(hostName(), name)));
        table.Post();
    }
}

} // namespace app
