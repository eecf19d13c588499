#include "data/ClientDataSet.h"

#include "data/TextUtil.h"

#include <algorithm>
#include <limits>

namespace data {

namespace {

// A hint that `p` will be read soon; nothing where the compiler offers none.
inline void Prefetch(const void* p) {
#if defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(p);
#else
    (void)p;
#endif
}

// Length of a null key while sorting.
constexpr std::uint32_t kNull = 0xFFFFFFFF;

// Spacing of Seq between appended rows, leaving room for Insert.
constexpr std::uint64_t kSeqGap = std::uint64_t{1} << 20;

// Grows geometrically; reserving one more each time would copy the vector on every post.
template <typename T> void Reserve(std::vector<T>& v) {
    if (v.size() == v.capacity()) v.reserve(v.size() < 16 ? 16 : v.size() * 2);
}

std::wstring IndexNotFound(const std::wstring& name) {
    return L"Index '" + name + L"' not found";
}

} // namespace

TCustomClientDataSet::TCustomClientDataSet()
    : indexDefs_([this](TIndexDefs& defs) { UpdateIndexDefs(defs); }) {}

TCustomClientDataSet::~TCustomClientDataSet() = default;

std::vector<std::wstring> TCustomClientDataSet::ClassChain() const {
    auto chain = TDataSet::ClassChain();
    chain.insert(chain.begin(), L"TCustomClientDataSet");
    return chain;
}

std::vector<std::wstring> TClientDataSet::ClassChain() const {
    auto chain = TCustomClientDataSet::ClassChain();
    chain.insert(chain.begin(), L"TClientDataSet");
    return chain;
}

void TCustomClientDataSet::CreateDataSet() {
    Close();
    if (FieldDefs().Count() == 0) {
        throw DataSetError(L"Cannot create a dataset without field definitions");
    }
    CreateFields();
    rows_.clear();
    natural_.clear();
    order_.clear();
    Open();
}

void TCustomClientDataSet::EmptyDataSet() {
    CheckActive();
    Cancel();
    InternalEmpty();
    ContentsChanged(-1);
}

// --- Indexes ---

TCustomClientDataSet::THeldIndex TCustomClientDataSet::BuildIndex(const TIndexDef& def) const {
    THeldIndex held{def, {}};
    const auto names = SplitFieldNames(def.Fields);
    if (names.empty()) throw DataSetError(L"Index '" + def.Name + L"' has no fields");
    const auto desc = SplitFieldNames(def.DescFields);
    const auto caseIns = SplitFieldNames(def.CaseInsFields);
    for (const auto& n : desc)
        FieldByName(n);
    for (const auto& n : caseIns)
        FieldByName(n);
    const auto listed = [](const std::vector<std::wstring>& list, const std::wstring& name) {
        return std::any_of(list.begin(), list.end(),
                           [&](const std::wstring& n) { return SameText(n, name); });
    };
    for (const auto& n : names) {
        TKeyPart part;
        part.Field = FieldByName(n)->Index();
        part.Descending = def.Options.Contains(TIndexOption::ixDescending) || listed(desc, n);
        part.CaseInsensitive =
            def.Options.Contains(TIndexOption::ixCaseInsensitive) || listed(caseIns, n);
        held.Parts.push_back(part);
    }
    return held;
}

int TCustomClientDataSet::FindHeld(const std::wstring& name) const {
    for (std::size_t i = 0; i < held_.size(); ++i) {
        if (SameText(held_[i].Def.Name, name)) return static_cast<int>(i);
    }
    return -1;
}

void TCustomClientDataSet::AddIndex(const std::wstring& name, const std::wstring& fields,
                                    TIndexOptions options, const std::wstring& descFields,
                                    const std::wstring& caseInsFields, int groupingLevel) {
    CheckActive();
    if (name.empty()) throw DataSetError(L"Index name missing");
    if (FindHeld(name) >= 0) throw DataSetError(L"Duplicate index name '" + name + L"'");
    TIndexDef def;
    def.Name = name;
    def.Fields = fields;
    def.Options = options;
    def.DescFields = descFields;
    def.CaseInsFields = caseInsFields;
    def.GroupingLevel = groupingLevel;
    held_.push_back(BuildIndex(def));
}

void TCustomClientDataSet::DeleteIndex(const std::wstring& name) {
    CheckActive();
    const int h = FindHeld(name);
    if (h < 0) throw DataSetError(IndexNotFound(name));
    if (!indexName_.empty() && SameText(indexName_, name)) {
        CheckBrowseMode();
        Reorder(-1);
        indexName_.clear();
    }
    held_.erase(held_.begin() + h);
}

void TCustomClientDataSet::SetIndexName(const std::wstring& name) {
    if (!Active()) {
        indexName_ = name;
        return;
    }
    if (SameText(name, indexName_)) return;
    CheckBrowseMode();
    int h = -1;
    if (!name.empty()) {
        h = FindHeld(name);
        if (h < 0) {
            const TIndexDef* def = indexDefs_.Find(name);
            if (def == nullptr) throw DataSetError(IndexNotFound(name));
            held_.push_back(BuildIndex(*def));
            h = static_cast<int>(held_.size()) - 1;
        }
    }
    Reorder(h);
    indexName_ = h < 0 ? std::wstring() : held_[static_cast<std::size_t>(h)].Def.Name;
}

void TCustomClientDataSet::GetIndexNames(std::vector<std::wstring>& names) {
    indexDefs_.Update();
    names.clear();
    for (int i = 0; i < indexDefs_.Count(); ++i)
        names.push_back(indexDefs_.Items(i).Name);
}

void TCustomClientDataSet::UpdateIndexDefs(TIndexDefs& defs) const {
    if (!Active()) return;
    defs.Clear();
    for (const auto& h : held_)
        defs.Add(h.Def);
}

void TCustomClientDataSet::ApplyIndex(int held) {
    if (held < 0) {
        indexed_ = false;
        keys_.clear();
        order_.clear();
        order_.shrink_to_fit();
        return;
    }
    keys_ = held_[static_cast<std::size_t>(held)].Parts;
    order_ = SortedByKeys(natural_, keys_);
    indexed_ = true;
}

std::vector<TCustomClientDataSet::TRow*>
TCustomClientDataSet::SortedByKeys(const std::vector<TRow*>& rows,
                                   const std::vector<TKeyPart>& keys) {
    // Every row's keys are written one after the other into one buffer
    // first, as the order keys of their units: the row's number, then per
    // key its length (kNull for null) and its units. A comparison then reads
    // two short stretches of that buffer instead of reaching into rows all
    // over the heap, and compares plain numbers. `rows` is in the order of
    // appending, so the keys and then the row's number give the order
    // Compare defines. The buffer is sized first and filled once: growing it
    // as it fills cost more than the sort, in copies and fresh pages.
    std::size_t total = rows.size();
    for (const TRow* row : rows)
        for (const TKeyPart& k : keys)
            total += 1 + row->Text(k.Field).size();
    // Places and lengths are 32-bit, and no length may read as kNull.
    if (total >= kNull) throw DataSetError(L"Too much key text to sort");
    std::vector<std::uint32_t>& packed = sortKeys_;
    std::vector<std::uint32_t>& starts = sortStarts_;
    packed.resize(total);
    starts.resize(rows.size());
    std::uint32_t* out = packed.data();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        starts[i] = static_cast<std::uint32_t>(out - packed.data());
        *out++ = static_cast<std::uint32_t>(i);
        for (const TKeyPart& k : keys) {
            if (rows[i]->IsNull(k.Field)) {
                *out++ = kNull;
                continue;
            }
            const std::wstring_view v = rows[i]->Text(k.Field);
            *out++ = static_cast<std::uint32_t>(v.size());
            for (const wchar_t c : v) {
                // Below the surrogates a unit is its own key when case counts.
                const auto u = static_cast<std::uint32_t>(c);
                *out++ = u < 0xD800 && !k.CaseInsensitive ? u : OrdinalKey(c, k.CaseInsensitive);
            }
        }
    }
    const std::uint32_t* const base = packed.data();
    std::sort(starts.begin(), starts.end(), [&](std::uint32_t a, std::uint32_t b) {
        const std::uint32_t* x = base + a + 1;
        const std::uint32_t* y = base + b + 1;
        for (const TKeyPart& k : keys) {
            const std::uint32_t lx = *x++;
            const std::uint32_t ly = *y++;
            int c = 0;
            if (lx == kNull || ly == kNull) {
                c = (lx != kNull ? 1 : 0) - (ly != kNull ? 1 : 0);
            } else {
                const std::uint32_t n = lx < ly ? lx : ly;
                const auto [p, q] = std::mismatch(x, x + n, y);
                if (p != x + n)
                    c = *p < *q ? -1 : 1;
                else if (lx != ly)
                    c = lx < ly ? -1 : 1;
                x += lx;
                y += ly;
            }
            if (c != 0) return (k.Descending ? -c : c) < 0;
        }
        return base[a] < base[b]; // equal keys: the order of appending
    });
    std::vector<TRow*> sorted(rows.size());
    for (std::size_t i = 0; i < starts.size(); ++i)
        sorted[i] = rows[base[starts[i]]];
    return sorted;
}

