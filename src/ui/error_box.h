#pragma once

// What the error box shows for an error: the application title as caption,
// and the message with a "." appended when its last character sorts after
// ".". A stop icon and one OK button go with it in both front-ends.

#include <string>
#include <string_view>

namespace ui {

struct ErrorBoxContent {
    std::u16string caption;
    std::u16string text;
    friend bool operator==(const ErrorBoxContent&, const ErrorBoxContent&) = default;
};

// `executablePath`: the program file's full path, from which the title comes;
// `utf8Message`: the error's message.
ErrorBoxContent errorBoxFor(std::u16string_view executablePath, std::string_view utf8Message);

} // namespace ui
