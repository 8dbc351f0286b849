// When a press and a release on the result grid open the solution window,
// and when a press makes its row current.

#include "ui/cell_click.h"

#include <gtest/gtest.h>

#include <vector>

using namespace ui;

namespace {

struct Step {
    enum Kind { Press, Release, TitleDrag } kind;
    MouseButton button = MouseButton::Left;
    GridArea area = GridArea::DataCell;
};

struct Case {
    const char* name;
    std::vector<Step> steps;
    int clicks;
};

TEST(CellClickRule, OnlyALeftPressAndReleaseOnDataCellsRaiseTheClick)
{
    using B = MouseButton;
    using A = GridArea;
    const Case cases[] = {
        {"left press and release on a cell", {{Step::Press}, {Step::Release}}, 1},
        {"release on another cell of the grid", {{Step::Press, B::Left, A::DataCell}, {Step::Release, B::Left, A::DataCell}}, 1},
        {"title row", {{Step::Press, B::Left, A::TitleRow}, {Step::Release, B::Left, A::TitleRow}}, 0},
        {"indicator column", {{Step::Press, B::Left, A::Indicator}, {Step::Release, B::Left, A::Indicator}}, 0},
        {"below the last row", {{Step::Press, B::Left, A::BelowRows}, {Step::Release, B::Left, A::BelowRows}}, 0},
        {"pressed below, released on a cell", {{Step::Press, B::Left, A::BelowRows}, {Step::Release}}, 0},
        {"pressed on a cell, released below", {{Step::Press}, {Step::Release, B::Left, A::BelowRows}}, 0},
        {"pressed on a cell, released off the grid", {{Step::Press}, {Step::Release, B::Left, A::Outside}}, 0},
        {"right button", {{Step::Press, B::Right}, {Step::Release, B::Right}}, 0},
        {"middle button", {{Step::Press, B::Middle}, {Step::Release, B::Middle}}, 0},
        {"a title border dragged after a cell press", {{Step::Press}, {Step::TitleDrag}, {Step::Release}}, 0},
        {"a release without a press", {{Step::Release}}, 0},
        {"one press, two releases", {{Step::Press}, {Step::Release}, {Step::Release}}, 1},
        {"right release while left is held", {{Step::Press}, {Step::Release, B::Right}, {Step::Release}}, 1},
        {"two clicks", {{Step::Press}, {Step::Release}, {Step::Press}, {Step::Release}}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CellClickRule rule;
        int clicks = 0;
        for (const Step& s : c.steps) {
            if (s.kind == Step::Press)
                rule.press(s.button, s.area);
            else if (s.kind == Step::TitleDrag)
                rule.titleDragStarted();
            else if (rule.release(s.button, s.area))
                ++clicks;
        }
        EXPECT_EQ(clicks, c.clicks);
    }
}

TEST(CellClickRule, AnyButtonOnARowMakesItCurrent)
{
    for (MouseButton b : {MouseButton::Left, MouseButton::Right, MouseButton::Middle}) {
        CellClickRule rule;
        EXPECT_TRUE(rule.press(b, GridArea::DataCell));
        EXPECT_TRUE(rule.press(b, GridArea::Indicator));
        EXPECT_FALSE(rule.press(b, GridArea::TitleRow));
        EXPECT_FALSE(rule.press(b, GridArea::BelowRows));
    }
}

} // namespace
