#pragma once

#include <string>
#include <string_view>

namespace quelvo {

// Case mapping by the user's locale, one UTF-16 unit for one, so lengths never
// change. Under a locale that only knows ASCII (a bare "C"), the mapping falls
// back to full Unicode, so accented letters still map.
std::u16string upperCase(std::u16string_view text);
std::u16string lowerCase(std::u16string_view text);

} // namespace quelvo
