// The title bar's geometry, which picture raises which handler in each
// window, what the hover handlers paint and the maximise/restore decision.

#include "ui/title_bar.h"

#include <gtest/gtest.h>

#include <optional>
#include <tuple>

using namespace ui;

namespace {

TEST(TitleBarLayout, FixedBlocksAndTheFreeStretchBetweenThem)
{
    for (const auto& [width, stretch] : {std::pair{751, 422}, std::pair{1110, 781}, std::pair{1920, 1591}}) {
        SCOPED_TRACE(width);
        const TitleBarLayout l = titleBarLayout(width);
        EXPECT_EQ(l.pnlTopo, (Rect{0, 0, width, 24}));
        EXPECT_EQ(l.pnlLogo, (Rect{0, 0, 161, 24}));
        EXPECT_EQ(l.pnImage1, (Rect{0, 0, 41, 24}));
        EXPECT_EQ(l.Image1, (Rect{15, 1, 20, 18}));
        EXPECT_EQ(l.Panel1, (Rect{41, 0, 120, 24}));
        EXPECT_EQ(l.pnNV, (Rect{width - 168, 0, 168, 24}));
        EXPECT_EQ(l.Panel7, (Rect{0, 0, 56, 24}));
        EXPECT_EQ(l.Panel8, (Rect{56, 0, 56, 24}));
        EXPECT_EQ(l.Panel6, (Rect{112, 0, 56, 24}));
        EXPECT_EQ(l.freeStretch, (Rect{161, 0, stretch, 24}));
        EXPECT_EQ(l.freeStretch.right(), l.pnNV.left);
    }
}

TEST(TitleBarLayout, NoNegativeStretchWhenNarrowerThanBothBlocks)
{
    EXPECT_EQ(titleBarLayout(200).freeStretch.width, 0);
}

using H = TitleBarHandler;
using P = TitlePicture;
using E = PictureEvent;

struct Wiring {
    TitleBarKind kind;
    P picture;
    E event;
    std::optional<H> handler;
};

const Wiring wirings[] = {
    // The search window: the logo doubles as the minimise button, and the
    // restore picture shares the maximise picture's hover handlers.
    {TitleBarKind::SearchWindow, P::Image1, E::Click, H::minimizedClick},
    {TitleBarKind::SearchWindow, P::Image1, E::Enter, H::minimizedMouseEnter},
    {TitleBarKind::SearchWindow, P::Image1, E::Leave, H::minimizedMouseLeave},
    {TitleBarKind::SearchWindow, P::minimized, E::Click, H::minimizedClick},
    {TitleBarKind::SearchWindow, P::minimized, E::Enter, H::minimizedMouseEnter},
    {TitleBarKind::SearchWindow, P::minimized, E::Leave, H::minimizedMouseLeave},
    {TitleBarKind::SearchWindow, P::maximized, E::Click, H::maximizedClick},
    {TitleBarKind::SearchWindow, P::maximized, E::Enter, H::maximizedMouseEnter},
    {TitleBarKind::SearchWindow, P::maximized, E::Leave, H::maximizedMouseLeave},
    {TitleBarKind::SearchWindow, P::bk_max, E::Click, H::bk_maxClick},
    {TitleBarKind::SearchWindow, P::bk_max, E::Enter, H::maximizedMouseEnter},
    {TitleBarKind::SearchWindow, P::bk_max, E::Leave, H::maximizedMouseLeave},
    {TitleBarKind::SearchWindow, P::close, E::Click, H::closeClick},
    {TitleBarKind::SearchWindow, P::close, E::Enter, H::closeMouseEnter},
    {TitleBarKind::SearchWindow, P::close, E::Leave, H::closeMouseLeave},
    // The solution window: an inert logo, the restore picture's own handlers.
    {TitleBarKind::SolutionWindow, P::Image1, E::Click, std::nullopt},
    {TitleBarKind::SolutionWindow, P::Image1, E::Enter, std::nullopt},
    {TitleBarKind::SolutionWindow, P::Image1, E::Leave, std::nullopt},
    {TitleBarKind::SolutionWindow, P::minimized, E::Click, H::minimizedClick},
    {TitleBarKind::SolutionWindow, P::minimized, E::Enter, H::minimizedMouseEnter},
    {TitleBarKind::SolutionWindow, P::minimized, E::Leave, H::minimizedMouseLeave},
    {TitleBarKind::SolutionWindow, P::maximized, E::Click, H::maximizedClick},
    {TitleBarKind::SolutionWindow, P::maximized, E::Enter, H::maximizedMouseEnter},
    {TitleBarKind::SolutionWindow, P::maximized, E::Leave, H::maximizedMouseLeave},
    {TitleBarKind::SolutionWindow, P::bk_max, E::Click, H::bk_maxClick},
    {TitleBarKind::SolutionWindow, P::bk_max, E::Enter, H::bk_maxMouseEnter},
    {TitleBarKind::SolutionWindow, P::bk_max, E::Leave, H::bk_maxMouseLeave},
    {TitleBarKind::SolutionWindow, P::close, E::Click, H::closeClick},
    {TitleBarKind::SolutionWindow, P::close, E::Enter, H::closeMouseEnter},
    {TitleBarKind::SolutionWindow, P::close, E::Leave, H::closeMouseLeave},
};

TEST(TitleBarWiring, EachPictureEventReachesItsHandler)
{
    for (const Wiring& w : wirings) {
        SCOPED_TRACE(testing::Message() << "kind " << int(w.kind) << " picture " << int(w.picture) << " event "
                                        << int(w.event));
        EXPECT_EQ(titleBarHandler(w.kind, w.picture, w.event), w.handler);
    }
}

TEST(TitleBarWiring, HoverHandlersPaintTheirCellAndClicksPaintNothing)
{
    const std::tuple<H, std::optional<CellColor>> cases[] = {
        {H::minimizedMouseEnter, CellColor{TitleCell::Panel7, NavyColor}},
        {H::minimizedMouseLeave, CellColor{TitleCell::Panel7, TitleBarColor}},
        {H::maximizedMouseEnter, CellColor{TitleCell::Panel8, NavyColor}},
        {H::maximizedMouseLeave, CellColor{TitleCell::Panel8, TitleBarColor}},
        {H::bk_maxMouseEnter, CellColor{TitleCell::Panel8, NavyColor}},
        {H::bk_maxMouseLeave, CellColor{TitleCell::Panel8, TitleBarColor}},
        {H::closeMouseEnter, CellColor{TitleCell::Panel6, RedColor}},
        {H::closeMouseLeave, CellColor{TitleCell::Panel6, TitleBarColor}},
        {H::minimizedClick, std::nullopt},
        {H::maximizedClick, std::nullopt},
        {H::bk_maxClick, std::nullopt},
        {H::closeClick, std::nullopt},
    };
    for (const auto& [handler, color] : cases) {
        SCOPED_TRACE(int(handler));
        EXPECT_EQ(cellColorFor(handler), color);
    }
}

TEST(TitleBarColors, ValuesAreBlueGreenRedWithRedInTheLowByte)
{
    EXPECT_EQ(std::tuple(red(TitleBarColor), green(TitleBarColor), blue(TitleBarColor)), std::tuple(42, 92, 192));
    EXPECT_EQ(std::tuple(red(ContentColor), green(ContentColor), blue(ContentColor)), std::tuple(193, 202, 210));
    EXPECT_EQ(std::tuple(red(NavyColor), green(NavyColor), blue(NavyColor)), std::tuple(0, 0, 128));
    EXPECT_EQ(std::tuple(red(RedColor), green(RedColor), blue(RedColor)), std::tuple(255, 0, 0));
}

TEST(TitleBarClose, EndsTheProgramFromTheSearchWindowOnly)
{
    EXPECT_EQ(closeActionFor(TitleBarKind::SearchWindow), CloseAction::EndProgram);
    EXPECT_EQ(closeActionFor(TitleBarKind::SolutionWindow), CloseAction::CloseWindow);
}

TEST(MaximizeOrRestore, TheWindowStateDecidesNotThePictureClicked)
{
    EXPECT_EQ(maximizeOrRestore(WindowState::Normal),
              (MaximizeStep{WindowState::Maximized, P::bk_max, P::maximized}));
    EXPECT_EQ(maximizeOrRestore(WindowState::Maximized),
              (MaximizeStep{WindowState::Normal, P::maximized, P::bk_max}));
    // Not normal counts as to be restored.
    EXPECT_EQ(maximizeOrRestore(WindowState::Minimized),
              (MaximizeStep{WindowState::Normal, P::maximized, P::bk_max}));
}

} // namespace
