// The search window as start-up makes it: what exists and shows before the
// loop, the search box and its keys, both search pictures and their hover
// pair, the rounded box, the layout, and the window's style.

#include "fake_windows.h"

#include "component_ids.h"

#include "service/service_connection.h"

#include <gtest/gtest.h>

using namespace win32_test;
namespace ids = win32::ids;
using testing_support::scriptRows;

namespace {

std::tuple<long, long, long, long> xywh(const RECT& r)
{
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

TEST(SearchWindow, StartUpMakesTheServiceThenAVisibleWindowAndTouchesNoServer)
{
    Windows w;
    ASSERT_NE(ServiceConnection, nullptr);
    ASSERT_EQ(Form2, &w.form());
    EXPECT_TRUE(IsWindowVisible(w.form().hwnd()));
    EXPECT_EQ(&w.form().DataSource1.query(), &ServiceConnection->FDQuery1);
    // FormCreate rounded the box before the first paint.
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(w.form().Panel3.hwnd(), region), COMPLEXREGION);
    DeleteObject(region);
    // Not a single call into the client library, not even a load.
    EXPECT_TRUE(fake::record().calls.empty());
    EXPECT_EQ(fake::record().attaches, 0);
    EXPECT_TRUE(w.boxes.empty());
}

TEST(SearchWindow, TheCaretIsInTheSearchBoxAndTypingNeedsNoClick)
{
    Windows w;
    EXPECT_EQ(GetFocus(), w.form().Memo1.hwnd());
    typeKeys(GetFocus(), {'E', 'R', 'R', 'O'});
    EXPECT_EQ(textOf(w.form().Memo1.hwnd()), u"erro");
}

TEST(SearchWindow, EnterBreaksTheLineAndTabInsertsATabWithoutSearching)
{
    Windows w;
    const HWND memo = w.form().Memo1.hwnd();
    typeKeys(memo, {'A', VK_RETURN, 'B', VK_TAB, 'C'});
    EXPECT_EQ(textOf(memo), u"a\r\nb\tc");
    EXPECT_EQ(GetFocus(), memo);
    EXPECT_TRUE(fake::record().calls.empty());
}

TEST(SearchWindow, BothPicturesSearchWithThePatternAndLeaveTheTextAsTyped)
{
    Windows w;
    scriptRows(3);
    w.type(u"  erro\tao salvar ");
    w.clickMagnifier();
    ASSERT_EQ(fake::record().executions.size(), 1u);
    EXPECT_EQ(fake::record().executions[0].bytes, "%ERRO%AO%SALVAR%");
    EXPECT_EQ(textOf(w.form().Memo1.hwnd()), u"  erro\tao salvar ");
    EXPECT_EQ(w.form().DataSource1.rowCount(), 3);

    // The grey picture is a search button too.
    w.form().bk_search.setVisible(true);
    w.clickMagnifier();
    EXPECT_EQ(fake::record().executions.size(), 2u);
    EXPECT_TRUE(w.boxes.empty());
}

TEST(SearchWindow, TheGreyPictureShowsWhileThePointerIsOverTheButton)
{
    Windows w;
    EXPECT_TRUE(w.form().search.isVisible());
    EXPECT_FALSE(w.form().bk_search.isVisible());
    pointAt(w.form().search.hwnd());
    EXPECT_TRUE(w.form().bk_search.isVisible());
    // Drawn over the white one, as the topmost picture of the cell.
    POINT at = centreOf(w.form().Panel4.hwnd());
    EXPECT_EQ(ChildWindowFromPointEx(w.form().Panel4.hwnd(), at, CWP_SKIPINVISIBLE), w.form().bk_search.hwnd());
    pointAway();
    EXPECT_FALSE(w.form().bk_search.isVisible());
}

TEST(SearchWindow, TheSearchPicturesAreDrawnAt34PixelsOverTheContentColour)
{
    Windows w;
    EXPECT_EQ(xywh(boundsIn(w.form().Panel4.hwnd(), w.form().search.hwnd())), std::tuple(0L, 0L, 56L, 34L));
    const ui::Rect drawn = w.form().search.pictureRect();
    EXPECT_EQ(drawn, (ui::Rect{11, 0, 34, 34}));
    const Capture c = capture(w.form().Panel4.hwnd());
    const std::uint32_t content = rgbOf(ui::ContentColor);
    for (int x = 0; x < 11; ++x)
        EXPECT_EQ(c.at(x, 17), content) << x;
    int glyph = 0;
    for (int y = 0; y < 34; ++y)
        for (int x = 0; x < 56; ++x) {
            const bool light = (c.at(x, y) & 0xFF) > 0xF0 && ((c.at(x, y) >> 16) & 0xFF) > 0xF0;
            if (light && (x < 11 || x >= 45))
                ADD_FAILURE() << "glyph outside its 34 x 34 square at " << x << "," << y;
            glyph += light;
        }
    EXPECT_GT(glyph, 40); // the opaque part of the glyph
}

TEST(SearchWindow, LayoutAtTheDesignSizeAndWider)
{
    Windows w;
    const HWND top = w.form().hwnd();
    RECT client{};
    GetClientRect(top, &client);
    EXPECT_EQ(client.right, 751);
    EXPECT_EQ(client.bottom, 481);
    EXPECT_EQ(xywh(boundsIn(top, w.form().pnlTopo.hwnd())), std::tuple(0L, 0L, 751L, 24L));
    EXPECT_EQ(xywh(boundsIn(top, w.form().pnlCenter.hwnd())), std::tuple(0L, 24L, 751L, 457L));
    EXPECT_EQ(xywh(boundsIn(w.form().pnlCenter.hwnd(), w.form().Panel2.hwnd())), std::tuple(15L, 15L, 721L, 34L));
    EXPECT_EQ(xywh(boundsIn(w.form().Panel2.hwnd(), w.form().Memo1.hwnd())), std::tuple(0L, 0L, 665L, 34L));
    EXPECT_EQ(xywh(boundsIn(w.form().pnlCenter.hwnd(), w.form().DBGrid1.hwnd())), std::tuple(15L, 79L, 721L, 363L));

    RECT frame{};
    GetWindowRect(top, &frame);
    SetWindowPos(top, nullptr, 0, 0, frame.right - frame.left + 249, frame.bottom - frame.top + 100, SWP_NOMOVE | SWP_NOZORDER);
    pump();
    EXPECT_EQ(xywh(boundsIn(w.form().Panel2.hwnd(), w.form().Memo1.hwnd())), std::tuple(0L, 0L, 914L, 34L));
    EXPECT_EQ(xywh(boundsIn(w.form().Panel2.hwnd(), w.form().Panel4.hwnd())), std::tuple(914L, 0L, 56L, 34L));
    EXPECT_EQ(xywh(boundsIn(w.form().pnlCenter.hwnd(), w.form().DBGrid1.hwnd())), std::tuple(15L, 79L, 970L, 463L));
}

TEST(SearchWindow, TheSearchBoxIsRoundedAndFollowsEveryResize)
{
    Windows w;
    const HWND box = w.form().Panel3.hwnd();
    auto roundedOver = [box](int width, int height) -> ::testing::AssertionResult {
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        const int kind = GetWindowRgn(box, region);
        RECT bounds{};
        GetRgnBox(region, &bounds);
        const bool inside = PtInRegion(region, 5, 17) && PtInRegion(region, width - 6, 17);
        const bool corners = PtInRegion(region, 0, 0) || PtInRegion(region, width - 1, 0) ||
                             PtInRegion(region, 0, height - 1) || PtInRegion(region, width - 1, height - 1);
        DeleteObject(region);
        if (kind == COMPLEXREGION && bounds.right >= width - 1 && bounds.bottom >= height - 1 && inside && !corners)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "region " << kind << " box " << bounds.right << "x" << bounds.bottom
                                             << " inside " << inside << " corners " << corners;
    };
    EXPECT_TRUE(roundedOver(665, 34));

    click(w.form().pnlTopo.maximized.hwnd(), centreOf(w.form().pnlTopo.maximized.hwnd()));
    pump();
    RECT client{};
    GetClientRect(box, &client);
    EXPECT_GT(client.right, 665);
    EXPECT_TRUE(roundedOver(client.right, 34));
    click(w.form().pnlTopo.bk_max.hwnd(), centreOf(w.form().pnlTopo.bk_max.hwnd()));
    pump();
    EXPECT_TRUE(roundedOver(665, 34));
}

TEST(SearchWindow, StyleBorderlessWithSizingFrameStaticEdgeAndTaskbarButton)
{
    Windows w;
    const LONG_PTR style = GetWindowLongPtrW(w.form().hwnd(), GWL_STYLE);
    const LONG_PTR exStyle = GetWindowLongPtrW(w.form().hwnd(), GWL_EXSTYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_TRUE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_TRUE(exStyle & WS_EX_STATICEDGE);
    EXPECT_TRUE(exStyle & WS_EX_APPWINDOW);
    EXPECT_EQ(textOf(w.form().hwnd()), u""); // no window title of its own
    EXPECT_NE(SendMessageW(w.form().hwnd(), WM_GETICON, ICON_BIG, 0), 0);
}

TEST(SearchWindow, NeverSmallerThanItsMinimumSize)
{
    Windows w;
    MINMAXINFO info{};
    SendMessageW(w.form().hwnd(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 751);
    EXPECT_EQ(info.ptMinTrackSize.y, 481);
}

TEST(SearchWindow, FirstPositionIsCentredOnThePrimaryScreen)
{
    Windows w;
    RECT frame{};
    GetWindowRect(w.form().hwnd(), &frame);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(frame.left, std::max(0L, (screenWidth - (frame.right - frame.left)) / 2));
    EXPECT_EQ(frame.top, std::max(0L, (screenHeight - (frame.bottom - frame.top)) / 2));
}

TEST(SearchWindow, ANewPixelDensityScalesTheWindow)
{
    Windows w;
    RECT frame{};
    GetWindowRect(w.form().hwnd(), &frame);
    RECT suggested{frame.left, frame.top, frame.left + 1130, frame.top + 725};
    SendMessageW(w.form().hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    pump();
    EXPECT_EQ(w.form().dpi(), 144);
    const HWND top = w.form().hwnd();
    EXPECT_EQ(std::get<3>(xywh(boundsIn(top, w.form().pnlTopo.hwnd()))), 36);
    EXPECT_EQ(std::get<2>(xywh(boundsIn(w.form().Panel2.hwnd(), w.form().Panel4.hwnd()))), 84);
    EXPECT_EQ(std::get<3>(xywh(boundsIn(w.form().Panel2.hwnd(), w.form().Panel4.hwnd()))), 51);
    EXPECT_EQ(std::get<2>(xywh(boundsIn(w.form().pnlTopo.hwnd(), w.form().pnlTopo.pnNV.hwnd()))), 252);
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(w.form().Memo1.hwnd(), WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_EQ(font.lfHeight, -17);
    MINMAXINFO info{};
    SendMessageW(top, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 1127);
}

} // namespace
