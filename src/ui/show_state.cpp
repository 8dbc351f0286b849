#include "ui/show_state.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace ui {

ShowState showStateFromCommand(int showCommand)
{
    constexpr int ShowMaximized = 3;       // SW_SHOWMAXIMIZED
    constexpr int ShowMinimizedNoActive = 7; // SW_SHOWMINNOACTIVE
    if (showCommand == ShowMaximized)
        return ShowState::Maximized;
    if (showCommand == ShowMinimizedNoActive)
        return ShowState::Minimized;
    return ShowState::Normal;
}

ShowState showStateFromName(std::string_view name)
{
    auto blank = [](unsigned char c) { return std::isspace(c) != 0; };
    while (!name.empty() && blank(static_cast<unsigned char>(name.front())))
        name.remove_prefix(1);
    while (!name.empty() && blank(static_cast<unsigned char>(name.back())))
        name.remove_suffix(1);
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (lower == "maximized" || lower == "3")
        return ShowState::Maximized;
    if (lower == "minimized" || lower == "7")
        return ShowState::Minimized;
    return ShowState::Normal;
}

} // namespace ui
