#include "grid/GridFindDialogMatch.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <cstdint>

namespace grid {

TFindDirection ReversedFindDirection(TFindDirection direction) {
    return direction == TFindDirection::fdUp ? TFindDirection::fdDown : TFindDirection::fdUp;
}

bool FindTextMatches(std::wstring_view cell, std::wstring_view text, TFindMatchType type) {
    switch (type) {
    case TFindMatchType::fmtPart:
        return !text.empty() && cell.find(text) != std::wstring_view::npos;
    case TFindMatchType::fmtWhole:
        return cell == text;
    case TFindMatchType::fmtStart:
        return cell.substr(0, text.size()) == text;
    }
    return false;
}

std::wstring TFindRows::CellText(int column) const {
    std::vector<std::wstring_view> cells;
    ReadRow(cells);
    if (column < 0 || column >= static_cast<int>(cells.size())) return {};
    return std::wstring(cells[static_cast<std::size_t>(column)]);
}

void TDataSetFindRows::ReadRow(std::vector<std::wstring_view>& cells) const {
    // The row is reached once; each cell is then read from it in place.
    const data::TRecordView record = dataSet_.CurrentRecord();
    cells.resize(fields_.size());
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        const data::TField* field = fields_[i];
        if (!field)
            cells[i] = {};
        else if (&field->DataSet() != &dataSet_) // a field of another table: its current record
            cells[i] = field->ValueView();
        else
            cells[i] = displayText_ ? field->DisplayTextOf(record) : record.Text(field->Index());
    }
}

namespace {

bool IsAsciiLower(wchar_t c) {
    return c >= L'a' && c <= L'z';
}

// Whether the given upper-casing treats the ASCII range as plain ASCII
// does: letters a to z become A to Z, nothing else changes. Then text made
// of ASCII alone can be upper-cased here, without the call.
bool UpperCasesAsciiPlainly(const TFindUpperCase& upper) {
    std::wstring ascii;
    for (wchar_t c = 1; c < 0x80; ++c)
        ascii.push_back(c);
    std::wstring probe = ascii;
    upper(probe);
    for (auto& c : ascii)
        if (IsAsciiLower(c)) c = static_cast<wchar_t>(c - 0x20);
    return probe == ascii;
}

bool IsAscii(std::wstring_view text) {
    std::uint32_t any = 0;
    for (const wchar_t c : text)
        any |= static_cast<std::uint32_t>(c);
    return any < 0x80;
}

wchar_t UpperAscii(wchar_t c) {
    return IsAsciiLower(c) ? static_cast<wchar_t>(c - 0x20) : c;
}

// Whether `cell` upper-cased is `text` over text's length.
bool SameFoldedAt(const wchar_t* cell, std::wstring_view text) {
    for (std::size_t j = 0; j < text.size(); ++j)
        if (UpperAscii(cell[j]) != text[j]) return false;
    return true;
}

// A word of units: a cell is looked at four UTF-16 units (two UTF-32 ones)
// at a time, each unit a lane of the word, so that a short cell costs a
// fixed number of steps instead of a loop that stops at a different place
// for every cell.
constexpr std::size_t kLanes = sizeof(std::uint64_t) / sizeof(wchar_t);
constexpr unsigned kLaneBits = 8 * sizeof(wchar_t);

constexpr std::uint64_t InEveryLane(std::uint64_t value) {
    std::uint64_t word = 0;
    for (std::size_t i = 0; i < kLanes; ++i)
        word |= value << (i * kLaneBits);
    return word;
}

constexpr std::uint64_t kLaneHigh = InEveryLane(0x80);
constexpr std::uint64_t kBeyondAscii = InEveryLane(((std::uint64_t{1} << kLaneBits) - 1) & ~0x7Fu);

std::uint64_t LoadUnits(const wchar_t* at) {
    std::uint64_t word;
    std::memcpy(&word, at, sizeof word);
    return word;
}

// Bit 7 of every lane of `units` (ASCII alone) whose unit upper-cased is
// `c` (ASCII). No lane carries into the next: every sum stays below 0x100.
std::uint64_t LanesFoldingTo(std::uint64_t units, wchar_t c) {
    const std::uint64_t lower =
        (units + InEveryLane(0x80 - L'a')) & ~(units + InEveryLane(0x80 - L'z' - 1)) & kLaneHigh;
    const std::uint64_t differ =
        (units - (lower >> 2)) ^ InEveryLane(static_cast<std::uint64_t>(c));
    return ~(differ + InEveryLane(0x7F)) & kLaneHigh;
}

enum class TAsciiMatch { amNo, amYes, amNotAscii };

// FindTextMatches(upper-cased cell, text, fmtPart) for an upper-cased text
// of ASCII units and a cell of at least kLanes units, a word at a time: the
// places where the text's first unit stands are found for a whole word at
// once, and only those are compared further.
TAsciiMatch AsciiFoldedFind(std::wstring_view cell, std::wstring_view text) {
    const std::size_t n = cell.size();
    std::uint64_t any = 0;
    for (std::size_t at = 0; at < n; at += kLanes)
        any |= LoadUnits(cell.data() + std::min(at, n - kLanes));
    if (any & kBeyondAscii) return TAsciiMatch::amNotAscii;
    const std::size_t lastStart = n - text.size();
    for (std::size_t at = 0; at < n; at += kLanes) {
        const std::size_t word = std::min(at, n - kLanes); // the last word ends with the cell
        for (std::uint64_t hits = LanesFoldingTo(LoadUnits(cell.data() + word), text[0]); hits;
             hits &= hits - 1) {
            const std::size_t i =
                word + static_cast<std::size_t>(std::countr_zero(hits)) / kLaneBits;
            if (i <= lastStart && SameFoldedAt(cell.data() + i, text)) return TAsciiMatch::amYes;
        }
    }
    return TAsciiMatch::amNo;
}

// FindTextMatches(upper-cased cell, text, type) for an upper-cased,
// non-empty text, folding the cell's units on the way instead of
// upper-casing a copy of it. Only a cell of ASCII units, where the system's
// rule agrees, is answered here.
TAsciiMatch AsciiFoldedMatches(std::wstring_view cell, std::wstring_view text, TFindMatchType type,
                               bool textIsAscii) {
    if (type == TFindMatchType::fmtPart && textIsAscii && cell.size() >= kLanes)
        return AsciiFoldedFind(cell, text);
    if (!IsAscii(cell)) return TAsciiMatch::amNotAscii;
    bool found = false;
    switch (type) {
    case TFindMatchType::fmtPart:
        for (std::size_t i = 0; !found && i + text.size() <= cell.size(); ++i)
            found = UpperAscii(cell[i]) == text[0] && SameFoldedAt(cell.data() + i, text);
        break;
    case TFindMatchType::fmtWhole:
        found = cell.size() == text.size() && SameFoldedAt(cell.data(), text);
        break;
    case TFindMatchType::fmtStart:
        found = cell.size() >= text.size() && SameFoldedAt(cell.data(), text);
        break;
    }
    return found ? TAsciiMatch::amYes : TAsciiMatch::amNo;
}

} // namespace

