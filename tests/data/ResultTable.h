// A table shaped like the program's result table, for the dataset tests.
#pragma once

#include "data/ClientDataSet.h"

#include <memory>
#include <string>
#include <vector>

namespace datatest {

inline std::unique_ptr<data::TClientDataSet> MakeResultTable() {
    auto t = std::make_unique<data::TClientDataSet>();
    t->Name = L"ClientDataSet1";
    for (const wchar_t* name : {L"fwq", L"sjkglxt", L"bbmc", L"bdmc", L"dkh"}) {
        t->FieldDefs().Add(name, 100);
    }
    t->FieldDefs().Add(L"bz", 400);
    t->CreateDataSet();
    return t;
}

inline void AppendRow(data::TDataSet& t, const std::wstring& fwq, const std::wstring& dkh = L"") {
    t.Append();
    t.FieldByName(L"fwq")->SetAsString(fwq);
    if (!dkh.empty()) t.FieldByName(L"dkh")->SetAsString(dkh);
    t.Post();
}

// The values of one field, top to bottom in the current order, read by
// record number without moving the cursor.
inline std::vector<std::wstring> Column(const data::TDataSet& t, const std::wstring& field) {
    std::vector<std::wstring> out;
    const int f = t.FieldByName(field)->Index();
    for (int r = 1; r <= t.RecordCount(); ++r)
        out.push_back(t.FieldTextAt(r, f));
    return out;
}

} // namespace datatest
