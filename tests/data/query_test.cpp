#include "support.h"

#include <gtest/gtest.h>

using quelvo::DataError;
using quelvo::KnowledgeBaseQuery;
using testing_support::fakeService;
using testing_support::ProgramFolder;
using testing_support::scriptRows;

namespace {

class QueryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fake::reset();
        service = fakeService(folder);
    }

    KnowledgeBaseQuery& query() { return service->FDQuery1; }

    void search(const std::u16string& pattern)
    {
        query().close();
        query().setParameter(pattern);
        query().open();
    }

    std::string searchError(const std::u16string& pattern)
    {
        try {
            search(pattern);
        } catch (const std::exception& e) {
            return e.what();
        }
        return "(no error)";
    }

    // Nothing is held on the server: no transaction, no statement, no cursor.
    void expectNothingHeld() const
    {
        EXPECT_EQ(fake::record().openTransactions, 0);
        EXPECT_EQ(fake::record().preparedStatements, 0);
        EXPECT_FALSE(fake::record().cursorOpen);
    }

    std::vector<std::string> callsFrom(std::size_t start) const
    {
        const auto& calls = fake::record().calls;
        return {calls.begin() + static_cast<long>(start), calls.end()};
    }

    ProgramFolder folder;
    std::unique_ptr<TServiceConnection> service;
};

TEST_F(QueryTest, ASearchRunsTheExactStatementInItsOwnTransaction)
{
    scriptRows(3);
    search(u"%ERRO%");
    const auto& r = fake::record();
    EXPECT_EQ(r.statement,
              R"(select  t."problema", t."solucao" from "at_atendimento" t where upper (t."problema") like ?)");
    EXPECT_EQ(r.prepareDialect, 3u);
    EXPECT_EQ(r.transactionBlock, "\x03\x09\x07");
    EXPECT_EQ(r.transactionCount, 1);
    EXPECT_EQ(r.sqlInfoItems, "\x15");
    EXPECT_EQ(callsFrom(0), (std::vector<std::string>{
                                "isc_attach_database", "isc_database_info", "isc_start_multiple",
                                "isc_dsql_allocate_statement", "isc_dsql_prepare", "isc_dsql_sql_info",
                                "isc_dsql_describe", "isc_dsql_describe_bind", "isc_dsql_execute2", "isc_dsql_fetch",
                                "isc_dsql_fetch", "isc_dsql_fetch", "isc_dsql_fetch",
                                "isc_dsql_free_statement(close)", "isc_dsql_free_statement(drop)",
                                "isc_commit_transaction"}));
    ASSERT_EQ(r.executions.size(), 1u);
    EXPECT_EQ(r.executions[0].sqltype, SQL_VARYING | 1);
    EXPECT_EQ(r.executions[0].sqllen, 20000);
    EXPECT_EQ(r.executions[0].sqlsubtype, 4);
    EXPECT_EQ(r.executions[0].bytes, "%ERRO%");
    EXPECT_EQ(query().rowCount(), 3u);
}

TEST_F(QueryTest, ThePatternIsSentInUtf8)
{
    search(u"%AÇÃO%NÃO%");
    EXPECT_EQ(fake::record().executions.at(0).bytes, "%A\xC3\x87\xC3\x83O%N\xC3\x83O%");
}

TEST_F(QueryTest, ACharParameterIsBoundAsCharOfTheTextsLength)
{
    fake::script().parameter = {SQL_TEXT | 1, 4, 0, 40, ""};
    search(u"%AB%");
    EXPECT_EQ(fake::record().executions.at(0).sqltype, SQL_TEXT | 1);
    EXPECT_EQ(fake::record().executions.at(0).sqllen, 4);
    EXPECT_EQ(fake::record().executions.at(0).bytes, "%AB%");
}

TEST_F(QueryTest, BeforeTheFirstSearchTheParameterIsNull)
{
    query().open();
    EXPECT_TRUE(fake::record().executions.at(0).isNull);
}

struct LengthCase {
    const char* name;
    short characterSet;
    std::size_t bytes;
    bool passes;
    int maxBytes;
};

class PatternLength : public QueryTest, public ::testing::WithParamInterface<LengthCase> {};

