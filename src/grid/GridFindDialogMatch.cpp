#include "grid/GridFindDialogMatch.h"

#include <algorithm>
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

// FindTextMatches(upper-cased cell, text, type) for a cell of ASCII units
// and an upper-cased, non-empty text, folding the cell's units on the way
// instead of upper-casing a copy of it.
bool AsciiFoldedMatches(std::wstring_view cell, std::wstring_view text, TFindMatchType type) {
    switch (type) {
    case TFindMatchType::fmtPart:
        for (std::size_t i = 0; i + text.size() <= cell.size(); ++i)
            if (UpperAscii(cell[i]) == text[0] && SameFoldedAt(cell.data() + i, text)) return true;
        return false;
    case TFindMatchType::fmtWhole:
        return cell.size() == text.size() && SameFoldedAt(cell.data(), text);
    case TFindMatchType::fmtStart:
        return cell.size() >= text.size() && SameFoldedAt(cell.data(), text);
    }
    return false;
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
    // Without case, a cell is upper-cased by the system's rule before it is
    // matched; a cell of ASCII alone is folded on the way where that rule
    // agrees for ASCII, with no copy and no call.
    std::wstring upper;
    const auto matches = [&](std::wstring_view cell) {
        if (!folded || text.empty()) return FindTextMatches(cell, text, options.MatchType);
        if (asciiHere && IsAscii(cell)) return AsciiFoldedMatches(cell, text, options.MatchType);
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
