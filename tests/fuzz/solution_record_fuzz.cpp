// The solution record split: whatever the record holds, the three pieces
// shown put it back together around its first two separators.

#include "fuzz_input.h"

#include "core/solution_record.h"

using fuzzing::require;
using quelvo::AnalystCaption;
using quelvo::RecordSeparator;

namespace {

bool endsWith(std::u16string_view text, std::u16string_view tail)
{
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzing::Input in(data, size);
    // Separators are rare in random units: let each input byte pair say
    // whether it is one.
    std::u16string record;
    while (in.left() >= 2) {
        const std::uint16_t unit = in.u16();
        record.push_back((unit & 0x0F00) == 0x0F00 ? RecordSeparator : static_cast<char16_t>(unit));
    }
    const quelvo::SolutionDisplay shown = quelvo::splitSolutionRecord(record);
    const std::u16string_view view = record;

    require(shown.dateCaption == std::u16string(quelvo::DateCaption) + std::u16string(view.substr(0, 14)),
            "the date is the first 14 units");

    const auto first = view.find(RecordSeparator);
    if (!shown.analystCaption.empty()) {
        require(shown.analystCaption.starts_with(AnalystCaption), "the analyst follows its caption");
        const std::u16string_view analyst = std::u16string_view(shown.analystCaption).substr(AnalystCaption.size());
        require(analyst.find(RecordSeparator) == std::u16string_view::npos, "the analyst holds no separator");
        // first separator, analyst, second separator, body: to the end.
        std::u16string tail(1, RecordSeparator);
        tail.append(analyst).push_back(RecordSeparator);
        tail += shown.solutionText;
        require(first != std::u16string_view::npos && view.substr(first) == tail,
                "analyst and body are all that follows the first separator");
    } else {
        require(shown.solutionText.starts_with(AnalystCaption), "without an analyst the body keeps the caption");
        const std::u16string_view body = std::u16string_view(shown.solutionText).substr(AnalystCaption.size());
        require(body.find(RecordSeparator) == std::u16string_view::npos, "at most one separator was there");
        require(endsWith(view, body), "the body is the record's end");
        require(first == std::u16string_view::npos ? body == view : body == view.substr(first + 1),
                "the body starts after the first separator, if any");
    }
    return 0;
}