void TCustomClientDataSet::Reorder(int held) {
    const TBookmark keep = GetBookmark();
    ApplyIndex(held);
    ContentsChanged(keep != 0 ? InternalLocate(keep) : -1);
}

int TCustomClientDataSet::Compare(const TRow& a, const TRow& b) const {
    for (const TKeyPart& k : keys_) {
        const bool nullA = a.IsNull(k.Field);
        const bool nullB = b.IsNull(k.Field);
        int c = 0;
        if (nullA || nullB) {
            c = (nullA ? 0 : 1) - (nullB ? 0 : 1);
        } else {
            c = CompareOrdinal(a.Text(k.Field), b.Text(k.Field), k.CaseInsensitive);
        }
        if (c != 0) return k.Descending ? -c : c;
    }
    return a.Seq() < b.Seq() ? -1 : (a.Seq() > b.Seq() ? 1 : 0);
}

// Position in the current order where this row stands (or would).
int TCustomClientDataSet::OrderPos(const TRow& row) const {
    const auto& order = Order();
    const auto it = std::partition_point(order.begin(), order.end(),
                                         [&](const TRow* r) { return Compare(*r, row) < 0; });
    return static_cast<int>(it - order.begin());
}

int TCustomClientDataSet::NaturalPos(std::uint64_t seq) const {
    const auto it = std::partition_point(natural_.begin(), natural_.end(),
                                         [&](const TRow* r) { return r->Seq() < seq; });
    return static_cast<int>(it - natural_.begin());
}

