#include "grid/SortMarking.h"

namespace grid {

TSortMarker NextSortMarker(TSortMarker current, bool add) {
    switch (current) {
    case TSortMarker::smNone:
        return TSortMarker::smDown;
    case TSortMarker::smDown:
        return TSortMarker::smUp;
    case TSortMarker::smUp:
        break;
    }
    return add ? TSortMarker::smNone : TSortMarker::smDown;
}

TSortIndexFields SortIndexFields(const std::vector<TSortKey>& keys) {
    TSortIndexFields out;
    for (const TSortKey& k : keys) {
        out.Fields += k.FieldName + L';';
        if (k.Descending) out.DescFields += k.FieldName + L';';
    }
    if (!out.Fields.empty()) out.Fields.pop_back();
    if (!out.DescFields.empty()) out.DescFields.pop_back();
    return out;
}

} // namespace grid
