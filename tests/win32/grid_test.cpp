// The result grid: title row, columns and widths, the empty row, batches
// fetched as the view scrolls, the cell-click rule as the grid applies it,
// keys, column moves and horizontal scrolling.

#include "fake_windows.h"

#include "component_ids.h"

#include <commctrl.h>
#include <gtest/gtest.h>

using namespace win32_test;
using testing_support::scriptRows;

namespace {

std::u16string headerTitle(HWND header, int item)
{
    wchar_t text[64] = {};
    HDITEMW info{};
    info.mask = HDI_TEXT;
    info.pszText = text;
    info.cchTextMax = 64;
    SendMessageW(header, HDM_GETITEMW, item, reinterpret_cast<LPARAM>(&info));
    return reinterpret_cast<const char16_t*>(text);
}

TEST(Grid, TitlesColumnsAndTheEmptyRowBeforeAnySearch)
{
    Windows w;
    win32::ResultGrid& grid = w.form().DBGrid1;
    EXPECT_EQ(GetDlgCtrlID(grid.hwnd()), win32::ids::DBGrid1);
    EXPECT_EQ(headerTitle(grid.header(), 0), u"Problema");
    EXPECT_EQ(headerTitle(grid.header(), 1), u"solucao");
    EXPECT_EQ(grid.columnWidth(0), 5000 * win32::textWidth(w.form().fonts().window.get(), L"0") + 4);
    EXPECT_GT(grid.columnWidth(0), 20000);
    EXPECT_EQ(grid.columnWidth(1), 64);
    const LONG_PTR headerStyle = GetWindowLongPtrW(grid.header(), GWL_STYLE);
    EXPECT_TRUE(headerStyle & HDS_DRAGDROP);
    EXPECT_TRUE(headerStyle & HDS_BUTTONS);
    EXPECT_TRUE(headerStyle & HDS_HOTTRACK);
    EXPECT_EQ(w.form().DataSource1.rowCount(), 1);
    EXPECT_FALSE(w.form().DataSource1.hasRows());

    // A click on the empty row before any search reads nothing and shows nothing.
    w.clickCell(0, 0);
    EXPECT_EQ(Form1, nullptr);
    EXPECT_TRUE(w.boxes.empty());
    EXPECT_TRUE(fake::record().calls.empty());
}

TEST(Grid, NoMatchShowsTheEmptyRowAndItsClickTheConversionError)
{
    Windows w;
    scriptRows(0);
    w.clickMagnifier();
    EXPECT_EQ(w.form().DataSource1.rowCount(), 1);
    EXPECT_FALSE(w.form().DataSource1.hasRows());
    w.clickCell(0, 0);
    ASSERT_EQ(w.boxes.size(), 1u);
    EXPECT_EQ(w.boxes[0].text, u"Could not convert variant of type (Null) into type (OleStr)");
    EXPECT_EQ(Form1, nullptr);
}

TEST(Grid, BatchesOf50ComeOnlyAsTheViewScrolls)
{
    Windows w;
    scriptRows(120);
    w.clickMagnifier();
    win32::ResultGrid& grid = w.form().DBGrid1;
    EXPECT_EQ(fake::record().fetches, 50);
    EXPECT_EQ(w.form().DataSource1.rowCount(), 50);
    EXPECT_LT(grid.pageRows(), 50);

    grid.scrollToRow(10); // the last row is not in view yet
    EXPECT_EQ(fake::record().fetches, 50);
    SendMessageW(grid.hwnd(), WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(w.form().DataSource1.rowCount(), 100);
    EXPECT_EQ(fake::record().fetches, 100);
    SendMessageW(grid.hwnd(), WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(w.form().DataSource1.rowCount(), 120);
    EXPECT_FALSE(fake::record().cursorOpen); // the end of rows ended the search
    SendMessageW(grid.hwnd(), WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(fake::record().fetches, 121);
}

TEST(Grid, TheArrowKeysReachTheLastRowAndFetchOnTheWay)
{
    Windows w;
    scriptRows(60);
    w.clickMagnifier();
    win32::ResultGrid& grid = w.form().DBGrid1;
    SetFocus(grid.hwnd());
    for (int i = 0; i < 70; ++i)
        SendMessageW(grid.hwnd(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(grid.currentRow(), 59);
    EXPECT_EQ(w.form().DataSource1.rowCount(), 60);
    EXPECT_GE(grid.topRow(), 60 - grid.pageRows());
    SendMessageW(grid.hwnd(), WM_KEYDOWN, VK_PRIOR, 0);
    EXPECT_EQ(grid.currentRow(), 59 - (grid.pageRows() - 1));
    SendMessageW(grid.hwnd(), WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(grid.currentRow(), 58 - (grid.pageRows() - 1));
    EXPECT_EQ(ServiceConnection->FDQuery1.currentRow(), std::size_t(grid.currentRow()));
    EXPECT_TRUE(w.boxes.empty());
    EXPECT_EQ(Form1, nullptr); // no key opens the solution window
}

TEST(Grid, TabAndShiftTabMoveFromCellToCellAcrossRows)
{
    Windows w;
    scriptRows(3);
    w.clickMagnifier();
    win32::ResultGrid& grid = w.form().DBGrid1;
    SendMessageW(grid.hwnd(), WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(std::pair(grid.currentRow(), grid.currentColumn()), std::pair(0, 1));
    EXPECT_GT(grid.horizontalScroll(), 20000); // the solucao column scrolled into view
    SendMessageW(grid.hwnd(), WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(std::pair(grid.currentRow(), grid.currentColumn()), std::pair(1, 0));
    EXPECT_EQ(grid.horizontalScroll(), 0);

    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    SendMessageW(grid.hwnd(), WM_KEYDOWN, VK_TAB, 0);
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(std::pair(grid.currentRow(), grid.currentColumn()), std::pair(0, 1));
    EXPECT_EQ(Form1, nullptr);
}

TEST(Grid, TheCellClickRuleAsTheGridAppliesIt)
{
    Windows w;
    scriptRows(3);
    w.clickMagnifier();
    win32::ResultGrid& grid = w.form().DBGrid1;
    int clicks = 0;
    grid.onCellClick = [&clicks](int) { ++clicks; };
    const RECT cell = grid.cellRect(1, 0);
    const RECT below = grid.cellRect(5, 0);
    const POINT onCell{cell.left + 30, (cell.top + cell.bottom) / 2};
    const POINT belowRows{onCell.x, (below.top + below.bottom) / 2};
    const POINT nextRow{onCell.x, onCell.y + 18};
    struct Case {
        const char* name;
        bool otherColumn; // the solucao column, scrolled into view; `down` and `up` unused
        POINT down;
        POINT up;
        UINT downMessage;
        UINT upMessage;
        int clicks;
        int currentRow;
    } cases[] = {
        {"left on a data cell", false, onCell, onCell, WM_LBUTTONDOWN, WM_LBUTTONUP, 1, 1},
        {"the other column", true, {}, {}, WM_LBUTTONDOWN, WM_LBUTTONUP, 1, 1},
        {"right on a row makes it current only", false, nextRow, nextRow, WM_RBUTTONDOWN, WM_RBUTTONUP, 0, 2},
        {"middle on a row", false, onCell, onCell, WM_MBUTTONDOWN, WM_MBUTTONUP, 0, 1},
        {"the indicator column", false, {4, onCell.y}, {4, onCell.y}, WM_LBUTTONDOWN, WM_LBUTTONUP, 0, 1},
        {"below the last row", false, belowRows, belowRows, WM_LBUTTONDOWN, WM_LBUTTONUP, 0, 1},
        {"the title corner", false, {4, 4}, {4, 4}, WM_LBUTTONDOWN, WM_LBUTTONUP, 0, 1},
        {"pressed on a cell, released off the grid", false, onCell, {-50, -50}, WM_LBUTTONDOWN, WM_LBUTTONUP, 0, 1},
    };
    for (Case c : cases) {
        SCOPED_TRACE(c.name);
        if (c.otherColumn) {
            grid.scrollHorizontally(grid.columnWidth(0));
            const RECT other = grid.cellRect(1, 1);
            c.down = c.up = {other.left + 10, (other.top + other.bottom) / 2};
        }
        clicks = 0;
        press(grid.hwnd(), c.down, c.up, c.downMessage, c.upMessage);
        EXPECT_EQ(clicks, c.clicks);
        EXPECT_EQ(grid.currentRow(), c.currentRow);
        grid.scrollHorizontally(0);
        click(grid.hwnd(), onCell); // back to row 1
    }
}

TEST(Grid, TitlesSortNothingAndABorderDragOpensNothing)
{
    Windows w;
    scriptRows(3);
    w.clickMagnifier();
    win32::ResultGrid& grid = w.form().DBGrid1;
    int clicks = 0;
    grid.onCellClick = [&clicks](int) { ++clicks; };

    // A click on a title.
    click(grid.header(), {40, 8});
    pump();
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(textOf(grid.header()), u"");

    // Widening the solucao column by its right border.
    grid.scrollHorizontally(grid.columnWidth(0));
    RECT item{};
    SendMessageW(grid.header(), HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
    const int border = item.right - 1;
    SendMessageW(grid.header(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(border, 8));
    SendMessageW(grid.header(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(border + 40, 8));
    SendMessageW(grid.header(), WM_LBUTTONUP, 0, MAKELPARAM(border + 40, 8));
    pump();
    EXPECT_EQ(grid.columnWidth(1), 64 + 40);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(fake::record().executions.size(), 1u); // nothing searched again
}

TEST(Grid, AColumnDraggedByItsTitleStandsWhereItWasDropped)
{
    Windows w;
    fake::script().rows = {{{"the problem", "01/02/26 10:00╗Ana╗the body"}}};
    w.clickMagnifier();
    win32::ResultGrid& grid = w.form().DBGrid1;
    RECT item{};
    SendMessageW(grid.header(), HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
    const int from = (item.left + item.right) / 2;
    SendMessageW(grid.header(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from, 8));
    SendMessageW(grid.header(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(from - 40, 8));
    SendMessageW(grid.header(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(3, 8));
    SendMessageW(grid.header(), WM_LBUTTONUP, 0, MAKELPARAM(3, 8));
    pump();
    EXPECT_EQ(grid.columnOrder(), (std::array<int, 2>{1, 0}));
    // The moved column shows the same field, and a click shows the same row.
    EXPECT_EQ(grid.cellRect(0, 1).left, 12);
    w.openSolution(0, [](TForm1& form) {
        EXPECT_EQ(textOf(form.Memo2.hwnd()), u"the problem");
        EXPECT_EQ(textOf(form.Memo1.hwnd()), u"the body");
    });
}

TEST(Grid, CellsShowTheFirstLineOfTheirTextClipped)
{
    Windows w;
    fake::script().rows = {{{"x", "s"}}, {{"first line\r\nsecond line", "s"}}, {{"", "s"}}};
    w.clickMagnifier();
    win32::ResultGrid& grid = w.form().DBGrid1;
    const Capture shown = capture(grid.hwnd());
    auto darkIn = [&](const RECT& cell) {
        int dark = 0;
        for (int y = cell.top; y < cell.bottom; ++y)
            for (int x = cell.left + 2; x < cell.left + 150; ++x)
                dark += (shown.at(x, y) & 0xFF) < 0x80;
        return dark;
    };
    EXPECT_GT(darkIn(grid.cellRect(1, 0)), 20);
    // Nothing of the second line reaches the empty row below.
    EXPECT_EQ(darkIn(grid.cellRect(2, 0)), 0);
    EXPECT_TRUE(w.boxes.empty());
}

} // namespace
