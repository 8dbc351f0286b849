#pragma once

// The pattern rule as first written: visit every position from the last to
// the first, turn a separator into "%", then replace the first "%%" found.
// Quadratic; kept only to check the one-pass builder against it.

#include "core/search_pattern.h"

#include <string>

namespace quelvo::testing {

inline void visitingRemoveCaracteres(std::u16string& s, const CharSet& chars)
{
    s = u"%" + s + u"%";
    const std::size_t n = s.size();
    for (std::size_t i = n; i >= 1; --i) {
        char16_t& c = s[i - 1];
        if (c < 256 && chars.test(c) && c != u'%')
            c = u'%';
        const auto pair = s.find(u"%%");
        if (pair != std::u16string::npos)
            s.erase(pair, 1);
    }
}

} // namespace quelvo::testing