void TCustomClientDataSet::Renumber() {
    std::uint64_t seq = 0;
    for (TRow* r : natural_)
        r->SetSeq(seq += kSeqGap);
}

// --- Storage ---

void TCustomClientDataSet::InternalOpen() {
    held_.clear();
    try {
        for (int i = 0; i < indexDefs_.Count(); ++i) {
            if (FindHeld(indexDefs_.Items(i).Name) < 0)
                held_.push_back(BuildIndex(indexDefs_.Items(i)));
        }
        int h = -1;
        if (!indexName_.empty()) {
            h = FindHeld(indexName_);
            if (h < 0) throw DataSetError(IndexNotFound(indexName_));
        }
        ApplyIndex(h);
    } catch (...) {
        held_.clear();
        ApplyIndex(-1);
        throw;
    }
}

void TCustomClientDataSet::InternalClose() {
    held_.clear();
    ApplyIndex(-1);
}

TRecordView TCustomClientDataSet::InternalRecord(int pos) const {
    const auto& order = Order();
    const auto at = static_cast<std::size_t>(pos);
    // Rows read one after the other in an index's order lie all over the
    // heap. So each is asked for early, once per row and in the direction
    // of the walk: its first line well ahead, the rest of its block (whose
    // size that line holds) nearer.
    if (pos != lastRead_) {
        const bool back = pos < lastRead_;
        lastRead_ = pos;
        const auto ahead = [&](std::size_t n) -> const TRow* {
            if (back) return at >= n ? order[at - n] : nullptr;
            return at + n < order.size() ? order[at + n] : nullptr;
        };
        if (const TRow* r = ahead(16)) {
            Prefetch(r);
            Prefetch(reinterpret_cast<const char*>(r) + 64);
        }
        if (const TRow* r = ahead(8)) {
            const char* block = reinterpret_cast<const char*>(r);
            for (std::size_t b = 128; b < r->Bytes(); b += 64)
                Prefetch(block + b);
        }
    }
    return TRecordView(*order[at]);
}

