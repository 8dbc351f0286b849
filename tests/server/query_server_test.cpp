#include "server_database.h"

#include "core/search_pattern.h"
#include "data/data_error.h"

#include <gtest/gtest.h>

#include <unistd.h>

using testing_support::attendanceTable;
using testing_support::ServerDatabase;

namespace {

std::string searchError(TServiceConnection& service, const std::u16string& typed)
{
    try {
        service.FDQuery1.close();
        service.FDQuery1.setParameter(quelvo::buildSearchPattern(typed));
        service.FDQuery1.open();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "(no error)";
}

void search(TServiceConnection& service, const std::u16string& typed)
{
    const std::string error = searchError(service, typed);
    ASSERT_EQ(error, "(no error)");
}

struct BatchCase {
    int matching;
    std::vector<std::size_t> counts; // after open, then after each further batch
};

class RealBatches : public ::testing::TestWithParam<BatchCase> {};

TEST_P(RealBatches, RowsArriveInBatchesOf50OnlyWhenAsked)
{
    ServerDatabase db("batches", attendanceTable(GetParam().matching, 30));
    auto service = db.service();
    search(*service, u"erro  ao\r\nsalvar");
    auto& query = service->FDQuery1;
    const auto& counts = GetParam().counts;
    for (std::size_t i = 0; i < counts.size(); ++i) {
        if (i > 0)
            query.fetchMore();
        EXPECT_EQ(query.rowCount(), counts[i]) << "batch " << i;
        EXPECT_EQ(query.canFetchMore(), i + 1 < counts.size()) << "batch " << i;
    }
    for (std::size_t r = 0; r < query.rowCount(); ++r)
        EXPECT_EQ(query.rows().field(r, 0).text().substr(0, 29), u"Cliente relata erro ao salvar");
    service->shutdown();
}

INSTANTIATE_TEST_SUITE_P(Matches, RealBatches, ::testing::Values(
    BatchCase{0, {0}}, BatchCase{49, {49}}, BatchCase{50, {50, 50}}, BatchCase{120, {50, 100, 120}}));

TEST(RealServer, NullEmptyAndAccentedValuesComeBackAsStored)
{
    ServerDatabase db("values",
                      "CREATE TABLE \"at_atendimento\" (\"problema\" VARCHAR(5000), \"solucao\" VARCHAR(5000));\n"
                      "INSERT INTO \"at_atendimento\" VALUES ('Erro na emissão de nota fiscal', NULL);\n"
                      "INSERT INTO \"at_atendimento\" VALUES ('ERRO NA EMISSÃO', '');\n"
                      "INSERT INTO \"at_atendimento\" VALUES ('outra coisa', 'x');\n");
    auto service = db.service();
    search(*service, u"emissão");
    const auto& rows = service->FDQuery1.rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows.field(0, 0).text(), u"Erro na emissão de nota fiscal");
    EXPECT_TRUE(rows.field(0, 1).isNull);
    EXPECT_FALSE(rows.field(1, 1).isNull);
    EXPECT_EQ(rows.field(1, 1).text(), u"");
    service->shutdown();
}

TEST(RealServer, CharLosesTrailingBlanksAndVarcharKeepsThem)
{
    ServerDatabase db("char",
                      "CREATE TABLE \"at_atendimento\" (\"problema\" CHAR(20), \"solucao\" VARCHAR(50));\n"
                      "INSERT INTO \"at_atendimento\" VALUES ('tela travada', 'reiniciar   ');\n");
    auto service = db.service();
    search(*service, u"tela");
    const auto& rows = service->FDQuery1.rows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows.field(0, 0).text(), u"tela travada");
    EXPECT_EQ(rows.field(0, 1).text(), u"reiniciar   ");
    service->shutdown();
}

struct SchemaCase {
    const char* name;
    const char* ddl;
    const char* expected; // the whole message, or the part after the prefix that must appear
    bool whole;
};

class WrongSchema : public ::testing::TestWithParam<SchemaCase> {};

TEST_P(WrongSchema, EverySearchFailsWithTheServersOrTheFieldsText)
{
    ServerDatabase db(GetParam().name, GetParam().ddl);
    auto service = db.service();
    for (int attempt = 0; attempt < 2; ++attempt) {
        const std::string error = searchError(*service, u"erro");
        if (GetParam().whole) {
            EXPECT_EQ(error, GetParam().expected);
        } else {
            EXPECT_EQ(error.rfind("[FireDAC][Phys][FB]Dynamic SQL Error\r\n", 0), 0u) << error;
            EXPECT_NE(error.find(GetParam().expected), std::string::npos) << error;
        }
        EXPECT_FALSE(service->FDQuery1.isOpen());
    }
    // The failure left no transaction behind on the server.
    const std::string open = db.isql(
        "SELECT 'open=' || COUNT(*) FROM MON$TRANSACTIONS t JOIN MON$ATTACHMENTS a "
        "ON a.MON$ATTACHMENT_ID = t.MON$ATTACHMENT_ID WHERE a.MON$REMOTE_PID = " + std::to_string(getpid()) + ";\n");
    EXPECT_NE(open.find("open=0"), std::string::npos) << open;
    service->shutdown();
}

