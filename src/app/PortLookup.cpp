#include "app/PortLookup.h"

#include "app/InstanceDiscovery.h"
#include "app/Remarks.h"
#include "data/DataSet.h"
#include "platform/Registry.h"
#include "platform/AnsiText.h"

#include <initializer_list>

namespace app {

std::string TcpKeyPath(const std::string& address) {
    if (address.find('\\') == std::string::npos) return kDefaultInstanceTcpKey;
    return std::string(kInstancesKey) + "\\" + InstanceName(address) +
           "\\MSSQLServer\\SuperSocketNetLib\\Tcp";
}

std::string InstanceName(const std::string& address) {
    const size_t slash = address.find('\\');
    if (slash == std::string::npos) return kDefaultInstance;
    return TrimControls(address.substr(slash + 1));
}

std::string IpAllKeyPath(const std::string& instanceId) {
    return std::string(kInstancesKey) + "\\" + instanceId +
           "\\MSSQLServer\\SuperSocketNetLib\\Tcp\\IPAll";
}

namespace {

// The key of SQL Server 2000 is open: its "TcpPort" is the port.
void ReadTcpPort(const platform::TRegistry& registry, data::TDataSet& table) {
    if (!registry.ValueExists(kTcpPortValue)) {
        AppendRemark(table, kRemarkNoTcpPort);
        return;
    }
    table.Edit();
    table.FieldByName(L"dkh")->SetAsString(
        platform::AnsiToWide(registry.ReadString(kTcpPortValue)));
    table.Post();
}

// Opens the IPAll key of the instance in the reader's view; false when the
// view does not know the instance or has no such key.
bool OpenIpAllKey(platform::TRegistry& registry, const std::string& instance) {
    registry.CloseKey();
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    // An empty name would ask for the key's default value instead.
    if (instance.empty()) return false;
    if (!registry.OpenKey(kInstanceIdsKey, false) || !registry.ValueExists(instance)) return false;
    const std::string id = TrimControls(registry.ReadString(instance));
    return !id.empty() && registry.OpenKey(IpAllKeyPath(id), false);
}

// The IPAll key is open: a static port, else the dynamic one marked as such.
void ReadIpAllPort(const platform::TRegistry& registry, data::TDataSet& table) {
    const bool hasStatic = registry.ValueExists(kTcpPortValue);
    const bool hasDynamic = registry.ValueExists(kTcpDynamicPortsValue);
    if (!hasStatic && !hasDynamic) {
        AppendRemark(table, kRemarkNoTcpPort);
        return;
    }
    table.Edit();
    std::wstring port;
    if (hasStatic) port = platform::AnsiToWide(registry.ReadString(kTcpPortValue));
    if (port.empty() && hasDynamic) {
        const std::wstring dynamic =
            platform::AnsiToWide(registry.ReadString(kTcpDynamicPortsValue));
        if (!dynamic.empty()) port = dynamic + kDynamicPortSuffix;
    }
    table.FieldByName(L"dkh")->SetAsString(port);
    table.Post();
}

} // namespace

void LookupPort(platform::TRegistry& registry, data::TDataSet& table) {
    try {
        registry.CloseKey();
        registry.SetRootKey(HKEY_LOCAL_MACHINE);
        const std::string address = platform::WideToAnsi(table.FieldByName(L"fwq")->AsString());
        const std::string path = TcpKeyPath(address);
        if (registry.OpenKey(path, false)) {
            ReadTcpPort(registry, table);
            return;
        }
        const std::string instance = InstanceName(address);
        platform::TRegistry view32(platform::kReadView32);
        for (platform::TRegistry* view : {&registry, &view32}) {
            if (OpenIpAllKey(*view, instance)) {
                ReadIpAllPort(*view, table);
                return;
            }
        }
        // A 32-bit SQL Server 2000 on 64-bit Windows keeps its key in the
        // 32-bit view.
        view32.SetRootKey(HKEY_LOCAL_MACHINE);
        if (view32.OpenKey(path, false)) {
            ReadTcpPort(view32, table);
            return;
        }
        AppendRemark(table, MissingKeyRemark(platform::AnsiToWide(path)));
    } catch (...) {
        AppendRemark(table, kRemarkPortFailed);
    }
}

} // namespace app
