#include "ui/error_box.h"

#include "core/app_text.h"
#include "core/utf.h"

namespace ui {

ErrorBoxContent errorBoxFor(std::u16string_view executablePath, std::string_view utf8Message)
{
    return {quelvo::applicationTitle(executablePath), quelvo::errorBoxText(quelvo::fromUtf8(utf8Message))};
}

} // namespace ui
