#include <gtest/gtest.h>

#include "HtmlTestItems.h"

namespace velmora {
namespace {

std::vector<HtmlItem> Cells(const HtmlDrawer& d) {
    return ItemsOfKind(d, HtmlItemKind::Cell);
}

const HtmlItem* Table(const std::vector<HtmlItem>& items) {
    for (const HtmlItem& it : items)
        if (it.kind == HtmlItemKind::Table) return &it;
    return nullptr;
}

class HtmlTableTest : public ::testing::Test {
  protected:
    Surface surface{400, 300};
    HtmlDrawer drawer;
};

TEST_F(HtmlTableTest, ColspanShortfallIsSharedWithTheRemainderToTheLastColumn) {
    drawer.Prepare(surface,
                   "<table cellspacing=0 cellpadding=0>"
                   "<tr><td width=10></td><td width=11></td></tr>"
                   "<tr><td colspan=2 width=30></td></tr></table>");
    const auto cells = Cells(drawer);
    ASSERT_EQ(cells.size(), 3u);
    // 10 + 11 = 21 < 30: 9 / 2 = 4 each, the remainder 1 to the last column.
    EXPECT_EQ(cells[0].rect.width(), 14);
    EXPECT_EQ(cells[1].rect.width(), 16);
    EXPECT_EQ(cells[1].rect.x(), 15);  // one pixel between columns
    // The spanning cell covers both columns and the pixel between them.
    EXPECT_EQ(cells[2].rect.x(), 0);
    EXPECT_EQ(cells[2].rect.width(), 31);
    const auto items = drawer.Items();
    const HtmlItem* table = Table(items);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rect.width(), (2 - 1) + 0 + 14 + 16);
}

TEST_F(HtmlTableTest, WidthFormulaCountsSpacingAndBorders) {
    drawer.Prepare(
        surface,
        "<table cellspacing=3 cellpadding=0 border=2>"
        "<tr><td width=10 height=5></td><td width=20></td><td width=30></td></tr></table>");
    const auto items = drawer.Items();
    const HtmlItem* table = Table(items);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rect.width(), 2 + 3 + (3 + 10) + (3 + 20) + (3 + 30) + 2 * 2);
    EXPECT_EQ(table->rect.height(), 0 + 3 + (3 + 5) + 2 * 2);
    const auto cells = Cells(drawer);
    EXPECT_EQ(cells[0].rect.topLeft(), QPoint(2 + 3, 2 + 3));
    EXPECT_EQ(cells[1].rect.x(), 5 + 10 + 3 + 1);

    drawer.Prepare(surface,
                   "<table cellspacing=0 cellpadding=0 border=2 borderstyle=double>"
                   "<tr><td width=10 height=5></td></tr></table>");
    EXPECT_EQ(Table(drawer.Items())->rect.width(), 0 + 10 + 2 * 6);
}

TEST_F(HtmlTableTest, RowspanGrowsRowsAndShiftsLaterCells) {
    drawer.Prepare(surface,
                   "<table cellspacing=0 cellpadding=0>"
                   "<tr><td rowspan=2 width=10 height=41></td><td width=5 height=10></td></tr>"
                   "<tr><td width=5 height=10></td></tr></table>");
    const auto cells = Cells(drawer);
    ASSERT_EQ(cells.size(), 3u);
    // The second row's cell sits in the second column, under the first row's.
    EXPECT_EQ(cells[2].rect.x(), cells[1].rect.x());
    // 41 - 20 = 21: 10 to each row, the remainder 1 to the last.
    EXPECT_EQ(cells[1].rect.height(), 20);
    EXPECT_EQ(cells[2].rect.height(), 21);
    EXPECT_EQ(cells[0].rect.height(), 42);
}

TEST_F(HtmlTableTest, ExtraWidthGoesToColumnsWithoutExplicitWidthAndAlignPlacesTheTable) {
    drawer.SetMaxWidth(300);
    drawer.Prepare(surface,
                   "<table width=200 cellspacing=0 cellpadding=0 align=center>"
                   "<tr><td width=20></td><td></td><td></td></tr></table>");
    auto cells = Cells(drawer);
    ASSERT_EQ(cells.size(), 3u);
    EXPECT_EQ(cells[0].rect.width(), 20);
    // 200 - (2 + 20) = 178 shared by the two free columns.
    EXPECT_EQ(cells[1].rect.width(), 89);
    EXPECT_EQ(cells[2].rect.width(), 89);
    const auto items = drawer.Items();
    const HtmlItem* table = Table(items);
    EXPECT_EQ(table->rect.width(), 200);
    EXPECT_EQ(table->rect.x(), 50);

    drawer.SetMaxWidth(0);
    drawer.Prepare(surface,
                   "<table width=50% cellspacing=0 cellpadding=0><tr><td>x</td></tr></table>");
    drawer.Draw(surface, QRect(0, 0, 300, 100));
    EXPECT_EQ(Table(drawer.Items())->rect.width(), 150);
}

