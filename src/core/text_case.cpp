#include "core/text_case.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <clocale>
#include <cstring>
#include <cwctype>
#include <langinfo.h>
#include <locale.h>
#endif

namespace quelvo {

#ifdef _WIN32

std::u16string upperCase(std::u16string_view text)
{
    std::u16string copy(text);
    if (!copy.empty())
        CharUpperBuffW(reinterpret_cast<wchar_t*>(copy.data()), static_cast<DWORD>(copy.size()));
    return copy;
}

std::u16string lowerCase(std::u16string_view text)
{
    std::u16string copy(text);
    if (!copy.empty())
        CharLowerBuffW(reinterpret_cast<wchar_t*>(copy.data()), static_cast<DWORD>(copy.size()));
    return copy;
}

#else

namespace {

bool isUtf8(locale_t loc)
{
    const char* codeset = nl_langinfo_l(CODESET, loc);
    return codeset && (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0);
}

// The user's LC_CTYPE when it maps Unicode, otherwise C.UTF-8. Made once and
// kept for the life of the process.
locale_t caseLocale()
{
    static const locale_t loc = [] {
        locale_t user = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(nullptr));
        if (user && isUtf8(user))
            return user;
        if (user)
            freelocale(user);
        return newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    }();
    return loc;
}

// Without any Unicode locale on the machine, at least Latin-1 maps.
char16_t latin1Upper(char16_t c)
{
    if (c >= u'a' && c <= u'z')
        return c - 0x20;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return c - 0x20;
    return c;
}

char16_t latin1Lower(char16_t c)
{
    if (c >= u'A' && c <= u'Z')
        return c + 0x20;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return c + 0x20;
    return c;
}

template <typename Map, typename Fallback>
std::u16string mapUnits(std::u16string_view text, Map map, Fallback fallback)
{
    std::u16string out(text);
    const locale_t loc = caseLocale();
    for (char16_t& c : out) {
        if (c < 0x80) {
            c = fallback(c);
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            // Half of a pair: no one-unit mapping exists.
        } else if (loc) {
            const wint_t m = map(static_cast<wint_t>(c), loc);
            if (m <= 0xFFFF && !(m >= 0xD800 && m <= 0xDFFF))
                c = static_cast<char16_t>(m);
        } else {
            c = fallback(c);
        }
    }
    return out;
}

} // namespace

std::u16string upperCase(std::u16string_view text)
{
    return mapUnits(text, [](wint_t c, locale_t l) { return towupper_l(c, l); }, latin1Upper);
}

std::u16string lowerCase(std::u16string_view text)
{
    return mapUnits(text, [](wint_t c, locale_t l) { return towlower_l(c, l); }, latin1Lower);
}

#endif

} // namespace quelvo
