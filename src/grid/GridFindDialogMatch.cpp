#include "grid/GridFindDialogMatch.h"

#include <algorithm>

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

std::wstring TDataSetFindRows::CellText(int column) const {
    if (column < 0 || column >= static_cast<int>(fields_.size())) return {};
    const data::TField* field = fields_[static_cast<std::size_t>(column)];
    if (!field) return {};
    return displayText_ ? field->DisplayText() : field->AsString();
}

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
    const std::wstring text = folded ? options.UpperCase(options.Text) : options.Text;

    if (options.Direction == TFindDirection::fdAll && firstTry_) rows.First();
    if (!firstTry_) Advance(rows, down);
    while (!(down ? rows.Eof() : rows.Bof())) {
        std::wstring cell = rows.CellText(position_);
        if (folded) cell = options.UpperCase(cell);
        if (FindTextMatches(cell, text, options.MatchType)) {
            firstTry_ = false;
            return position_;
        }
        Advance(rows, down);
    }
    return -1;
}

} // namespace grid