TEST_P(PatternLength, TheClientChecksBytesAgainst5000TimesBytesPerCharacter)
{
    fake::script().parameter.sqlsubtype = GetParam().characterSet;
    // Two-byte letters with one ASCII letter where the count is odd.
    std::u16string pattern(GetParam().bytes / 2, u'é');
    if (GetParam().bytes % 2)
        pattern.push_back(u'A');
    const std::string error = searchError(pattern);
    if (GetParam().passes) {
        EXPECT_EQ(error, "(no error)");
        EXPECT_EQ(fake::record().executions.at(0).bytes.size(), GetParam().bytes);
        EXPECT_EQ(fake::record().executions.at(0).sqllen, GetParam().maxBytes);
    } else {
        EXPECT_EQ(error, "[FireDAC][Phys][FB]-345. Data too large for variable [ID]. Max len = [" +
                             std::to_string(GetParam().maxBytes) + "], actual len = [" +
                             std::to_string(GetParam().bytes) + "] Hint: set the TFDParam.Size to a greater value");
        EXPECT_TRUE(fake::record().executions.empty());
        EXPECT_EQ(fake::count("isc_rollback_transaction"), 1);
        expectNothingHeld();
        EXPECT_FALSE(query().isOpen());
    }
}

INSTANTIATE_TEST_SUITE_P(Boundary, PatternLength, ::testing::Values(
    LengthCase{"utf8_20000_passes", 4, 20000, true, 20000},
    LengthCase{"utf8_20001_fails", 4, 20001, false, 20000},
    LengthCase{"fss_15001_fails", 3, 15001, false, 15000},
    LengthCase{"none_5000_passes", 0, 5000, true, 5000},
    LengthCase{"none_5001_fails", 0, 5001, false, 5000}),
    [](const auto& info) { return std::string(info.param.name); });

struct BatchCase {
    int rows;
    std::vector<std::size_t> countsAfterEachFetch; // after open, then after each fetchMore
    std::vector<int> fetchCalls;
};

class Batches : public QueryTest, public ::testing::WithParamInterface<BatchCase> {};

TEST_P(Batches, RowsComeInBatchesOf50AndTheSearchEndsAtTheFirstEmptyFetch)
{
    scriptRows(GetParam().rows);
    search(u"%");
    const auto& counts = GetParam().countsAfterEachFetch;
    for (std::size_t i = 0; i < counts.size(); ++i) {
        if (i > 0)
            query().fetchMore();
        EXPECT_EQ(query().rowCount(), counts[i]) << "fetch " << i;
        EXPECT_EQ(fake::record().fetches, GetParam().fetchCalls[i]) << "fetch " << i;
        const bool last = i + 1 == counts.size();
        EXPECT_EQ(query().canFetchMore(), !last) << "fetch " << i;
        EXPECT_EQ(fake::count("isc_commit_transaction"), last ? 1 : 0) << "fetch " << i;
    }
    expectNothingHeld();
    // Further requests send nothing once the rows have run out.
    query().fetchMore();
    EXPECT_EQ(fake::record().fetches, GetParam().fetchCalls.back());
}

INSTANTIATE_TEST_SUITE_P(Boundaries, Batches, ::testing::Values(
    BatchCase{0, {0}, {1}},
    BatchCase{49, {49}, {50}},
    BatchCase{50, {50, 50}, {50, 51}},
    BatchCase{120, {50, 100, 120}, {50, 100, 121}}));

TEST_F(QueryTest, TheEndOfRowsClosesDropsAndCommitsInThatOrder)
{
    scriptRows(2);
    search(u"%");
    const auto& calls = fake::record().calls;
    EXPECT_EQ(std::vector<std::string>(calls.end() - 3, calls.end()),
              (std::vector<std::string>{"isc_dsql_free_statement(close)", "isc_dsql_free_statement(drop)",
                                        "isc_commit_transaction"}));
}

TEST_F(QueryTest, StreamEofAlsoMeansNoRowIsLeft)
{
    scriptRows(60);
    fake::script().failFetchAt = 3;
    fake::script().fetchFailure = fake::status({335544374});
    search(u"%");
    EXPECT_EQ(query().rowCount(), 3u);
    EXPECT_FALSE(query().canFetchMore());
    EXPECT_EQ(fake::count("isc_commit_transaction"), 1);
}

TEST_F(QueryTest, ANewSearchEndsTheRunningOneBeforeItsOwnTransactionStarts)
{
    scriptRows(80);
    search(u"%A%");
    const std::size_t mark = fake::record().calls.size();
    search(u"%B%");
    const auto calls = callsFrom(mark);
    EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + 4),
              (std::vector<std::string>{"isc_dsql_free_statement(close)", "isc_dsql_free_statement(drop)",
                                        "isc_commit_transaction", "isc_start_multiple"}));
    EXPECT_EQ(fake::record().attaches, 1);
}