TDataSet::TBookmark TCustomClientDataSet::InternalBookmark(int pos) const {
    return Order()[static_cast<std::size_t>(pos)]->Id();
}

int TCustomClientDataSet::InternalLocate(TBookmark bookmark) const {
    const auto it = rows_.find(bookmark);
    if (it == rows_.end()) return -1;
    const int pos = OrderPos(*it->second);
    const auto& order = Order();
    return pos < static_cast<int>(order.size()) &&
                   order[static_cast<std::size_t>(pos)] == it->second.get()
               ? pos
               : -1;
}

int TCustomClientDataSet::InternalPostInsert(const TRecordValues& values, TBookmark before) {
    std::size_t natPos = natural_.size();
    std::uint64_t seq = 0;
    const auto beforeRow = rows_.find(before);
    if (before == 0 || beforeRow == rows_.end()) {
        if (!natural_.empty() &&
            natural_.back()->Seq() > std::numeric_limits<std::uint64_t>::max() - kSeqGap) {
            Renumber();
        }
        seq = (natural_.empty() ? 0 : natural_.back()->Seq()) + kSeqGap;
    } else {
        const TRow& next = *beforeRow->second;
        natPos = static_cast<std::size_t>(NaturalPos(next.Seq()));
        const auto prevSeq = [&] { return natPos > 0 ? natural_[natPos - 1]->Seq() : 0; };
        if (next.Seq() - prevSeq() < 2) Renumber();
        seq = prevSeq() + (next.Seq() - prevSeq()) / 2;
    }
    // Room first, so that a failed allocation leaves no half-inserted row.
    Reserve(natural_);
    if (indexed_) Reserve(order_);
    TRow::TPtr fresh = TRow::Create(nextId_, seq, values);

    TRow* row = fresh.get();
    rows_.emplace(row->Id(), std::move(fresh));
    ++nextId_;
    natural_.insert(natural_.begin() + static_cast<std::ptrdiff_t>(natPos), row);
    if (!indexed_) return static_cast<int>(natPos);
    const int pos = OrderPos(*row);
    order_.insert(order_.begin() + pos, row);
    return pos;
}

int TCustomClientDataSet::InternalPostEdit(int pos, const TRecordValues& values) {
    // The edited values go into a new block that takes the old one's place
    // everywhere; a failed allocation leaves the old one as it was.
    const TRow* old = Order()[static_cast<std::size_t>(pos)];
    TRow::TPtr fresh = TRow::Create(old->Id(), old->Seq(), values);
    TRow* row = fresh.get();
    natural_[static_cast<std::size_t>(NaturalPos(old->Seq()))] = row;
    if (indexed_) order_[static_cast<std::size_t>(pos)] = row;
    rows_.find(old->Id())->second = std::move(fresh); // frees the old block
    if (!indexed_) return pos;

    const auto at = order_.begin() + pos;
    const bool leftOk = pos == 0 || Compare(**(at - 1), *row) < 0;
    const bool rightOk = at + 1 == order_.end() || Compare(*row, **(at + 1)) < 0;
    if (leftOk && rightOk) return pos;
    // Rotate the row into place: only the rows between the two places shift.
    const auto before = [&](const TRow* r) { return Compare(*r, *row) < 0; };
    if (!leftOk) {
        const auto to = std::partition_point(order_.begin(), at, before);
        std::rotate(to, at, at + 1);
        return static_cast<int>(to - order_.begin());
    }
    const auto to = std::partition_point(at + 1, order_.end(), before);
    std::rotate(at, at + 1, to);
    return static_cast<int>(to - order_.begin()) - 1;
}

void TCustomClientDataSet::InternalDelete(int pos) {
    const TRow* row = Order()[static_cast<std::size_t>(pos)];
    natural_.erase(natural_.begin() + NaturalPos(row->Seq()));
    if (indexed_) order_.erase(order_.begin() + pos);
    rows_.erase(row->Id());
}

void TCustomClientDataSet::InternalEmpty() {
    rows_.clear();
    natural_.clear();
    order_.clear();
}

} // namespace data
