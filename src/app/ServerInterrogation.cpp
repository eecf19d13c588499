#include "app/ServerInterrogation.h"

#include "app/Remarks.h"
#include "data/DataSet.h"
#include "platform/DatabaseSession.h"

namespace app {

const std::vector<std::wstring>& VersionQuery() {
    static const std::vector<std::wstring> lines{L" --Password ", L" select @@version as sjkglxt "};
    return lines;
}

const std::vector<std::wstring>& EditionQuery() {
    static const std::vector<std::wstring> lines{
        L" --Password ",
        L" select serverproperty('edition') as bbmc,serverproperty('productlevel') as bdmc "};
    return lines;
}

std::wstring QuoteConnectionValue(const std::wstring& value) {
    const bool edgeBlank = !value.empty() && (value.front() == L' ' || value.back() == L' ' ||
                                              value.front() == L'\t' || value.back() == L'\t');
    if (!edgeBlank && value.find_first_of(L";=\"'") == std::wstring::npos) return value;
    // OLE DB rules: prefer double quotes; a value holding double quotes but no
    // single ones goes in single quotes; holding both, the double quotes are
    // doubled inside double quotes.
    if (value.find(L'"') == std::wstring::npos) return L"\"" + value + L"\"";
    if (value.find(L'\'') == std::wstring::npos) return L"'" + value + L"'";
    std::wstring quoted = L"\"";
    for (wchar_t c : value) {
        quoted += c;
        if (c == L'"') quoted += L'"';
    }
    return quoted + L"\"";
}

std::wstring ConnectionStringFor(const std::wstring& address) {
    return kConnectionStringPrefix + QuoteConnectionValue(address) + L";";
}

void InterrogateServer(platform::IDatabaseSession& database, data::TDataSet& table) {
    database.Disconnect();
    database.SetConnectionString(ConnectionStringFor(table.FieldByName(L"fwq")->AsString()));
    database.Connect();

    try {
        database.CloseQuery();
        database.OpenQuery(VersionQuery());
        if (database.RecordCount() > 0) {
            table.Edit();
            table.FieldByName(L"sjkglxt")->SetAsString(database.FieldText(L"sjkglxt"));
            table.Post();
        }
    } catch (...) {
        AppendRemark(table, kRemarkVersionFailed);
    }

    try {
        database.CloseQuery();
        database.OpenQuery(EditionQuery());
        if (database.RecordCount() > 0) {
            table.Edit();
            data::TField* edition = table.FieldByName(L"bbmc");
            edition->SetAsString(database.FieldText(L"bbmc"));
            // Read back as stored (cut to the field's size) before marking MSDE.
            if (edition->AsString().find(L"Desktop") != std::wstring::npos)
                edition->SetAsString(edition->AsString() + L"(MSDE)");
            table.FieldByName(L"bdmc")->SetAsString(database.FieldText(L"bdmc"));
            table.Post();
        }
    } catch (...) {
        AppendRemark(table, kRemarkEditionFailed);
    }
    // Connection and query stay open: the next row's disconnect closes them.
}

} // namespace app
