// The one-pass pattern builder against the visiting algorithm it replaces,
// with the separators of a search or with any set of byte-sized characters.

#include "fuzz_input.h"

#include "core/search_pattern.h"
#include "core/text_case.h"
#include "support/visiting_pattern.h"

using fuzzing::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzing::Input in(data, size);
    quelvo::CharSet chars = quelvo::searchSeparators();
    if (in.byte() & 1) {
        chars.reset();
        for (int i = 0; i < 32; ++i) {
            const std::uint8_t bits = in.byte();
            for (int b = 0; b < 8; ++b)
                if (bits & (1 << b))
                    chars.set(static_cast<std::size_t>(i * 8 + b));
        }
    }
    const std::u16string typed = in.restAsUtf16();

    std::u16string fast = typed;
    std::u16string slow = typed;
    quelvo::RemoveCaracteres(fast, chars);
    quelvo::testing::visitingRemoveCaracteres(slow, chars);
    require(fast == slow, "one pass equals the visiting algorithm");

    require(fast.size() >= 1 && fast.front() == u'%' && fast.back() == u'%', "a % at both ends");
    require(fast.find(u"%%") == std::u16string::npos, "no run of %");
    // Everything else passes through, in order.
    std::u16string kept;
    for (const char16_t c : typed)
        if (c != u'%' && !(c < 256 && chars.test(c)))
            kept.push_back(c);
    std::u16string left = fast;
    std::erase(left, u'%');
    require(left == kept, "only separators and % change");

    if (chars == quelvo::searchSeparators()) {
        const std::u16string pattern = quelvo::buildSearchPattern(typed);
        require(pattern == quelvo::upperCase(fast), "the pattern is the upper-cased rewrite");
        require(pattern.size() == fast.size(), "upper-casing keeps the length");
    }
    return 0;
}
