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

// The key holding the TCP settings of the instance at this address: the
// default instance's when the address has no backslash, else the named
// instance's (the part after the first backslash, trimmed).
std::string TcpKeyPath(const std::string& address);

// Sets dkh of the current row, or appends a remark. Failures are handled here
// (the port guard); only a failure to write the guard's remark escapes.
void LookupPort(platform::TRegistry& registry, data::TDataSet& table);

} // namespace app