TEST_F(HtmlTableTest, CellsHoldTextAndTablesSitOnTheirOwnLine) {
    drawer.Prepare(surface,
                   "before<table cellpadding=4><tr><td align=right width=100>r</td>"
                   "<td><b>bold</b><table><tr><td>inner</td></tr></table></td></tr></table>after");
    const auto items = drawer.Items();
    const HtmlItem* table = Table(items);
    ASSERT_NE(table, nullptr);
    const HtmlItem *before = nullptr, *after = nullptr, *r = nullptr, *bold = nullptr,
                   *inner = nullptr;
    for (const HtmlItem& it : items) {
        if (it.text == "before") before = &it;
        if (it.text == "after") after = &it;
        if (it.text == "r") r = &it;
        if (it.text == "bold") bold = &it;
        if (it.text == "inner") inner = &it;
    }
    ASSERT_TRUE(before && after && r && bold && inner);
    EXPECT_EQ(table->rect.top(), before->rect.bottom() + 1);
    EXPECT_EQ(after->rect.top(), table->rect.bottom() + 1);
    const auto cells = Cells(drawer);
    EXPECT_EQ(r->rect.right() + 1, cells[0].rect.right() + 1 - 4);  // right-aligned inside padding
    EXPECT_EQ(bold->weight, 800);
    EXPECT_TRUE(cells[1].rect.contains(inner->rect));
}

TEST_F(HtmlTableTest, BackgroundsAndBordersAreDrawn) {
    surface.Fill(0xFFFFFF);
    drawer.Prepare(
        surface,
        "<table border=1 bordercolor=#000000 cellspacing=0 cellpadding=0 bgcolor=#00ff00>"
        "<tr><td width=40 height=20 bgcolor=red></td>"
        "<td width=40 height=20 bgcolor=#0000ff bgendcolor=#ffffff bgeffect=hgradient></td>"
        "</tr></table>");
    drawer.Draw(surface, surface.rect());
    const auto cells = Cells(drawer);
    ASSERT_EQ(cells.size(), 2u);
    const QRect red = cells[0].rect, grad = cells[1].rect;
    EXPECT_EQ(surface.Pixel(red.center().x(), red.center().y()), 0xFF0000u);
    EXPECT_EQ(surface.Pixel(0, 0), 0x000000u);  // table border
    // Between the cells: the table's own background.
    EXPECT_EQ(surface.Pixel(red.right() + 1, red.center().y()), 0x00FF00u);
    const Rgb left = surface.Pixel(grad.left() + 2, grad.center().y());
    const Rgb right = surface.Pixel(grad.right() - 2, grad.center().y());
    EXPECT_GT(right & 0xFF0000u, left & 0xFF0000u);  // blue to white: red rises left to right
}

TEST_F(HtmlTableTest, HugeSpansAndCountsAreBounded) {
    drawer.Prepare(
        surface,
        "<table><tr><td colspan=2000000000 rowspan=99999999>x</td></tr></table>a<br 2000000000>b");
    const auto cells = Cells(drawer);
    ASSERT_EQ(cells.size(), 1u);
    EXPECT_LT(drawer.Items().back().rect.y(), 256 * 40);
}

TEST_F(HtmlTableTest, HugeSizesInTagsStayInRange) {
    // Each of these used to overflow int while adding up borders, spacing, indents or
    // relative font sizes.
    const std::string hostile =
        "<table cellpadding=2000000000 cellspacing=2000000000 border=2000000000 width=2000000000%>"
        "<tr><td width=2000000000 height=2000000000>x</td><td width=2000000000%>y</td></tr></table>"
        "<indent size=2000000000>a<indent size=2000000000>b</indent></indent>"
        "<hr size=2000000000 width=2000000000>"
        "<font size=+2000000000><font size=+2000000000>c</font></font>";
    drawer.SetMaxWidth(200);
    const QSize size = drawer.Prepare(surface, hostile);
    EXPECT_LE(size.height(), 20 * kMaxHtmlSize);
    drawer.Draw(surface, QRect(0, 0, 400, 300));
    for (const HtmlItem& it : drawer.Items()) EXPECT_LE(it.fontHeight, kMaxHtmlSize);
}

TEST_F(HtmlTableTest, StrayRowAndCellTagsOutsideATableAreSkipped) {
    drawer.Prepare(surface, "a<tr><td>b</td></tr></table>c");
    const auto items = drawer.Items();
    ASSERT_EQ(items.size(), 3u);
    for (const HtmlItem& it : items) EXPECT_EQ(it.kind, HtmlItemKind::Text);
}

}  // namespace
}  // namespace velmora

namespace velmora {
namespace {

TEST_F(HtmlTableTest, HostileTablesStayBoundedAndNestedOnesKeepTheirText) {
    // Wide spans in every row pushed each row's cell 1000 columns further right, so the grid
    // grew with the square of the rows; cells past the last column are left out instead.
    std::string spans = "<table>";
    for (int r = 0; r < 40; ++r)
        spans += "<tr><td colspan=1000 rowspan=1000>r" + std::to_string(r) + "</td>";
    drawer.Prepare(surface, spans + "</table>");
    EXPECT_EQ(Cells(drawer).size(), 1u);

    // Nesting far beyond any real text must neither exhaust the stack nor lose the
    // levels a reader can see; each level is laid out once per width, not twice per level.
    std::string nested;
    for (int i = 0; i < 2000; ++i) nested += "<table><tr><td>L" + std::to_string(i);
    drawer.Prepare(surface, nested);
    const auto texts = ItemsOfKind(drawer, HtmlItemKind::Text);
    ASSERT_GE(texts.size(), 20u);
    EXPECT_EQ(texts[0].text, "L0");
    EXPECT_EQ(texts[19].text, "L19");
}

}  // namespace
}  // namespace velmora
