// The find dialog's walk over rows of plain texts, free of windows: the
// case rules against upper-casing whole cells. Natively under the sanitizers
// too, with the C library's upper-casing standing in for the system's.
#include "grid/GridFindDialogMatch.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cwctype>
#endif

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using grid::TFindDirection;
using grid::TFindMatchType;

namespace {

// Unit for unit, as the dialog's upper-casing does.
void UpperCase(std::wstring& text) {
#ifdef _WIN32
    if (!text.empty()) CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
#else
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towupper(static_cast<std::wint_t>(c)));
#endif
}

// Rows held in a list, one search column each: the walk over plain texts.
class ListRows : public grid::TFindRows {
public:
    explicit ListRows(std::vector<std::wstring> cells) : cells_(std::move(cells)) {}
    void First() override { at_ = 0; }
    void Next() override { at_ = std::min(at_ + 1, static_cast<int>(cells_.size())); }
    void Prior() override { at_ = std::max(at_ - 1, -1); }
    bool Eof() const override { return at_ >= static_cast<int>(cells_.size()); }
    bool Bof() const override { return at_ < 0; }
    void ReadRow(std::vector<std::wstring_view>& cells) const override {
        cells.assign(1, cells_[static_cast<std::size_t>(at_)]);
    }
    int At() const { return at_; }

private:
    std::vector<std::wstring> cells_;
    int at_ = 0;
};

} // namespace

// Cells of every length up to a few words of units, made of the letters'
// neighbours in ASCII ('@' '[' '`' '{' around A-Z and a-z) and now and then
// a unit beyond ASCII, one that upper-cases into ASCII among them: without
// case, the rows found are those the upper-casing of whole cells finds, for
// every match type.
TEST(FindWalk, CaseFoldingAgreesWithUpperCasingWholeCellsForEveryLength) {
    std::mt19937 rng(5);
    const std::wstring ascii = L"aAzZ@[`{0~";
    const std::wstring beyond = L"\u00e9\u0131\u4e2d";
    const auto make = [&](std::size_t length) {
        std::wstring s;
        for (std::size_t i = 0; i < length; ++i)
            s += rng() % 12 == 0 ? beyond[rng() % beyond.size()] : ascii[rng() % ascii.size()];
        return s;
    };
    std::vector<std::wstring> cells;
    for (std::size_t length = 0; length <= 13; ++length)
        for (int k = 0; k < 40; ++k)
            cells.push_back(make(length));
    ListRows rows(cells);
    for (int round = 0; round < 90; ++round) {
        grid::TFindOptions o;
        o.Text = make(1 + rng() % 4);
        o.MatchType = static_cast<TFindMatchType>(round % 3);
        o.UpperCase = UpperCase;
        std::wstring wanted = o.Text;
        UpperCase(wanted);
        std::vector<int> expected;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            std::wstring cell = cells[i];
            UpperCase(cell);
            if (grid::FindTextMatches(cell, wanted, o.MatchType))
                expected.push_back(static_cast<int>(i));
        }
        grid::TFindWalk walk;
        walk.SetColumnCount(1, TFindDirection::fdAll);
        std::vector<int> found;
        while (walk.Search(rows, o) == 0)
            found.push_back(rows.At());
        ASSERT_EQ(found, expected) << "round " << round;
    }
}
