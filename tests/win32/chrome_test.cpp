// The title bar of both windows: components and sizes, hover colours, the
// maximise/restore decision, the drag's rules, minimise and close, and the
// glyphs' pixels as the screen shows them.

#include "fake_windows.h"

#include "component_ids.h"

#include <gtest/gtest.h>

using namespace win32_test;
namespace ids = win32::ids;
using testing_support::scriptRows;

namespace {

bool quitWasPosted()
{
    MSG message{};
    return PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

TEST(TitleBar, ComponentsAndTheFreeStretch)
{
    Windows w;
    win32::TitleBar& bar = w.form().pnlTopo;
    const HWND top = w.form().hwnd();
    struct Part {
        int id;
        RECT expected; // in pnlTopo
    } parts[] = {
        {ids::pnlLogo, {0, 0, 161, 24}},   {ids::pnImage1, {0, 0, 41, 24}},  {ids::Image1, {15, 1, 35, 19}},
        {ids::Panel1, {41, 0, 161, 24}},   {ids::lbVersion, {41, 0, 161, 24}}, {ids::pnNV, {583, 0, 751, 24}},
        {ids::Panel7, {583, 0, 639, 24}},  {ids::minimized, {583, 0, 639, 24}}, {ids::Panel8, {639, 0, 695, 24}},
        {ids::maximized, {639, 0, 695, 24}}, {ids::bk_max, {639, 0, 695, 24}}, {ids::Panel6, {695, 0, 751, 24}},
        {ids::close, {695, 0, 751, 24}},
    };
    for (const Part& p : parts) {
        const HWND part = component(bar.hwnd(), p.id);
        ASSERT_NE(part, nullptr) << p.id;
        const RECT r = boundsIn(bar.hwnd(), part);
        EXPECT_TRUE(EqualRect(&r, &p.expected)) << p.id << ": " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
    EXPECT_EQ(component(top, ids::pnlTopo), bar.hwnd());
    EXPECT_EQ(textOf(bar.lbVersion.hwnd()), u"Quelvo 1.0");
    // Only the free stretch shows the hand.
    EXPECT_EQ(GetClassLongPtrW(bar.hwnd(), GCLP_HCURSOR), reinterpret_cast<LONG_PTR>(LoadCursorW(nullptr, IDC_HAND)));
    EXPECT_EQ(GetClassLongPtrW(bar.pnlLogo.hwnd(), GCLP_HCURSOR), reinterpret_cast<LONG_PTR>(LoadCursorW(nullptr, IDC_ARROW)));
    EXPECT_TRUE(bar.maximized.isVisible());
    EXPECT_FALSE(bar.bk_max.isVisible());
}

// Each picture's hover colours its own cell, and only that one, while the
// pointer is over it. The search window's logo colours the minimise cell;
// the solution window's logo is inert.
void checkHoverColours(win32::TitleBar& bar, bool logoColoursMinimise)
{
    struct Case {
        HWND picture;
        win32::Panel* cell; // none: no cell changes
        ui::Color color;
    } cases[] = {
        {bar.minimized.hwnd(), &bar.Panel7, ui::NavyColor},
        {bar.maximized.hwnd(), &bar.Panel8, ui::NavyColor},
        {bar.close.hwnd(), &bar.Panel6, ui::RedColor},
        {bar.Image1.hwnd(), logoColoursMinimise ? &bar.Panel7 : nullptr, ui::NavyColor},
    };
    for (const Case& c : cases) {
        pointAt(c.picture);
        for (win32::Panel* other : {&bar.Panel7, &bar.Panel8, &bar.Panel6}) {
            if (other != c.cell) {
                EXPECT_EQ(other->color(), ui::TitleBarColor);
            }
        }
        if (c.cell) {
            EXPECT_EQ(c.cell->color(), c.color);
            // The glyph stays white on the hover colour: no box around it.
            const Capture shown = capture(c.cell->hwnd());
            EXPECT_EQ(shown.at(2, 2), rgbOf(c.color));
            if (c.picture != bar.Image1.hwnd()) {
                EXPECT_GT(shown.count(0xFFFFFF), 20);
            }
        }
        pointAway();
        if (c.cell) {
            EXPECT_EQ(c.cell->color(), ui::TitleBarColor);
        }
    }
}

// With the window maximised, the restore picture colours the cell it shares
// with the maximise picture.
void checkRestoreHover(win32::TitleBar& bar)
{
    click(bar.maximized.hwnd(), centreOf(bar.maximized.hwnd()));
    pump();
    ASSERT_TRUE(bar.bk_max.isVisible());
    pointAt(bar.bk_max.hwnd());
    EXPECT_EQ(bar.Panel8.color(), ui::NavyColor);
    pointAway();
    EXPECT_EQ(bar.Panel8.color(), ui::TitleBarColor);
    click(bar.bk_max.hwnd(), centreOf(bar.bk_max.hwnd()));
    pump();
}

TEST(TitleBar, HoverColoursInTheSearchWindow)
{
    Windows w;
    checkHoverColours(w.form().pnlTopo, true);
}

TEST(TitleBar, HoverColoursInTheSolutionWindow)
{
    Windows w;
    scriptRows(1);
    w.clickMagnifier();
    w.openSolution(0, [](TForm1& form) { checkHoverColours(form.pnlTopo, false); });
}

TEST(TitleBar, TheRestorePictureColoursItsCellInBothWindows)
{
    Windows w;
    checkRestoreHover(w.form().pnlTopo);
    scriptRows(1);
    w.clickMagnifier();
    w.openSolution(0, [](TForm1& form) { checkRestoreHover(form.pnlTopo); });
}

TEST(TitleBar, GlyphsArePixelExactAndCentredInTheirCells)
{
    Windows w;
    win32::TitleBar& bar = w.form().pnlTopo;
    pointAway();
    const Capture shown = capture(bar.hwnd());
    const std::uint32_t blue = rgbOf(ui::TitleBarColor);
    auto whiteIn = [&](int left, int top, int width, int height) {
        int n = 0;
        for (int y = top; y < top + height; ++y)
            for (int x = left; x < left + width; ++x)
                n += shown.at(x, y) == 0xFFFFFF;
        return n;
    };
    EXPECT_EQ(whiteIn(583, 0, 56, 24), 28); // minimise bar
    EXPECT_EQ(whiteIn(639, 0, 56, 24), 70); // maximise outline
    EXPECT_EQ(whiteIn(695, 0, 56, 24), 72); // close X
    // Where they stand: the bar from (5,11) in its 24 x 24 picture, 16 from the cell's left.
    EXPECT_EQ(shown.at(583 + 16 + 5, 11), 0xFFFFFFu);
    EXPECT_EQ(shown.at(583 + 16 + 4, 11), blue);
    // The X's top-left pixel (6,5); the outline's top-left (1,2), 19 and 3 into its cell.
    EXPECT_EQ(shown.at(695 + 16 + 6, 5), 0xFFFFFFu);
    EXPECT_EQ(shown.at(639 + 19 + 1, 3 + 2), 0xFFFFFFu);
    EXPECT_EQ(shown.at(639 + 19 + 0, 3 + 2), blue);

    click(bar.maximized.hwnd(), centreOf(bar.maximized.hwnd()));
    pump();
    EXPECT_EQ(capture(bar.Panel8.hwnd()).count(0xFFFFFF), 56); // the restore glyph
    click(bar.bk_max.hwnd(), centreOf(bar.bk_max.hwnd()));
    pump();
}

TEST(TitleBar, MaximiseAndRestoreFollowTheWindowsState)
{
    Windows w;
    win32::TitleBar& bar = w.form().pnlTopo;
    const HWND top = w.form().hwnd();
    RECT before{};
    GetWindowRect(top, &before);

    click(bar.maximized.hwnd(), centreOf(bar.maximized.hwnd()));
    pump();
    EXPECT_TRUE(IsZoomed(top));
    EXPECT_TRUE(bar.bk_max.isVisible());
    EXPECT_FALSE(bar.maximized.isVisible());

    click(bar.bk_max.hwnd(), centreOf(bar.bk_max.hwnd()));
    pump();
    EXPECT_FALSE(IsZoomed(top));
    EXPECT_TRUE(bar.maximized.isVisible());
    EXPECT_FALSE(bar.bk_max.isVisible());
    RECT after{};
    GetWindowRect(top, &after);
    EXPECT_TRUE(EqualRect(&before, &after));

    // Maximised from elsewhere: the pictures stay, and the maximise picture
    // now restores, since the state decides.
    ShowWindow(top, SW_MAXIMIZE);
    pump();
    EXPECT_TRUE(bar.maximized.isVisible());
    click(bar.maximized.hwnd(), centreOf(bar.maximized.hwnd()));
    pump();
    EXPECT_FALSE(IsZoomed(top));
    EXPECT_TRUE(bar.maximized.isVisible());
}

TEST(TitleBar, OnlyALeftPressOnTheFreeStretchDragsTheWindow)
{
    Windows w;
    win32::TitleBar& bar = w.form().pnlTopo;
    struct Case {
        const char* name;
        HWND target;
        POINT at;
        UINT down;
        UINT up;
        bool drags;
    } cases[] = {
        {"left on the free stretch", bar.hwnd(), {300, 12}, WM_LBUTTONDOWN, WM_LBUTTONUP, true},
        {"right on the free stretch", bar.hwnd(), {300, 12}, WM_RBUTTONDOWN, WM_RBUTTONUP, false},
        {"middle on the free stretch", bar.hwnd(), {300, 12}, WM_MBUTTONDOWN, WM_MBUTTONUP, false},
        {"left on the logo block", bar.pnlLogo.hwnd(), {100, 12}, WM_LBUTTONDOWN, WM_LBUTTONUP, false},
        {"left on the caption", bar.Panel1.hwnd(), {60, 12}, WM_LBUTTONDOWN, WM_LBUTTONUP, false},
        {"left on a button cell", bar.Panel8.hwnd(), {2, 2}, WM_LBUTTONDOWN, WM_LBUTTONUP, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SysCommandSpy spy;
        // The system's move loop ends at the first button release it takes.
        PostMessageW(w.form().hwnd(), WM_LBUTTONUP, 0, 0);
        click(c.target, c.at, c.down, c.up);
        pump();
        const bool dragged = !spy.seen.empty();
        EXPECT_EQ(dragged, c.drags);
        if (c.drags) {
            ASSERT_EQ(spy.seen.size(), 1u);
            EXPECT_EQ(spy.seen[0].window, w.form().hwnd());
            EXPECT_EQ(spy.seen[0].command, WPARAM(0xF012));
            EXPECT_GT(spy.moveLoopMessages, 0) << "the system's move loop ran";
        }
    }
}

TEST(TitleBar, MinimiseTakesTheApplicationToItsTaskbarButtonAndTheLogoToo)
{
    Windows w;
    const HWND top = w.form().hwnd();
    for (HWND picture : {w.form().pnlTopo.minimized.hwnd(), w.form().pnlTopo.Image1.hwnd()}) {
        click(picture, centreOf(picture));
        pump();
        EXPECT_TRUE(IsIconic(top));
        ShowWindow(top, SW_RESTORE);
        pump();
        EXPECT_FALSE(IsIconic(top));
    }
}

TEST(TitleBar, CloseInTheSearchWindowEndsTheProgramWithoutAsking)
{
    Windows w;
    scriptRows(70);
    w.clickMagnifier();
    ASSERT_TRUE(fake::record().cursorOpen);
    click(w.form().pnlTopo.close.hwnd(), centreOf(w.form().pnlTopo.close.hwnd()));
    EXPECT_EQ(win32::runMessageLoop(), 0);
    EXPECT_TRUE(IsWindowVisible(w.form().hwnd())); // nothing of the window's own ran
    w.program().end();
    // The end commits the open search and detaches.
    EXPECT_FALSE(fake::record().cursorOpen);
    EXPECT_EQ(fake::record().openTransactions, 0);
    EXPECT_EQ(fake::record().detaches, 1);
    EXPECT_TRUE(w.boxes.empty());
}

TEST(TitleBar, ACloseFromOutsideEndsTheProgramToo)
{
    Windows w;
    SendMessageW(w.form().hwnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(quitWasPosted());
    EXPECT_TRUE(IsWindow(w.form().hwnd()));
}

} // namespace
