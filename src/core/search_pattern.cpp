#include "core/search_pattern.h"

#include "core/text_case.h"

namespace quelvo {

const CharSet& searchSeparators()
{
    static const CharSet set = [] {
        CharSet s;
        s.set(u'\t');
        s.set(u'\n');
        s.set(u'\r');
        s.set(u' ');
        return s;
    }();
    return set;
}

void RemoveCaracteres(std::u16string& s, const CharSet& chars)
{
    // One pass: a "%" is written only when the previous output is not one.
    std::u16string out;
    out.reserve(s.size() + 2);
    out.push_back(u'%');
    for (const char16_t c : s) {
        const bool wildcard = c == u'%' || (c < 256 && chars.test(c));
        if (!wildcard)
            out.push_back(c);
        else if (out.back() != u'%')
            out.push_back(u'%');
    }
    if (out.back() != u'%')
        out.push_back(u'%');
    s = std::move(out);
}

std::u16string buildSearchPattern(std::u16string_view typed)
{
    std::u16string pattern(typed);
    RemoveCaracteres(pattern, searchSeparators());
    return upperCase(pattern);
}

} // namespace quelvo
