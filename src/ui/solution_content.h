#pragma once

// What a click on a result row shows in the solution window: the date and
// analyst captions and the solution body split from the row's solution
// record, and the problem text.

#include "data/knowledge_base_query.h"

#include <optional>
#include <stdexcept>
#include <string>

namespace ui {

// A null field read as text.
class NullConversionError : public std::runtime_error {
public:
    NullConversionError() : std::runtime_error("Could not convert variant of type (Null) into type (OleStr)") {}
};

struct SolutionContent {
    std::u16string dateCaption;    // Label3
    std::u16string analystCaption; // Label4
    std::u16string solutionText;   // Memo1
    std::u16string problemText;    // Memo2
    friend bool operator==(const SolutionContent&, const SolutionContent&) = default;
};

// The content for the query's current row. Nothing when no result is open
// (before any search, or after one that failed to open): there is no row to
// read, and the click is ignored. A null `solucao` or `problema`, as on the
// empty row of a result with no rows, throws NullConversionError.
std::optional<SolutionContent> solutionForCurrentRow(const quelvo::KnowledgeBaseQuery& query);

} // namespace ui
