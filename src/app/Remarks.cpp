#include "app/Remarks.h"

#include "data/DataSet.h"

namespace app {

std::wstring MissingKeyRemark(const std::wstring& keyPath) {
    return L"无" + keyPath + L"路径 ";
}

void AppendRemark(data::TDataSet& table, const std::wstring& remark) {
    table.Edit();
    data::TField* bz = table.FieldByName(L"bz");
    bz->SetAsString(bz->AsString() + remark);
    table.Post();
}

} // namespace app