TEST_F(QueryTest, ClosingAfterTheRowsRanOutSendsNothing)
{
    scriptRows(10);
    search(u"%");
    const std::size_t mark = fake::record().calls.size();
    query().close();
    EXPECT_TRUE(callsFrom(mark).empty());
    EXPECT_FALSE(query().isOpen());
    EXPECT_EQ(query().rowCount(), 0u);
}

struct FailingStep {
    const char* call;
};

class FailedPreparation : public QueryTest, public ::testing::WithParamInterface<FailingStep> {};

TEST_P(FailedPreparation, RollsBackLeavesNothingAndTheNextSearchWorks)
{
    fake::script().failures[GetParam().call] = {fake::status({335544569, 336397208, 335544580})};
    scriptRows(5);
    EXPECT_EQ(searchError(u"%X%"), "[FireDAC][Phys][FB]Dynamic SQL Error\r\nSQL error code = -204\r\nTable unknown");
    EXPECT_EQ(fake::count("isc_rollback_transaction"), 1);
    expectNothingHeld();
    EXPECT_FALSE(query().isOpen());
    EXPECT_TRUE(service->FDConnection1.isOpen()); // not a lost server

    search(u"%X%");
    EXPECT_EQ(query().rowCount(), 5u);
}

INSTANTIATE_TEST_SUITE_P(Steps, FailedPreparation, ::testing::Values(
    FailingStep{"isc_dsql_prepare"}, FailingStep{"isc_dsql_sql_info"}, FailingStep{"isc_dsql_describe"},
    FailingStep{"isc_dsql_describe_bind"}, FailingStep{"isc_dsql_execute2"}, FailingStep{"isc_dsql_fetch"}),
    [](const auto& info) { return std::string(info.param.call).substr(4); });

TEST_F(QueryTest, AnErrorInAFurtherBatchKeepsTheRowsAndHoldsNothing)
{
    scriptRows(120);
    fake::script().failFetchAt = 70;
    fake::script().fetchFailure = fake::status({335544569});
    search(u"%");
    EXPECT_THROW(query().fetchMore(), DataError);
    EXPECT_EQ(query().rowCount(), 70u);
    EXPECT_TRUE(query().isOpen());
    EXPECT_FALSE(query().canFetchMore());
    expectNothingHeld();
    search(u"%");
    EXPECT_EQ(query().rowCount(), 50u);
}

struct GoneCase {
    ISC_STATUS code;
    bool gone;
};

class ServerGone : public QueryTest, public ::testing::WithParamInterface<GoneCase> {};

TEST_P(ServerGone, ClosesTheConnectionSoTheNextSearchAttachesAnew)
{
    scriptRows(3);
    search(u"%");
    fake::script().failures["isc_dsql_execute2"] = {fake::status({GetParam().code})};
    EXPECT_THROW(search(u"%"), DataError);
    EXPECT_EQ(service->FDConnection1.isOpen(), !GetParam().gone);
    EXPECT_EQ(fake::record().detaches, GetParam().gone ? 1 : 0);

    search(u"%");
    EXPECT_EQ(query().rowCount(), 3u);
    EXPECT_EQ(fake::record().attaches, GetParam().gone ? 2 : 1);
}

INSTANTIATE_TEST_SUITE_P(Codes, ServerGone, ::testing::Values(
    GoneCase{335544375, true}, GoneCase{335544528, true}, GoneCase{335544648, true}, GoneCase{335544721, true},
    GoneCase{335544722, true}, GoneCase{335544723, true}, GoneCase{335544724, true}, GoneCase{335544725, true},
    GoneCase{335544726, true}, GoneCase{335544727, true}, GoneCase{335544741, true}, GoneCase{335544856, true},
    GoneCase{335544720, false}, GoneCase{335544728, false}, GoneCase{335544569, false}, GoneCase{335544321, false}));

struct TypeCase {
    const char* name;
    std::size_t column;
    fake::Column described;
    const char* actual; // nullptr: accepted
};

class FieldTypes : public QueryTest, public ::testing::WithParamInterface<TypeCase> {};

TEST_P(FieldTypes, OnlyWideTextColumnsAreAccepted)
{
    fake::script().columns[GetParam().column] = GetParam().described;
    scriptRows(1);
    const std::string error = searchError(u"%");
    if (!GetParam().actual) {
        EXPECT_EQ(error, "(no error)");
        return;
    }
    EXPECT_EQ(error, std::string("FDQuery1: Type mismatch for field '") + (GetParam().column ? "solucao" : "problema") +
                         "', expecting: WideString actual: " + GetParam().actual);
    expectNothingHeld();
    EXPECT_FALSE(query().isOpen());
}

