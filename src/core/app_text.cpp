#include "core/app_text.h"

#include "core/text_case.h"

namespace quelvo {

std::u16string applicationTitle(std::u16string_view executablePath)
{
    std::u16string_view name = executablePath;
    const auto slash = name.find_last_of(u"/\\");
    if (slash != std::u16string_view::npos)
        name.remove_prefix(slash + 1);
    name = name.substr(0, name.find(u'.'));
    if (name.empty())
        return {};
    std::u16string title(1, name.front());
    title += lowerCase(name.substr(1));
    return title;
}

std::u16string errorBoxText(std::u16string_view message)
{
    std::u16string text(message);
    if (!text.empty() && text.back() > u'.')
        text.push_back(u'.');
    return text;
}

} // namespace quelvo
