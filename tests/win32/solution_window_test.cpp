// The solution window through the real click: what it shows for each kind of
// record, the null cases, modality, focus, position, layout, minimise and
// close.

#include "fake_windows.h"

#include "component_ids.h"

#include <gtest/gtest.h>

using namespace win32_test;
namespace ids = win32::ids;

namespace {

TEST(SolutionWindow, ShowsEachKindOfRecordAsSplit)
{
    struct Case {
        const char* name;
        const char* solucao;
        const char16_t* date;
        const char16_t* analyst;
        const char16_t* body;
    } cases[] = {
        {"well formed", "09/12/26 16:20╗Mariana Lopes╗Reinstalar o driver.", u"Data:09/12/26 16:20",
         u"Suporte:Mariana Lopes", u"Reinstalar o driver."},
        {"hidden head text", "09/12/26 16:20 extra╗Ana╗B", u"Data:09/12/26 16:20", u"Suporte:Ana", u"B"},
        {"third separator", "09/12/26 16:20╗Ana╗B╗C", u"Data:09/12/26 16:20", u"Suporte:Ana", u"B╗C"},
        {"one separator", "09/12/26 16:20╗Ana", u"Data:09/12/26 16:20", u"", u"Suporte:Ana"},
        {"no separator", "sem separador nenhum", u"Data:sem separador ", u"", u"Suporte:sem separador nenhum"},
        {"empty", "", u"Data:", u"", u"Suporte:"},
        {"shorter than 14", "ab╗c╗d", u"Data:ab╗c╗d", u"Suporte:c", u"d"},
        {"separator among the first 14", "09/12╗Ana╗Bcorpo", u"Data:09/12╗Ana╗Bcor", u"Suporte:Ana", u"Bcorpo"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Windows w;
        fake::script().rows = {{{"o problema\ttal", c.solucao}}};
        w.clickMagnifier();
        w.openSolution(0, [&](TForm1& form) {
            EXPECT_EQ(textOf(form.Label3.hwnd()), c.date);
            EXPECT_EQ(textOf(form.Label4.hwnd()), c.analyst);
            EXPECT_EQ(textOf(form.Memo1.hwnd()), c.body);
            EXPECT_EQ(textOf(form.Memo2.hwnd()), u"o problema\ttal");
            EXPECT_EQ(textOf(form.Label2.hwnd()), u"PROBLEMA");
            EXPECT_EQ(textOf(form.Label1.hwnd()), u"SOLUÇÃO");
        });
        EXPECT_TRUE(w.boxes.empty());
    }
}

TEST(SolutionWindow, TwoRowsInTurnShowTheirOwnDateAndAnalyst)
{
    Windows w;
    fake::script().rows = {{{"p1", "01/01/26 08:00╗Ana╗um"}}, {{"p2", "02/02/26 09:00╗Bruno╗dois"}}};
    w.clickMagnifier();
    w.openSolution(0, [](TForm1& form) { EXPECT_EQ(textOf(form.Label4.hwnd()), u"Suporte:Ana"); });
    w.openSolution(1, [](TForm1& form) {
        EXPECT_EQ(textOf(form.Label3.hwnd()), u"Data:02/02/26 09:00");
        EXPECT_EQ(textOf(form.Label4.hwnd()), u"Suporte:Bruno");
    });
}

TEST(SolutionWindow, NullsShowTheConversionErrorAndNoWindow)
{
    const std::vector<fake::Row> cases[] = {
        {{{"p", std::nullopt}}},
        {{{std::nullopt, "01/01/26 08:00╗Ana╗um"}}},
    };
    for (const auto& rows : cases) {
        Windows w;
        fake::script().rows = rows;
        w.clickMagnifier();
        w.clickCell(0, 0);
        ASSERT_EQ(w.boxes.size(), 1u);
        EXPECT_EQ(w.boxes[0].text, u"Could not convert variant of type (Null) into type (OleStr)");
        EXPECT_EQ(Form1, nullptr);
        // A later valid click works.
        fake::script().rows = {{{"p", "01/01/26 08:00╗Ana╗um"}}};
        w.clickMagnifier();
        w.openSolution(0, [](TForm1& form) { EXPECT_EQ(textOf(form.Memo1.hwnd()), u"um"); });
    }
}

TEST(SolutionWindow, ModalOverTheSearchWindowWithTheFocusInTheProblem)
{
    Windows w;
    fake::script().rows = {{{"p", "01/01/26 08:00╗Ana╗um"}}};
    w.clickMagnifier();
    w.openSolution(0, [&](TForm1& form) {
        EXPECT_EQ(Form1, &form);
        EXPECT_FALSE(IsWindowEnabled(w.form().hwnd()));
        EXPECT_EQ(GetWindow(form.hwnd(), GW_OWNER), w.form().hwnd());
        EXPECT_EQ(GetFocus(), form.Memo2.hwnd());
        const LONG_PTR style = GetWindowLongPtrW(form.hwnd(), GWL_STYLE);
        const LONG_PTR exStyle = GetWindowLongPtrW(form.hwnd(), GWL_EXSTYLE);
        EXPECT_TRUE(style & WS_POPUP);
        EXPECT_TRUE(style & WS_THICKFRAME);
        EXPECT_TRUE(exStyle & WS_EX_STATICEDGE);
        EXPECT_FALSE(exStyle & WS_EX_APPWINDOW);
        EXPECT_TRUE(GetWindowLongPtrW(form.Memo1.hwnd(), GWL_STYLE) & ES_READONLY);
        // Tab stays in the box.
        typeKeys(form.Memo2.hwnd(), {VK_TAB});
        EXPECT_EQ(GetFocus(), form.Memo2.hwnd());
    });
    EXPECT_TRUE(IsWindowEnabled(w.form().hwnd()));
    EXPECT_EQ(w.form().DataSource1.rowCount(), 1); // results unchanged
}

TEST(SolutionWindow, CentredOverTheSearchWindowAndRaisedOnlyToTheWorkArea)
{
    Windows w;
    fake::script().rows = {{{"p", "01/01/26 08:00╗Ana╗um"}}};
    w.clickMagnifier();
    RECT owner{};
    GetWindowRect(w.form().hwnd(), &owner);
    w.openSolution(0, [&](TForm1& form) {
        RECT frame{};
        GetWindowRect(form.hwnd(), &frame);
        EXPECT_EQ(frame.left, std::max(0L, owner.left + ((owner.right - owner.left) - (frame.right - frame.left)) / 2));
        EXPECT_EQ(frame.top, std::max(0L, owner.top + ((owner.bottom - owner.top) - (frame.bottom - frame.top)) / 2));
    });
    // The search window near the top-left corner: the solution window stops at the work area.
    SetWindowPos(w.form().hwnd(), nullptr, 5, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    pump();
    w.openSolution(0, [&](TForm1& form) {
        RECT frame{};
        GetWindowRect(form.hwnd(), &frame);
        const RECT work = win32::workAreaOf(w.form().hwnd());
        EXPECT_EQ(frame.left, work.left);
        EXPECT_EQ(frame.top, work.top);
    });
}

TEST(SolutionWindow, LayoutFontsAndTitleBar)
{
    Windows w;
    fake::script().rows = {{{"p", "01/01/26 08:00╗Ana╗um"}}};
    w.clickMagnifier();
    w.openSolution(0, [&](TForm1& form) {
        RECT client{};
        GetClientRect(form.hwnd(), &client);
        EXPECT_EQ(client.right, 1110);
        EXPECT_EQ(client.bottom, 562);
        const RECT memo2 = boundsIn(form.GridPanel1.hwnd(), form.Memo2.hwnd());
        const RECT memo1 = boundsIn(form.GridPanel1.hwnd(), form.Memo1.hwnd());
        const RECT band = boundsIn(form.pnlCenter.hwnd(), form.Panel3.hwnd());
        const RECT label3 = boundsIn(form.GridPanel1.hwnd(), form.Label3.hwnd());
        EXPECT_EQ(memo2.left, 3);
        EXPECT_EQ(memo2.top, 51);
        EXPECT_EQ(memo2.right - memo2.left, 539);
        EXPECT_EQ(memo2.bottom - memo2.top, 423);
        EXPECT_EQ(memo1.left, 548);
        EXPECT_EQ(band.top, 487);
        EXPECT_EQ(band.bottom - band.top, 41);
        EXPECT_EQ(label3.left, 545);
        EXPECT_EQ(label3.bottom - label3.top, 24);
        EXPECT_EQ(label3.right - label3.left, form.Label3.textWidth());
        MINMAXINFO info{};
        SendMessageW(form.hwnd(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
        EXPECT_EQ(info.ptMinTrackSize.x, 1110);
        EXPECT_EQ(info.ptMinTrackSize.y, 562);
        // Its logo does nothing; its free stretch drags the solution window.
        click(form.pnlTopo.Image1.hwnd(), centreOf(form.pnlTopo.Image1.hwnd()));
        EXPECT_FALSE(IsIconic(w.form().hwnd()));
        SysCommandSpy spy;
        PostMessageW(form.hwnd(), WM_LBUTTONUP, 0, 0);
        click(form.pnlTopo.hwnd(), {600, 12});
        ASSERT_EQ(spy.seen.size(), 1u);
        EXPECT_EQ(spy.seen[0].window, form.hwnd());
    });
}

TEST(SolutionWindow, MinimiseTakesBothWindowsAndTheRestoreBringsBothBackStillModal)
{
    Windows w;
    fake::script().rows = {{{"p", "01/01/26 08:00╗Ana╗um"}}};
    w.clickMagnifier();
    w.openSolution(0, [&](TForm1& form) {
        click(form.pnlTopo.minimized.hwnd(), centreOf(form.pnlTopo.minimized.hwnd()));
        pump();
        EXPECT_TRUE(IsIconic(w.form().hwnd()));
        EXPECT_FALSE(IsWindowVisible(form.hwnd()));
        ShowWindow(w.form().hwnd(), SW_RESTORE);
        pump();
        EXPECT_FALSE(IsIconic(w.form().hwnd()));
        EXPECT_TRUE(IsWindowVisible(form.hwnd()));
        EXPECT_TRUE(form.isModal());
        EXPECT_FALSE(IsWindowEnabled(w.form().hwnd()));
    });
}

TEST(SolutionWindow, OpenedAgainAfterMaximisingItIsNormal)
{
    Windows w;
    fake::script().rows = {{{"p", "01/01/26 08:00╗Ana╗um"}}};
    w.clickMagnifier();
    w.openSolution(0, [&](TForm1& form) {
        click(form.pnlTopo.maximized.hwnd(), centreOf(form.pnlTopo.maximized.hwnd()));
        pump();
        EXPECT_TRUE(IsZoomed(form.hwnd()));
    });
    w.openSolution(0, [&](TForm1& form) {
        EXPECT_FALSE(IsZoomed(form.hwnd()));
        EXPECT_TRUE(form.pnlTopo.maximized.isVisible());
        EXPECT_FALSE(form.pnlTopo.bk_max.isVisible());
    });
}

} // namespace
