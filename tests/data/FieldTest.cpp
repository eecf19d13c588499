#include "ResultTable.h"

#include "data/TextUtil.h"

#include <gtest/gtest.h>

#include <optional>

using namespace data;
using datatest::AppendRow;
using datatest::MakeResultTable;

TEST(Field, DefinitionsBecomeWideStringFieldsInOrder) {
    auto t = MakeResultTable();
    ASSERT_EQ(t->FieldCount(), 6);
    EXPECT_EQ(t->Fields(0)->FieldName(), L"fwq");
    EXPECT_EQ(t->Fields(5)->FieldName(), L"bz");
    EXPECT_EQ(t->Fields(5)->Size(), 400);
    EXPECT_EQ(t->Fields(5)->Index(), 5);
    EXPECT_EQ(t->Fields(2)->ClassName(), L"TWideStringField");
    EXPECT_EQ(t->Fields(2)->DataType(), TFieldType::ftWideString);
}

TEST(Field, LookupIgnoresCaseAndReportsMissingFields) {
    auto t = MakeResultTable();
    EXPECT_EQ(t->FieldByName(L"DKH"), t->Fields(4));
    EXPECT_EQ(t->FindField(L"nope"), nullptr);
    try {
        t->FieldByName(L"nope");
        FAIL() << "no exception";
    } catch (const DataSetError& e) {
        EXPECT_EQ(e.Message(), L"Field 'nope' not found");
        EXPECT_STREQ(e.what(), "Field 'nope' not found");
    }
}

TEST(Field, FieldDefsRejectDuplicatesAndBadSizes) {
    TFieldDefs defs;
    defs.Add(L"fwq", 100);
    EXPECT_THROW(defs.Add(L"FWQ", 10), DataSetError);
    EXPECT_THROW(defs.Add(L"x", 0), DataSetError);
    EXPECT_THROW(defs.Add(L"", 5), DataSetError);
    EXPECT_EQ(defs.Count(), 1);
    EXPECT_EQ(defs.IndexOf(L"Fwq"), 0);
}

TEST(Field, UnassignedDisplayPropertiesReadThroughToTheField) {
    auto t = MakeResultTable();
    TField* f = t->FieldByName(L"dkh");
    EXPECT_EQ(f->DisplayLabel(), L"dkh");
    EXPECT_EQ(f->DisplayWidth(), 100);
    f->SetDisplayLabel(L"端口号");
    EXPECT_EQ(f->DisplayLabel(), L"端口号");
}

TEST(Field, NeverWrittenFieldsAreNullAndReadEmpty) {
    auto t = MakeResultTable();
    TField* bz = t->FieldByName(L"bz");
    EXPECT_TRUE(bz->IsNull()); // empty table: no current record
    EXPECT_EQ(bz->AsString(), L"");
    t->Append();
    EXPECT_TRUE(bz->IsNull());
    EXPECT_EQ(bz->AsString(), L"");
    t->FieldByName(L"fwq")->SetAsString(L"PC1");
    t->Post();
    EXPECT_TRUE(bz->IsNull());
    EXPECT_FALSE(t->FieldByName(L"fwq")->IsNull());
    EXPECT_EQ(t->FieldByName(L"fwq")->DisplayText(), L"PC1");
}

// Every kind of value comes back unit for unit, null apart from "", after it
// is posted, after the rows are reordered by an index, and after an edit of
// another field of its row lengthens that row.
TEST(Field, StoredValuesComeBackExactlyThroughPostsReordersAndEdits) {
    const std::optional<std::wstring> values[] = {
        std::nullopt,
        L"",
        L"a",
        std::wstring(400, L'x'),        // the field's whole size
        std::wstring(L"a\0b", 3),       // an embedded NUL
        L"\u4e2d\u6587 \U0001F600 end", // beyond the first plane
    };
    auto t = MakeResultTable();
    std::vector<TDataSet::TBookmark> marks;
    for (std::size_t i = 0; i < std::size(values); ++i) {
        t->Append();
        t->FieldByName(L"fwq")->SetAsString(L"row" + std::to_wstring(i));
        if (values[i]) t->FieldByName(L"bz")->SetAsString(*values[i]);
        t->Post();
        marks.push_back(t->GetBookmark());
    }
    const auto check = [&](const char* when) {
        for (std::size_t i = 0; i < std::size(values); ++i) {
            t->GotoBookmark(marks[i]);
            const TField* bz = t->FieldByName(L"bz");
            EXPECT_EQ(bz->IsNull(), !values[i]) << when << ", row " << i;
            EXPECT_EQ(bz->AsString(), values[i].value_or(L"")) << when << ", row " << i;
            EXPECT_EQ(t->FieldTextAt(t->RecNo(), bz->Index()), values[i].value_or(L""))
                << when << ", row " << i;
            EXPECT_EQ(t->FieldByName(L"fwq")->AsString(), L"row" + std::to_wstring(i));
        }
    };
    check("posted");
    t->AddIndex(L"ByName", L"fwq", {}, L"fwq");
    t->SetIndexName(L"ByName");
    t->IndexDefs().Update(); // so that the index outlasts Close and Open
    EXPECT_EQ(t->FieldTextAt(1, 0), L"row5");
    check("reordered");
    for (std::size_t i = 0; i < std::size(values); ++i) {
        t->GotoBookmark(marks[i]);
        t->Edit();
        t->FieldByName(L"dkh")->SetAsString(std::wstring(100, L'9'));
        t->Post();
    }
    check("edited");
    t->Close();
    t->Open();
    check("reopened");
}

