// Instance discovery: the SQL Server instances listed in the registry become
// rows of the result table, each named by host (and instance).
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace data {
class TDataSet;
}
namespace platform {
class TRegistry;
}

namespace app {

inline constexpr char kInstancesKey[] = "SOFTWARE\\Microsoft\\Microsoft SQL Server";
inline constexpr char kInstancesValue[] = "InstalledInstances";
inline constexpr char kDefaultInstance[] = "MSSQLSERVER";
// The value is read into a buffer of this many bytes; a larger value fails.
inline constexpr std::size_t kInstanceBufferSize = 1025;

using InstanceBuffer = std::array<unsigned char, kInstanceBufferSize>;
using HostNameSource = std::function<std::string()>;

// Bytes <= 0x20 trimmed from both ends.
std::string TrimControls(const std::string& text);
// Only "a".."z" become upper case; every other byte stays.
std::string UpperAscii(std::string text);

// The names in a NUL-separated list, trimmed, empty ones dropped. The buffer
// is scanned as if followed by one more NUL, so an unterminated last name
// still counts; two NULs in a row end the list.
std::vector<std::string> ScanInstanceList(const InstanceBuffer& buffer);

// The first list followed by the names of the second that it lacks, compared
// without regard to case, each once. The first list stays as it is.
std::vector<std::string> MergeInstanceLists(std::vector<std::string> first,
                                            const std::vector<std::string>& second);

// The address of an instance: the upper-cased host name for the default
// instance, else host name, backslash and the instance name as listed.
std::string InstanceAddress(const std::string& hostName, const std::string& instance);

// Appends and posts one row per listed instance: those of the 64-bit registry
// view, then those only the 32-bit view lists (32-bit servers on 64-bit
// Windows). A missing key or value adds nothing; in the 64-bit view a value of
// the wrong type or larger than the buffer throws, in the 32-bit view it is
// passed over.
void DiscoverInstances(platform::TRegistry& registry, data::TDataSet& table,
                       const HostNameSource& hostName);

} // namespace app
