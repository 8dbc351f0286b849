#pragma once

#include <bitset>
#include <string>
#include <string_view>

namespace quelvo {

// One bit per character code 0..255; codes above 255 are never members.
using CharSet = std::bitset<256>;

// Tab, line feed, carriage return and blank: what separates typed words.
const CharSet& searchSeparators();

// Rewrites `s` in place into a `like` pattern: "%" at both ends, every member
// of `chars` turned into "%", every run of "%" (typed ones included) reduced
// to one. Nothing is escaped: typed "_" and single "%" stay wildcards.
void RemoveCaracteres(std::u16string& s, const CharSet& chars);

// The pattern that a search sends for the typed text: upper-cased
// RemoveCaracteres of it with the separators above.
std::u16string buildSearchPattern(std::u16string_view typed);

} // namespace quelvo
