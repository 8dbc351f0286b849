#include "ui/solution_content.h"

#include "core/solution_record.h"

namespace ui {

std::optional<SolutionContent> solutionForCurrentRow(const quelvo::KnowledgeBaseQuery& query)
{
    if (!query.isOpen())
        return std::nullopt;
    const quelvo::FieldValue solucao = query.fieldByName("solucao");
    if (solucao.isNull)
        throw NullConversionError();
    quelvo::SolutionDisplay shown = quelvo::splitSolutionRecord(solucao.text());
    const quelvo::FieldValue problema = query.fieldByName("problema");
    if (problema.isNull)
        throw NullConversionError();
    return SolutionContent{std::move(shown.dateCaption), std::move(shown.analystCaption),
                           std::move(shown.solutionText), std::u16string(problema.text())};
}

} // namespace ui
