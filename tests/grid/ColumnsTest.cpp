#include "GridFixture.h"

namespace {

using GridColumns = GridFixture;

TEST_F(GridColumns, UnassignedFontsAndColoursReadThroughAfterAGridChange) {
    grid::TDataGridColumn& fwq = grid->Columns()[0];
    grid::TDataGridColumn& bz = grid->Columns()[5];
    const ui::TFont own(L"Arial", 10, ui::clBlack);
    bz.SetFont(own);

    const ui::TFont font(L"Tahoma", 12, ui::clWindowText);
    const ui::TFont titleFont(L"Tahoma", 9, ui::clBlue);
    grid->SetFont(font);
    grid->SetTitleFont(titleFont);
    grid->SetFixedColor(ui::clSilver);
    grid->SetColor(ui::clSkyBlue);
    EXPECT_EQ(fwq.Font(), font);
    EXPECT_EQ(fwq.Title().Font(), titleFont);
    EXPECT_EQ(fwq.Title().Color(), ui::clSilver);
    EXPECT_EQ(fwq.Color(), ui::clSkyBlue);
    EXPECT_EQ(bz.Font(), own); // assigned: stays
    EXPECT_EQ(bz.Title().Font(), titleFont);
    // The layout follows the new fonts.
    EXPECT_EQ(grid->DefaultRowHeight(), TextHeight(font) + 2);
    EXPECT_EQ(grid->RowHeights(0), TextHeight(titleFont) + 2);
}

TEST_F(GridColumns, TitleCaptionsAndAlignmentsComeFromTheFields) {
    EXPECT_EQ(grid->Columns()[0].Title().Caption(), L"服务器(实例名)");
    EXPECT_EQ(grid->Columns()[4].Title().Caption(), L"端口号");
    EXPECT_EQ(grid->Columns()[0].Alignment(), grid::TAlignment::taLeftJustify);
    table.FieldByName(L"dkh")->SetAlignment(grid::TAlignment::taRightJustify);
    EXPECT_EQ(grid->Columns()[4].Alignment(), grid::TAlignment::taRightJustify);
    EXPECT_TRUE(grid->Columns()[2].ReadOnly());
    EXPECT_TRUE(grid->Columns()[2].Title().TitleButton);
}

TEST_F(GridColumns, MissingFieldShowsItsNameAndDefaultWidths) {
    grid::TDataGridColumn& ghost = grid->Columns().Add();
    ghost.SetFieldName(L"nosuchfield");
    EXPECT_EQ(ghost.Field(), nullptr);
    EXPECT_EQ(ghost.Title().Caption(), L"nosuchfield");
    EXPECT_EQ(ghost.Width(), 64);
    EXPECT_EQ(grid->ColCount(), 8);

    grid::TDataGridColumn& port = grid->Columns().Add();
    port.SetFieldName(L"DKH"); // binding stores the field's own spelling
    table.Close();
    table.Open();
    EXPECT_EQ(port.FieldName(), L"dkh");
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, grid->Font().Handle());
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SIZE digit{};
    GetTextExtentPoint32W(dc, L"0", 1, &digit);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(port.Width(), (digit.cx - tm.tmOverhang) * 100 + tm.tmOverhang + 4);
}

TEST_F(GridColumns, FooterDefinitionsFallBackToTheDefaultOne) {
    const grid::TDataGridColumn& fwq = grid->Columns()[0];
    EXPECT_EQ(fwq.FooterFor(0).ValueType(), grid::TFooterValueType::fvtStaticText);
    EXPECT_EQ(fwq.FooterFor(1).ValueType(), grid::TFooterValueType::fvtCount);
    EXPECT_EQ(&fwq.FooterFor(2), &fwq.Footer());
    EXPECT_EQ(fwq.FooterFor(1).Alignment(), grid::TAlignment::taCenter);
    EXPECT_TRUE(fwq.FooterFor(1).Font().Style() & ui::fsBold);
    const grid::TDataGridColumn& bz = grid->Columns()[5];
    EXPECT_EQ(bz.FooterFor(0).Color(), grid->FooterColor());
    EXPECT_EQ(bz.FooterFor(0).Font(), grid->FooterFont());
    // One count item serves the footer; switching the type releases it.
    EXPECT_EQ(grid->SumList().SumCollection().Count(), 1);
    grid->Columns()[0].Footers(1).SetValueType(grid::TFooterValueType::fvtNon);
    EXPECT_EQ(grid->SumList().SumCollection().Count(), 0);
    EXPECT_EQ(grid->FooterText(0, 1), L"");
}

TEST_F(GridColumns, OptionSetsUseTheirOrdinalBits) {
    EXPECT_EQ(grid->Options().Bits(), 0b1100'1111'1101u);
    using O = grid::TGridOptionExt;
    const auto ext = grid->OptionsExt();
    EXPECT_EQ(ext.Bits(), (1u << 0) | (1u << 3) | (1u << 5) | (1u << 6) | (1u << 8) | (1u << 9) |
                              (1u << 14) | (1u << 16));
    EXPECT_TRUE(ext.Has(O::dgxRowHighlight));
    EXPECT_FALSE(ext.Has(O::dgxFooter3D));
}

} // namespace

namespace {

TEST(GridLifetime, TableFreedBeforeTheGridLeavesAnInactiveGridAndNoHooks) {
    ui::TApplication app;
    auto* table = new data::TClientDataSet;
    table->FieldDefs().Add(L"fwq", 100);
    table->CreateDataSet();
    data::TDataSource source(table);
    auto* form = new ui::TForm(&app);
    form->SetClientSize(400, 200);
    auto* g = new grid::TDataGrid(form);
    g->SetParent(form);
    g->SetBounds(0, 0, 400, 200);
    g->SetDataSource(&source);
    grid::ApplyResultGridConfig(*g);
    form->Show();
    table->Append();
    table->Post();
    EXPECT_EQ(g->FooterText(0, 1), L"1");
    delete table;
    EXPECT_EQ(g->DataSet(), nullptr);
    EXPECT_EQ(g->FooterText(0, 1), L"0");
    EXPECT_EQ(g->RowCount(), 5);                        // title, empty row, filler, footers
    testing_support::Snapshot s(g->Handle(), 398, 198); // paints without a dataset
    const RECT cell = g->CellRect(1, 1), indicator = g->CellRect(0, 1);
    EXPECT_EQ(s.at(cell.left + 5, cell.top + 3), GetSysColor(COLOR_WINDOW));
    for (int y = indicator.top + 1; y < indicator.bottom - 1; ++y)
        for (int x = indicator.left + 1; x < indicator.right - 1; ++x)
            ASSERT_NE(s.at(x, y), RGB(0, 0, 0)) << "no glyph without a dataset";
    delete form;
}

TEST(GridLifetime, GridFreedFirstGivesTheTableItsHandlersBack) {
    ui::TApplication app;
    data::TClientDataSet table;
    table.FieldDefs().Add(L"fwq", 100);
    table.CreateDataSet();
    int posts = 0;
    table.AfterPost = [&](data::TDataSet&) { ++posts; };
    data::TDataSource source(&table);
    {
        grid::TDataGrid g(nullptr);
        g.SetDataSource(&source);
        grid::ApplyResultGridConfig(g);
        table.Append();
        table.Post();
        EXPECT_EQ(posts, 1);
        EXPECT_EQ(g.FooterText(0, 1), L"1");
    }
    ASSERT_TRUE(table.AfterPost);
    EXPECT_FALSE(table.AfterOpen); // nothing of the grid's stays behind
    table.Append();
    table.Post();
    EXPECT_EQ(posts, 2);
}

} // namespace
