// Server interrogation: connect to the instance of the current row and ask
// for its version banner, edition and service-pack level.
#pragma once

#include <string>
#include <vector>

namespace data {
class TDataSet;
}
namespace platform {
class IDatabaseSession;
}

namespace app {

inline constexpr wchar_t kConnectionStringPrefix[] =
    L"Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False;Initial "
    L"Catalog=master;Data Source=";

const std::vector<std::wstring>& VersionQuery();
const std::vector<std::wstring>& EditionQuery();

// The Data Source value as written into the connection string: the address
// itself, or quoted when it holds a character that would end or change the
// value, so that an instance name cannot smuggle in other keywords.
std::wstring QuoteConnectionValue(const std::wstring& value);
std::wstring ConnectionStringFor(const std::wstring& address);

// Disconnects, connects to the row's instance (a failure escapes to the
// caller), then runs both queries, each under its own guard.
void InterrogateServer(platform::IDatabaseSession& database, data::TDataSet& table);

} // namespace app