INSTANTIATE_TEST_SUITE_P(Schemas, WrongSchema, ::testing::Values(
    SchemaCase{"missing_table", "CREATE TABLE OTHER (X INTEGER);", "Table unknown\r\nat_atendimento", false},
    SchemaCase{"upper_case_names", "CREATE TABLE AT_ATENDIMENTO (PROBLEMA VARCHAR(100), SOLUCAO VARCHAR(100));",
               "Table unknown\r\nat_atendimento", false},
    SchemaCase{"upper_case_column", "CREATE TABLE \"at_atendimento\" (PROBLEMA VARCHAR(100), \"solucao\" VARCHAR(100));",
               "Column unknown\r\nT.problema", false},
    SchemaCase{"text_blob",
               "CREATE TABLE \"at_atendimento\" (\"problema\" BLOB SUB_TYPE TEXT, \"solucao\" VARCHAR(100));",
               "FDQuery1: Type mismatch for field 'problema', expecting: WideString actual: WideMemo", true},
    SchemaCase{"none_varchar",
               "CREATE TABLE \"at_atendimento\" (\"problema\" VARCHAR(100) CHARACTER SET NONE, \"solucao\" VARCHAR(100));",
               "FDQuery1: Type mismatch for field 'problema', expecting: WideString actual: String", true},
    SchemaCase{"none_char",
               "CREATE TABLE \"at_atendimento\" (\"problema\" VARCHAR(100), \"solucao\" CHAR(10) CHARACTER SET NONE);",
               "FDQuery1: Type mismatch for field 'solucao', expecting: WideString actual: FixedChar", true},
    SchemaCase{"octets_varchar",
               "CREATE TABLE \"at_atendimento\" (\"problema\" VARCHAR(100), \"solucao\" VARCHAR(10) CHARACTER SET OCTETS);",
               "FDQuery1: Type mismatch for field 'solucao', expecting: WideString actual: VarBytes", true},
    SchemaCase{"octets_char",
               "CREATE TABLE \"at_atendimento\" (\"problema\" VARCHAR(100), \"solucao\" CHAR(10) CHARACTER SET OCTETS);",
               "FDQuery1: Type mismatch for field 'solucao', expecting: WideString actual: Bytes", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RealServer, APatternLongerThanTheColumnFailsWithTheServersTextAndHoldsNothing)
{
    ServerDatabase db("long", attendanceTable(3, 0));
    auto service = db.service();
    // 5001 characters fit the client's 20000 bytes; the server refuses them,
    // and says so only at the first fetch.
    const std::string error = searchError(*service, std::u16string(4999, u'x'));
    EXPECT_EQ(error.rfind("[FireDAC][Phys][FB]", 0), 0u) << error;
    EXPECT_NE(error.find("truncation"), std::string::npos) << error;
    EXPECT_FALSE(service->FDQuery1.isOpen());
    search(*service, u"erro");
    EXPECT_EQ(service->FDQuery1.rowCount(), 3u);
    service->shutdown();
}

TEST(RealServer, TwoSearchesAttachOnce)
{
    ServerDatabase db("attach", attendanceTable(5, 5));
    auto service = db.service();
    search(*service, u"erro");
    search(*service, u"salvar");
    const std::string count = db.isql(
        "SELECT 'attachments=' || COUNT(*) FROM MON$ATTACHMENTS WHERE MON$REMOTE_PID = " + std::to_string(getpid()) +
        ";\n");
    EXPECT_NE(count.find("attachments=1"), std::string::npos) << count;
    EXPECT_EQ(service->FDQuery1.rowCount(), 5u);
    EXPECT_EQ(service->FDConnection1.serverVersion().rfind("LI-V3.0", 0), 0u);
    service->shutdown();
}

TEST(RealServer, NoDatabaseAtThePathShowsTheServersText)
{
    ServerDatabase db("nodb", "");
    TServiceConnection service(db.folder() + "/elsewhere");
    service.DataModuleCreate();
    service.FDConnection1.settings.server = "127.0.0.1";
    const std::string error = searchError(service, u"x");
    EXPECT_EQ(error.rfind("[FireDAC][Phys][FB]I/O error during \"open\" operation for file", 0), 0u) << error;
    EXPECT_FALSE(service.FDConnection1.isOpen());
}

} // namespace