void TFindWalk::SetColumnCount(int count, TFindDirection direction) {
    columnCount_ = std::max(0, count);
    Restart(direction);
}

void TFindWalk::Restart(TFindDirection direction) {
    firstTry_ = true;
    position_ = direction == TFindDirection::fdUp ? columnCount_ - 1 : 0;
}

void TFindWalk::Advance(TFindRows& rows, bool down) {
    if (down) {
        if (position_ < columnCount_ - 1) {
            ++position_;
        } else {
            rows.Next();
            position_ = 0;
        }
    } else {
        if (position_ > 0) {
            --position_;
        } else {
            rows.Prior();
            position_ = columnCount_ - 1;
        }
    }
}

int TFindWalk::Search(TFindRows& rows, const TFindOptions& options) {
    if (columnCount_ == 0) return -1;
    // A position left over from another column list would read past it.
    position_ = std::clamp(position_, 0, columnCount_ - 1);
    const bool down = options.Direction != TFindDirection::fdUp;
    const bool folded = !options.CaseSensitive && options.UpperCase;
    std::wstring text = options.Text;
    if (folded) options.UpperCase(text);
    const bool asciiHere = folded && UpperCasesAsciiPlainly(options.UpperCase);
    const bool textIsAscii = IsAscii(text);
    // Without case, a cell is upper-cased by the system's rule before it is
    // matched; a cell of ASCII alone is folded on the way where that rule
    // agrees for ASCII, with no copy and no call.
    std::wstring upper;
    const auto matches = [&](std::wstring_view cell) {
        if (!folded || text.empty()) return FindTextMatches(cell, text, options.MatchType);
        if (asciiHere) {
            const TAsciiMatch ascii =
                AsciiFoldedMatches(cell, text, options.MatchType, textIsAscii);
            if (ascii != TAsciiMatch::amNotAscii) return ascii == TAsciiMatch::amYes;
        }
        upper.assign(cell);
        options.UpperCase(upper);
        return FindTextMatches(upper, text, options.MatchType);
    };

    if (options.Direction == TFindDirection::fdAll && firstTry_) rows.First();
    if (!firstTry_) Advance(rows, down);
    std::vector<std::wstring_view> cells;
    const int lastInRow = down ? columnCount_ - 1 : 0;
    while (!(down ? rows.Eof() : rows.Bof())) {
        rows.ReadRow(cells);
        for (;;) {
            const std::wstring_view cell = position_ < static_cast<int>(cells.size())
                                               ? cells[static_cast<std::size_t>(position_)]
                                               : std::wstring_view();
            // Upper-casing keeps the length, and no match type takes a cell
            // shorter than the text.
            if (cell.size() >= text.size() && matches(cell)) {
                firstTry_ = false;
                return position_;
            }
            if (position_ == lastInRow) break;
            position_ += down ? 1 : -1;
        }
        Advance(rows, down);
    }
    return -1;
}

} // namespace grid
