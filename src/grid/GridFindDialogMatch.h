// The find dialog's search, free of windows: how a cell's text matches the
// text searched for, and the walk over (row, column) cells in the chosen
// direction. The rows are reached through a small interface so that the walk
// runs on the result table as well as on a test's rows.
#pragma once

#include "data/DataSet.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace grid {

// In the order of the dialog's lists: the lists are used by position.
enum class TFindMatchType { fmtPart, fmtWhole, fmtStart };
enum class TFindDirection { fdUp, fdDown, fdAll };

// Ctrl held at the search reverses it: up becomes down, down and all become up.
TFindDirection ReversedFindDirection(TFindDirection direction);

// Exact (code unit for code unit) comparison by match type. An empty text
// never matches as part, matches an empty cell as whole and every cell as start.
bool FindTextMatches(std::wstring_view cell, std::wstring_view text, TFindMatchType type);

// Upper-cases a text in place (so its length stays) by the system's rules;
// the dialog passes the platform's.
using TFindUpperCase = std::function<void(std::wstring& text)>;

// The rows the walk moves over; the current row is the cursor.
class TFindRows {
public:
    virtual ~TFindRows() = default;
    virtual void First() = 0;
    virtual void Next() = 0;
    virtual void Prior() = 0;
    virtual bool Eof() const = 0;
    virtual bool Bof() const = 0;
    // The current row's cells, one per search column, read in place where
    // the rows hold them; valid until the cursor moves.
    virtual void ReadRow(std::vector<std::wstring_view>& cells) const = 0;
    // One cell of the current row; "" outside the search columns.
    std::wstring CellText(int column) const;
};

// A dataset's rows; each search column is a field or nullptr (a column
// without a field reads as the empty text). `displayText` chooses the field's
// displayed text over its value as text.
class TDataSetFindRows : public TFindRows {
public:
    TDataSetFindRows(data::TDataSet& dataSet, std::vector<data::TField*> fields, bool displayText)
        : dataSet_(dataSet), fields_(std::move(fields)), displayText_(displayText) {}
    void First() override { dataSet_.First(); }
    void Next() override { dataSet_.Next(); }
    void Prior() override { dataSet_.Prior(); }
    bool Eof() const override { return dataSet_.Eof(); }
    bool Bof() const override { return dataSet_.Bof(); }
    void ReadRow(std::vector<std::wstring_view>& cells) const override;

private:
    data::TDataSet& dataSet_;
    std::vector<data::TField*> fields_;
    bool displayText_;
};

struct TFindOptions {
    std::wstring Text;
    TFindMatchType MatchType = TFindMatchType::fmtPart;
    TFindDirection Direction = TFindDirection::fdAll; // after any reversal
    bool CaseSensitive = false;
    TFindUpperCase UpperCase; // used when not case-sensitive; required then
};

// The search state the dialog keeps between searches.
class TFindWalk {
public:
    int ColumnCount() const { return columnCount_; }
    int Position() const { return position_; }
    bool FirstTry() const { return firstTry_; }

    // A new column list: the text, direction or column choice changed.
    void SetColumnCount(int count, TFindDirection direction);
    // The text or the direction changed: start over at the row's first
    // column (its last one going up).
    void Restart(TFindDirection direction);

    // One search from the current cell. Returns the matching column's
    // position (the cursor stands on its row), or -1 when the walk reached
    // the end of the table in its direction.
    int Search(TFindRows& rows, const TFindOptions& options);

private:
    void Advance(TFindRows& rows, bool down);

    int columnCount_ = 0;
    int position_ = -1;
    bool firstTry_ = true;
};

} // namespace grid
