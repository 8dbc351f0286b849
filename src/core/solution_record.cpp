#include "core/solution_record.h"

namespace quelvo {

SolutionDisplay splitSolutionRecord(std::u16string_view record)
{
    SolutionDisplay shown;
    shown.dateCaption = std::u16string(DateCaption).append(record.substr(0, 14));

    std::u16string name(AnalystCaption);
    const auto first = record.find(RecordSeparator);
    name.append(first == std::u16string_view::npos ? record : record.substr(first + 1));

    // The caption holds no separator, so this is the record's second one.
    const auto second = name.find(RecordSeparator);
    if (second == std::u16string::npos) {
        shown.solutionText = std::move(name);
    } else {
        shown.analystCaption = name.substr(0, second);
        shown.solutionText = name.substr(second + 1);
    }
    return shown;
}

} // namespace quelvo
