#include "app/PortLookup.h"

#include "app/InstanceDiscovery.h"
#include "app/Remarks.h"
#include "data/DataSet.h"
#include "platform/Registry.h"
#include "platform/AnsiText.h"

namespace app {

std::string TcpKeyPath(const std::string& address) {
    const size_t slash = address.find('\\');
    if (slash == std::string::npos) return kDefaultInstanceTcpKey;
    return std::string(kInstancesKey) + "\\" + TrimControls(address.substr(slash + 1)) +
           "\\MSSQLServer\\SuperSocketNetLib\\Tcp";
}

void LookupPort(platform::TRegistry& registry, data::TDataSet& table) {
    try {
        registry.CloseKey();
        registry.SetRootKey(HKEY_LOCAL_MACHINE);
        const std::string path =
            TcpKeyPath(platform::WideToAnsi(table.FieldByName(L"fwq")->AsString()));
        if (!registry.OpenKey(path, false)) {
            AppendRemark(table, MissingKeyRemark(platform::AnsiToWide(path)));
            return;
        }
        if (!registry.ValueExists(kTcpPortValue)) {
            AppendRemark(table, kRemarkNoTcpPort);
            return;
        }
        table.Edit();
        table.FieldByName(L"dkh")->SetAsString(
            platform::AnsiToWide(registry.ReadString(kTcpPortValue)));
        table.Post();
    } catch (...) {
        AppendRemark(table, kRemarkPortFailed);
    }
}

} // namespace app
