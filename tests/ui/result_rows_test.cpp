// The grid's rows over the query (through the fake client library): the
// empty row, batches fetched only on demand, rows kept after an error, and
// what a click on the current row shows.

#include "ui/result_rows.h"
#include "ui/solution_content.h"

#include "support.h"

#include <gtest/gtest.h>

using testing_support::fakeService;
using testing_support::ProgramFolder;
using testing_support::scriptRows;
using ui::ResultRows;

namespace {

class ResultRowsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fake::reset();
        service = fakeService(folder);
    }

    quelvo::KnowledgeBaseQuery& query() { return service->FDQuery1; }

    std::optional<std::string> problemAt(const ResultRows& rows, int row) const
    {
        const quelvo::FieldValue v = rows.field(row, 0);
        if (v.isNull)
            return std::nullopt;
        std::string text;
        for (char16_t c : v.text())
            text.push_back(static_cast<char>(c));
        return text;
    }

    ProgramFolder folder;
    std::unique_ptr<TServiceConnection> service;
};

TEST_F(ResultRowsTest, OneEmptyRowBeforeAnySearchAndWhenNothingMatched)
{
    ResultRows rows(query());
    EXPECT_EQ(rows.rowCount(), 1);
    EXPECT_FALSE(rows.hasRows());
    EXPECT_TRUE(rows.field(0, 0).isNull);
    EXPECT_EQ(fake::record().attaches, 0);

    scriptRows(0);
    rows.search(u"nada");
    EXPECT_EQ(rows.rowCount(), 1);
    EXPECT_FALSE(rows.hasRows());
    EXPECT_FALSE(rows.canFetchMore());
}

TEST_F(ResultRowsTest, TheTypedTextGoesOutAsThePattern)
{
    scriptRows(1);
    ResultRows rows(query());
    rows.search(u"  erro\r\nao\tsalvar ");
    ASSERT_EQ(fake::record().executions.size(), 1u);
    EXPECT_EQ(fake::record().executions[0].bytes, "%ERRO%AO%SALVAR%");
}

TEST_F(ResultRowsTest, BatchesOf50OnlyWhenTheViewAsksAndPendingUntilTaken)
{
    scriptRows(120);
    ResultRows rows(query());
    rows.search(u"p");
    EXPECT_EQ(rows.rowCount(), 50);
    EXPECT_EQ(fake::record().fetches, 50);
    EXPECT_TRUE(rows.canFetchMore());
    EXPECT_TRUE(rows.pendingRows().empty());

    rows.fetchMore();
    EXPECT_EQ(rows.rowCount(), 50); // not shown before the view takes them
    EXPECT_EQ(rows.pendingRows().first, 50);
    EXPECT_EQ(rows.pendingRows().end, 100);
    rows.showPendingRows();
    EXPECT_EQ(rows.rowCount(), 100);
    EXPECT_EQ(problemAt(rows, 99), "p99");

    rows.fetchMore();
    rows.showPendingRows();
    EXPECT_EQ(rows.rowCount(), 120);
    EXPECT_FALSE(rows.canFetchMore());
    const int fetches = fake::record().fetches;
    rows.fetchMore(); // nothing left: nothing sent
    EXPECT_EQ(fake::record().fetches, fetches);
}

TEST_F(ResultRowsTest, RowsBeforeAFailedBatchStillShow)
{
    scriptRows(120);
    fake::script().failFetchAt = 70;
    fake::script().fetchFailure = fake::status({isc_arith_except});
    ResultRows rows(query());
    rows.search(u"p");
    EXPECT_THROW(rows.fetchMore(), std::exception);
    EXPECT_EQ(rows.pendingRows().end, 70);
    rows.showPendingRows();
    EXPECT_EQ(rows.rowCount(), 70);
    EXPECT_FALSE(rows.canFetchMore());
}

TEST_F(ResultRowsTest, AFailedSearchShowsTheEmptyRow)
{
    scriptRows(3);
    ResultRows rows(query());
    rows.search(u"p");
    EXPECT_EQ(rows.rowCount(), 3);
    fake::script().failures["isc_dsql_prepare"].push_back(fake::status({isc_dsql_error}));
    EXPECT_THROW(rows.search(u"p"), std::exception);
    EXPECT_EQ(rows.rowCount(), 1);
    EXPECT_FALSE(rows.hasRows());
    EXPECT_TRUE(rows.pendingRows().empty());
}

TEST_F(ResultRowsTest, TheCurrentRowIsWhatAClickShows)
{
    fake::script().rows = {{{"first problem", "01/02/26 10:00╗Ana╗first body"}},
                           {{"second problem", "02/02/26 11:30 xx╗Bruno╗second╗body"}}};
    ResultRows rows(query());
    rows.search(u"problem");
    rows.setCurrentRow(1);
    const auto content = ui::solutionForCurrentRow(query());
    ASSERT_TRUE(content);
    EXPECT_EQ(*content, (ui::SolutionContent{u"Data:02/02/26 11:30", u"Suporte:Bruno", u"second╗body",
                                             u"second problem"}));
    rows.setCurrentRow(7); // not a shown row: the current row stays
    EXPECT_EQ(ui::solutionForCurrentRow(query())->problemText, u"second problem");
    rows.setCurrentRow(0);
    EXPECT_EQ(ui::solutionForCurrentRow(query())->analystCaption, u"Suporte:Ana");
}

TEST_F(ResultRowsTest, NothingToShowWithoutAnOpenResultAndNullsCannotBeShown)
{
    EXPECT_EQ(ui::solutionForCurrentRow(query()), std::nullopt); // before any search

    fake::script().rows = {{{"p", std::nullopt}}};
    ResultRows rows(query());
    rows.search(u"p");
    EXPECT_THROW(ui::solutionForCurrentRow(query()), ui::NullConversionError);

    fake::script().rows = {{{std::nullopt, "01/02/26 10:00╗Ana╗b"}}};
    rows.search(u"p");
    EXPECT_THROW(ui::solutionForCurrentRow(query()), ui::NullConversionError);

    scriptRows(0); // the empty row of a result with no rows
    rows.search(u"p");
    try {
        (void)ui::solutionForCurrentRow(query());
        FAIL() << "no error";
    } catch (const ui::NullConversionError& e) {
        EXPECT_STREQ(e.what(), "Could not convert variant of type (Null) into type (OleStr)");
    }
}

TEST(GridColumns, TheProblemColumnIsItsDisplayWidthOfDigits)
{
    EXPECT_EQ(ui::problemColumnWidth(7, 50), 35004);
    EXPECT_EQ(ui::problemColumnWidth(0, 50), 54); // at least the title's width plus 4
}

} // namespace
