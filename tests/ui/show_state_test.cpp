#include "ui/show_state.h"

#include <gtest/gtest.h>

using namespace ui;

namespace {

TEST(ShowState, FromTheLaunchersShowCommand)
{
    EXPECT_EQ(showStateFromCommand(3), ShowState::Maximized);  // SW_SHOWMAXIMIZED
    EXPECT_EQ(showStateFromCommand(7), ShowState::Minimized);  // SW_SHOWMINNOACTIVE
    for (int other : {0, 1, 2, 4, 5, 6, 8, 9, 10, 11})
        EXPECT_EQ(showStateFromCommand(other), ShowState::Normal) << other;
}

TEST(ShowState, FromAName)
{
    struct Case {
        const char* name;
        ShowState state;
    } cases[] = {
        {"maximized", ShowState::Maximized}, {"3", ShowState::Maximized},   {" Minimized ", ShowState::Minimized},
        {"7", ShowState::Minimized},         {"MAXIMIZED", ShowState::Maximized}, {"1", ShowState::Normal},
        {"", ShowState::Normal},             {"maximised", ShowState::Normal},
    };
    for (const Case& c : cases)
        EXPECT_EQ(showStateFromName(c.name), c.state) << '"' << c.name << '"';
}

} // namespace