TEST(Field, RemarksAppendWithTheirTrailingBlanks) {
    auto t = MakeResultTable();
    AppendRow(*t, L"PC1");
    TField* bz = t->FieldByName(L"bz");
    for (const std::wstring remark : {L"查询端口号不成功 ", L"连接不成功 "}) {
        t->Edit();
        bz->SetAsString(bz->AsString() + remark);
        t->Post();
    }
    EXPECT_EQ(bz->AsString(), L"查询端口号不成功 连接不成功 ");
}

TEST(Field, OverlongValuesAreCutToTheFieldSizeSilently) {
    auto t = MakeResultTable();
    const std::wstring banner(150, L'M');
    t->Append();
    EXPECT_NO_THROW(t->FieldByName(L"sjkglxt")->SetAsString(banner));
    t->Post();
    EXPECT_EQ(t->FieldByName(L"sjkglxt")->AsString(), banner.substr(0, 100));
    EXPECT_EQ(t->FieldTextAt(1, 1).size(), 100u);
}

TEST(Field, WritingOutsideEditOrInsertThrows) {
    auto t = MakeResultTable();
    EXPECT_THROW(t->FieldByName(L"fwq")->SetAsString(L"x"), DataSetError); // empty, browse
    AppendRow(*t, L"PC1");
    EXPECT_THROW(t->FieldByName(L"fwq")->SetAsString(L"x"), DataSetError);
    EXPECT_THROW(t->FieldByName(L"fwq")->Clear(), DataSetError);
    t->Close();
    EXPECT_THROW(t->FieldByName(L"fwq")->SetAsString(L"x"), DataSetError);
    t->Open();
    EXPECT_EQ(t->FieldByName(L"fwq")->AsString(), L"PC1");
}

TEST(Field, ClearMakesTheValueNullAgain) {
    auto t = MakeResultTable();
    AppendRow(*t, L"PC1", L"1433");
    t->Edit();
    t->FieldByName(L"dkh")->Clear();
    t->Post();
    EXPECT_TRUE(t->FieldByName(L"dkh")->IsNull());
}

TEST(TextUtil, TruncationCountsUtf16UnitsAndKeepsSurrogatePairsWhole) {
    const std::wstring clef = sizeof(wchar_t) == 2 ? std::wstring(L"\xD834\xDD1E")
                                                   : std::wstring(1, static_cast<wchar_t>(0x1D11E));
    const std::wstring text = L"ab" + clef + L"c";
    EXPECT_EQ(Utf16Length(text), 5);
    EXPECT_EQ(TruncateToUtf16(text, 3), L"ab"); // would split the pair
    EXPECT_EQ(TruncateToUtf16(text, 4), L"ab" + clef);
    EXPECT_EQ(TruncateToUtf16(text, 99), text);
    EXPECT_EQ(TruncateToUtf16(text, 0), L"");
    EXPECT_EQ(ToUtf8(L"A" + clef), "A\xF0\x9D\x84\x9E");
}

TEST(TextUtil, OrdinalComparisonFollowsCodePointsOnEveryPlatform) {
    const std::wstring clef = sizeof(wchar_t) == 2 ? std::wstring(L"\xD834\xDD1E")
                                                   : std::wstring(1, static_cast<wchar_t>(0x1D11E));
    // U+FFFD is below U+1D11E even though its UTF-16 unit is above the surrogates.
    EXPECT_LT(CompareOrdinal(L"\xFFFD", clef, false), 0);
    EXPECT_LT(CompareOrdinal(L"B", L"a", false), 0);
    EXPECT_GT(CompareOrdinal(L"b", L"A", true), 0);
    EXPECT_EQ(CompareOrdinal(L"sqlexpress", L"SQLEXPRESS", true), 0);
    EXPECT_EQ(CompareOrdinal(L"\xE9", L"\xC9", true), 0); // é É
    EXPECT_LT(CompareOrdinal(L"ab", L"abc", false), 0);
}
