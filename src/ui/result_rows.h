#pragma once

// The result grid's rows over the knowledge-base query, as both front-ends
// show them: the rows fetched so far, or one empty row while nothing is open
// or nothing matched; the next batch of 50 fetched only when the view needs
// a row past the last one. Rows fetched but not yet taken by the view are
// pending, so a view can announce them (Qt's models must, before they count).

#include "data/knowledge_base_query.h"

#include <string>
#include <string_view>

namespace ui {

inline constexpr int GridRowHeight = 18;
inline constexpr int GridIndicatorWidth = 12;
inline constexpr int GridCellPadding = 2;
inline constexpr int GridColumnCount = 2;
inline constexpr const char16_t* GridColumnTitles[GridColumnCount] = {u"Problema", u"solucao"};
inline constexpr int SolutionColumnWidth = 64;

// The problema column's width: its display width of 5000 characters, that is
// 5000 times the width of "0" in the grid's font, plus 4; at least its
// title's width plus 4.
int problemColumnWidth(int digitZeroWidth, int titleWidth);

class ResultRows {
public:
    explicit ResultRows(quelvo::KnowledgeBaseQuery& query) : query_(query) {}

    quelvo::KnowledgeBaseQuery& query() const { return query_; }

    // searchClick: the typed text as a pattern; close, set ID, open. On an
    // error nothing is shown and the error propagates.
    void search(std::u16string_view typedText);

    // Rows to draw: the rows shown, or the one empty row.
    int rowCount() const { return shown_ > 0 ? shown_ : 1; }
    // The rows drawn are the query's (not the empty row).
    bool hasRows() const { return shown_ > 0; }
    // A shown field without a copy; null for the empty row.
    quelvo::FieldValue field(int row, int column) const;

    bool canFetchMore() const { return shown_ > 0 && query_.canFetchMore(); }
    // Fetches the next batch. An error propagates; the rows that came before
    // it are pending all the same.
    void fetchMore();

    struct Range {
        int first = 0;
        int end = 0;
        bool empty() const { return end <= first; }
    };
    Range pendingRows() const;
    void showPendingRows();

    // Makes a shown row the query's current row (what a click reads).
    void setCurrentRow(int row);

private:
    void runSearch(std::u16string pattern);

    quelvo::KnowledgeBaseQuery& query_;
    int shown_ = 0;
};

} // namespace ui
