#pragma once

#include <string>
#include <string_view>

namespace quelvo {

// The application title from the executable's full path: the file name cut
// at its first ".", every character after the first in lower case.
std::u16string applicationTitle(std::u16string_view executablePath);

// The text an error box shows: the message with a "." appended when its last
// character sorts after "." (a letter, a digit, "]", ...).
std::u16string errorBoxText(std::u16string_view message);

} // namespace quelvo