INSTANTIATE_TEST_SUITE_P(Types, FieldTypes, ::testing::Values(
    TypeCase{"text_blob", 0, {SQL_BLOB | 1, 1, 4, 8, "problema"}, "WideMemo"},
    TypeCase{"binary_blob", 1, {SQL_BLOB | 1, 0, 0, 8, "solucao"}, "Blob"},
    TypeCase{"varchar_none", 0, {SQL_VARYING | 1, 0, 0, 5000, "problema"}, "String"},
    TypeCase{"char_none", 1, {SQL_TEXT | 1, 0, 0, 5000, "solucao"}, "FixedChar"},
    TypeCase{"varchar_octets", 0, {SQL_VARYING | 1, 1, 0, 5000, "problema"}, "VarBytes"},
    TypeCase{"char_octets", 1, {SQL_TEXT | 1, 1, 0, 5000, "solucao"}, "Bytes"},
    TypeCase{"integer", 1, {SQL_LONG | 1, 0, 0, 4, "solucao"}, "Integer"},
    TypeCase{"char_utf8_with_collation", 0, {SQL_TEXT | 1, 4 | (3 << 8), 0, 40, "problema"}, nullptr},
    TypeCase{"varchar_fss_any_length", 1, {SQL_VARYING | 1, 3, 0, 30, "solucao"}, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(QueryTest, ValuesAreDecodedTrimmedOnlyForCharAndCutAt5000)
{
    fake::script().columns[0] = {SQL_TEXT | 1, 4, 0, 40, "problema"};
    const std::string longText(6000, 'x');
    fake::script().rows = {
        {{"padded   ", "kept   "}},
        {{"a\xC3\xA7\xC3\xA3o", std::nullopt}},
        {{"", ""}},
        {{"z", longText}},
    };
    fake::script().columns[1].sqllen = 8000;
    search(u"%");
    const auto& rows = query().rows();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows.field(0, 0).text(), u"padded");
    EXPECT_EQ(rows.field(0, 1).text(), u"kept   ");
    EXPECT_EQ(rows.field(1, 0).text(), u"ação");
    EXPECT_TRUE(rows.field(1, 1).isNull);
    EXPECT_FALSE(rows.field(2, 0).isNull);
    EXPECT_FALSE(rows.field(2, 1).isNull);
    EXPECT_EQ(rows.field(2, 1).text(), u"");
    EXPECT_EQ(rows.field(3, 1).text(), std::u16string(5000, u'x'));
}

TEST_F(QueryTest, TheCurrentRowIsTheFirstAfterOpenAndFieldsReadByNameOrIndex)
{
    scriptRows(3);
    search(u"%");
    EXPECT_EQ(query().currentRow(), 0u);
    query().setCurrentRow(2);
    EXPECT_EQ(query().fieldByName("SOLUCAO").text(), u"s2");
    EXPECT_EQ(query().field(0).text(), u"p2");
    query().setCurrentRow(7); // out of range: stays
    EXPECT_EQ(query().currentRow(), 2u);
    EXPECT_THROW(query().fieldByName("data"), std::out_of_range);

    search(u"%NOTHING%");
    scriptRows(0);
    search(u"%");
    EXPECT_TRUE(query().field(1).isNull); // the empty result's row has no values
}

class CountingIndicator : public quelvo::BusyIndicator {
public:
    void databaseWorkStarted() override { ++depth, ++starts; }
    void databaseWorkEnded() override { --depth; }
    int depth = 0;
    int starts = 0;
};

TEST_F(QueryTest, EveryDatabaseOperationIsMarkedForTheWaitCursor)
{
    CountingIndicator indicator;
    service->FDConnection1.setBusyIndicator(&indicator);
    scriptRows(60);
    search(u"%");
    EXPECT_GE(indicator.starts, 2); // the open and, inside it, the attach
    EXPECT_EQ(indicator.depth, 0);
    const int before = indicator.starts;
    query().fetchMore();
    EXPECT_EQ(indicator.starts, before + 1);
    fake::script().failures["isc_dsql_prepare"] = {fake::status({335544569})};
    EXPECT_THROW(search(u"%"), DataError);
    EXPECT_EQ(indicator.depth, 0);
}

} // namespace
