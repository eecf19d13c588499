#include "data/IndexDefs.h"

#include "data/DataSetError.h"
#include "data/TextUtil.h"

namespace data {

TIndexDef& TIndexDefs::Add(const std::wstring& name, const std::wstring& fields,
                           TIndexOptions options) {
    TIndexDef def;
    def.Name = name;
    def.Fields = fields;
    def.Options = options;
    return Add(def);
}

TIndexDef& TIndexDefs::Add(const TIndexDef& def) {
    if (def.Name.empty()) throw DataSetError(L"Index name missing");
    if (IndexOf(def.Name) >= 0) throw DataSetError(L"Duplicate index name '" + def.Name + L"'");
    defs_.push_back(def);
    return defs_.back();
}

int TIndexDefs::IndexOf(const std::wstring& name) const {
    for (std::size_t i = 0; i < defs_.size(); ++i) {
        if (SameText(defs_[i].Name, name)) return static_cast<int>(i);
    }
    return -1;
}

const TIndexDef* TIndexDefs::Find(const std::wstring& name) const {
    const int i = IndexOf(name);
    return i < 0 ? nullptr : &defs_[static_cast<std::size_t>(i)];
}

void TIndexDefs::Delete(int index) {
    if (index < 0 || index >= Count()) throw DataSetError(L"Index definition out of range");
    defs_.erase(defs_.begin() + index);
}

void TIndexDefs::Update() {
    if (updater_) updater_(*this);
}

std::vector<std::wstring> SplitFieldNames(const std::wstring& names) {
    std::vector<std::wstring> out;
    std::size_t start = 0;
    while (start <= names.size()) {
        std::size_t end = names.find(L';', start);
        if (end == std::wstring::npos) end = names.size();
        std::size_t b = start;
        std::size_t e = end;
        while (b < e && names[b] == L' ')
            ++b;
        while (e > b && names[e - 1] == L' ')
            --e;
        if (e > b) out.push_back(names.substr(b, e - b));
        start = end + 1;
    }
    return out;
}

} // namespace data
