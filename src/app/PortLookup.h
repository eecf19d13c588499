// Port lookup: the TCP port an instance's network settings store in the
// registry, written to the current row's dkh as text.
#pragma once

#include <string>

namespace data {
class TDataSet;
}
namespace platform {
class TRegistry;
}

namespace app {

inline constexpr char kDefaultInstanceTcpKey[] =
    "SOFTWARE\\Microsoft\\MSSQLServer\\MSSQLServer\\SuperSocketNetLib\\Tcp";
inline constexpr char kTcpPortValue[] = "TcpPort";
// SQL Server 2005 and later: instance name -> instance ID ("MSSQL16.SQLEXPRESS"),
// and below the ID the port the instance listens on for every address.
inline constexpr char kInstanceIdsKey[] =
    "SOFTWARE\\Microsoft\\Microsoft SQL Server\\Instance Names\\SQL";
inline constexpr char kTcpDynamicPortsValue[] = "TcpDynamicPorts";
inline constexpr wchar_t kDynamicPortSuffix[] = L" (动态)";

// The key holding the TCP settings of the instance at this address: the
// default instance's when the address has no backslash, else the named
// instance's (the part after the first backslash, trimmed).
std::string TcpKeyPath(const std::string& address);

// The instance's name as the registry lists it: the default instance's name
// when the address has no backslash, else the trimmed part after the first.
std::string InstanceName(const std::string& address);
// The key of an instance ID that holds its port for all addresses.
std::string IpAllKeyPath(const std::string& instanceId);

// Sets dkh of the current row, or appends a remark. The key of SQL Server
// 2000 comes first; without it the instance ID's settings are read, in the
// 64-bit registry view and then in the 32-bit one, where a static port wins
// over a dynamic one (shown with a suffix). Failures are handled here
// (the port guard); only a failure to write the guard's remark escapes.
void LookupPort(platform::TRegistry& registry, data::TDataSet& table);

} // namespace app
