#include "ui/result_rows.h"

#include "core/search_pattern.h"

#include <algorithm>

namespace ui {

int problemColumnWidth(int digitZeroWidth, int titleWidth)
{
    constexpr int FieldDisplayWidth = 5000;
    return std::max(FieldDisplayWidth * digitZeroWidth + 4, titleWidth + 4);
}

void ResultRows::search(std::u16string_view typedText)
{
    runSearch(quelvo::buildSearchPattern(typedText));
}

void ResultRows::runSearch(std::u16string pattern)
{
    shown_ = 0;
    query_.close();
    query_.setParameter(std::move(pattern));
    query_.open();
    shown_ = static_cast<int>(query_.rowCount());
}

quelvo::FieldValue ResultRows::field(int row, int column) const
{
    if (row < 0 || row >= shown_ || column < 0 || column >= GridColumnCount)
        return {};
    return query_.rows().field(static_cast<std::size_t>(row), static_cast<std::size_t>(column));
}

void ResultRows::fetchMore()
{
    if (canFetchMore())
        query_.fetchMore();
}

ResultRows::Range ResultRows::pendingRows() const
{
    if (!query_.isOpen())
        return {};
    return {shown_, static_cast<int>(query_.rowCount())};
}

void ResultRows::showPendingRows()
{
    const Range pending = pendingRows();
    if (!pending.empty())
        shown_ = pending.end;
}

void ResultRows::setCurrentRow(int row)
{
    if (row >= 0 && row < shown_)
        query_.setCurrentRow(static_cast<std::size_t>(row));
}

} // namespace ui
