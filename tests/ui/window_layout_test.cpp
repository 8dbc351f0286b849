// Window positions, the two windows' layouts, picture placement and scaling
// with the monitor's pixel density.

#include "ui/picture_placement.h"
#include "ui/window_layout.h"

#include <gtest/gtest.h>

using namespace ui;

namespace {

TEST(FirstPosition, CentredOnThePrimaryScreenNeverAboveOrLeftOfTheDesktop)
{
    const Size window{755, 485};
    struct Case {
        const char* name;
        Rect screen;
        Rect desktop;
        Point expected;
    } cases[] = {
        {"centred on its full size", {0, 0, 1920, 1080}, {0, 0, 1920, 1080}, {582, 297}},
        {"odd differences round down", {0, 0, 1921, 1081}, {0, 0, 1921, 1081}, {583, 298}},
        {"screen smaller than the window", {0, 0, 640, 480}, {0, 0, 640, 480}, {0, 0}},
        {"desktop reaching left of the primary", {0, 0, 640, 480}, {-1280, 0, 1920, 1024}, {-57, 0}},
        {"primary not at the origin", {1920, 0, 1280, 1024}, {0, 0, 3200, 1080}, {2182, 269}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(firstPosition(c.screen, c.desktop, window), c.expected);
    }
}

TEST(CentredOver, RaisedOnlyToTheTopLeftOfTheWorkArea)
{
    const Size window{1110, 562};
    const Rect work{0, 0, 1920, 1040};
    struct Case {
        const char* name;
        Rect owner;
        Point expected;
    } cases[] = {
        {"centred", {500, 300, 751, 481}, {500 - 179, 300 - 40}},
        {"raised to the left edge", {10, 300, 751, 481}, {0, 260}},
        {"raised to the top edge", {500, 5, 751, 481}, {321, 0}},
        {"never pulled in from the right", {1800, 900, 751, 481}, {1621, 860}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(centredOver(c.owner, window, work), c.expected);
    }
    EXPECT_EQ(centredOver({100, 100, 751, 481}, window, {200, 150, 800, 600}), (Point{200, 150}));
}

TEST(SearchWindowLayout, AtItsDesignSizeAndWider)
{
    const SearchWindowLayout l = searchWindowLayout({751, 481});
    EXPECT_EQ(l.pnlTopo, (Rect{0, 0, 751, 24}));
    EXPECT_EQ(l.pnlCenter, (Rect{0, 24, 751, 457}));
    EXPECT_EQ(l.Panel2, (Rect{15, 15, 721, 34}));
    EXPECT_EQ(l.Panel3, (Rect{0, 0, 665, 34}));
    EXPECT_EQ(l.Panel4, (Rect{665, 0, 56, 34}));
    EXPECT_EQ(l.Panel5, (Rect{15, 79, 721, 363}));

    // The search row keeps its height and the button its cell; the grid takes the rest.
    const SearchWindowLayout wide = searchWindowLayout({1000, 700});
    EXPECT_EQ(wide.Panel3, (Rect{0, 0, 914, 34}));
    EXPECT_EQ(wide.Panel4, (Rect{914, 0, 56, 34}));
    EXPECT_EQ(wide.Panel5, (Rect{15, 79, 970, 582}));
}

TEST(SolutionWindowLayout, AtItsDesignSizeAndWider)
{
    const SolutionWindowLayout l = solutionWindowLayout({1110, 562});
    EXPECT_EQ(l.pnlCenter, (Rect{0, 24, 1110, 538}));
    EXPECT_EQ(l.GridPanel1, (Rect{10, 10, 1090, 477}));
    EXPECT_EQ(l.Panel3, (Rect{10, 487, 1090, 41}));
    EXPECT_EQ(l.Label4Cell, (Rect{0, 0, 545, 24}));
    EXPECT_EQ(l.Label3Cell, (Rect{545, 0, 545, 24}));
    EXPECT_EQ(l.Label2Cell, (Rect{0, 24, 545, 24}));
    EXPECT_EQ(l.Label1Cell, (Rect{545, 24, 545, 24}));
    EXPECT_EQ(l.Memo2, (Rect{3, 51, 539, 423}));
    EXPECT_EQ(l.Memo1, (Rect{548, 51, 539, 423}));

    // Both columns stay equal, the label rows and the bottom band keep their height.
    const SolutionWindowLayout wide = solutionWindowLayout({1400, 800});
    EXPECT_EQ(wide.Memo2, (Rect{3, 51, 684, 661}));
    EXPECT_EQ(wide.Memo1, (Rect{693, 51, 684, 661}));
    EXPECT_EQ(wide.Panel3, (Rect{10, 725, 1380, 41}));
}

TEST(PicturePlacement, CentredAndNeverEnlarged)
{
    const auto actual = PictureFit::ActualSize;
    const auto shrink = PictureFit::ShrinkToFit;
    struct Case {
        const char* name;
        Size picture;
        Size box;
        PictureFit fit;
        Rect expected;
    } cases[] = {
        {"close in its cell", {24, 24}, {56, 24}, actual, {16, 0, 24, 24}},
        {"maximized in its cell", {18, 18}, {56, 24}, actual, {19, 3, 18, 18}},
        {"logo in its own size", {20, 18}, {20, 18}, actual, {0, 0, 20, 18}},
        {"odd difference rounds down", {18, 18}, {57, 25}, actual, {19, 3, 18, 18}},
        {"too large, never scaled", {36, 36}, {56, 34}, actual, {10, -1, 36, 36}},
        {"search shrunk to the cell", {36, 36}, {56, 34}, shrink, {11, 0, 34, 34}},
        {"shrink keeps proportions", {40, 20}, {20, 20}, shrink, {0, 5, 20, 10}},
        {"small picture not enlarged", {18, 18}, {56, 34}, shrink, {19, 8, 18, 18}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(placePicture(c.picture, c.box, c.fit), c.expected);
    }
}

TEST(Scaling, SizesFollowThePixelDensityAndNeighboursStayAdjacent)
{
    EXPECT_EQ(scaled(751, 96), 751);
    EXPECT_EQ(scaled(751, 144), 1127); // 1126.5 rounds up
    EXPECT_EQ(scaled(24, 120), 30);
    EXPECT_EQ(scaled(-3, 144), -5);
    const Rect a = scaled(Rect{0, 0, 56, 24}, 120);
    const Rect b = scaled(Rect{56, 0, 56, 24}, 120);
    EXPECT_EQ(a.right(), b.left);
    EXPECT_EQ(scaled(Rect{15, 1, 20, 18}, 192), (Rect{30, 2, 40, 36}));
}

} // namespace
