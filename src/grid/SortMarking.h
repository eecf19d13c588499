// The pure rules of title-click sorting: how a click cycles a marker, and how
// the marked columns become the fields of the sort index.
#pragma once

#include "grid/GridOptions.h"

#include <string>
#include <vector>

namespace grid {

// A plain click never removes the sort (Down, Up, Down, ...); a Ctrl+click
// cycles Down, Up, None.
TSortMarker NextSortMarker(TSortMarker current, bool add);

// One marked column, in sort order.
struct TSortKey {
    std::wstring FieldName;
    bool Descending = false; // smUp
};

struct TSortIndexFields {
    std::wstring Fields;     // every key's field, ';'-separated
    std::wstring DescFields; // the descending ones, in the same order
};

TSortIndexFields SortIndexFields(const std::vector<TSortKey>& keys);

} // namespace grid
