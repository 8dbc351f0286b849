#pragma once

#include <string>
#include <string_view>

namespace quelvo {

// What the solution window shows of one stored solution record: the record
// holds a 14-character date, more head text, then the analyst between the
// first two "╗" and the solution body after the second.
struct SolutionDisplay {
    std::u16string dateCaption;     // "Data:" + first 14 characters
    std::u16string analystCaption;  // "Suporte:" + analyst, or empty
    std::u16string solutionText;
};

inline constexpr char16_t RecordSeparator = u'\u2557';
inline constexpr std::u16string_view DateCaption = u"Data:";
inline constexpr std::u16string_view AnalystCaption = u"Suporte:";

SolutionDisplay splitSolutionRecord(std::u16string_view record);

} // namespace quelvo
