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

void TDataSetFindRows::ReadCellText(int column, std::wstring& out) const {
    const std::wstring_view text = CellView(column, out);
    if (text.data() != out.data() || text.size() != out.size()) out.assign(text);
}

std::wstring_view TDataSetFindRows::CellView(int column, std::wstring& scratch) const {
    const data::TField* field = column >= 0 && column < static_cast<int>(fields_.size())
                                    ? fields_[static_cast<std::size_t>(column)]
                                    : nullptr;
    if (!field) return {};
    return displayText_ ? field->DisplayTextView(scratch) : field->ValueView();
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
    // The cell upper-cased into `upper`; ASCII on the way, in one pass, where
    // the system's rule agrees for it.
    std::wstring upper;
    const auto upperCase = [&](std::wstring_view cell) -> std::wstring_view {
        upper.resize(cell.size());
        std::size_t i = 0;
        if (asciiHere) {
            for (; i < cell.size() && static_cast<std::uint32_t>(cell[i]) < 0x80; ++i)
                upper[i] = IsAsciiLower(cell[i]) ? static_cast<wchar_t>(cell[i] - 0x20) : cell[i];
            if (i == cell.size()) return upper;
        }
        upper.assign(cell);
        options.UpperCase(upper);
        return upper;
    };

    if (options.Direction == TFindDirection::fdAll && firstTry_) rows.First();
    if (!firstTry_) Advance(rows, down);
    std::wstring scratch;
    while (!(down ? rows.Eof() : rows.Bof())) {
        const std::wstring_view cell = rows.CellView(position_, scratch);
        // Upper-casing keeps the length, and no match type takes a cell
        // shorter than the text.
        if (cell.size() >= text.size() &&
            FindTextMatches(folded ? upperCase(cell) : cell, text, options.MatchType)) {
            firstTry_ = false;
            return position_;
        }
        Advance(rows, down);
    }
    return -1;
}

} // namespace grid
