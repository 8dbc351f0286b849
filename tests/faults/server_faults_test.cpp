// Faults on the server side while the program runs. Each ends with a search
// that works without a restart of the program, one attachment of the
// program on the server and no transaction of it left active.

#include "fault_support.h"

#include "data/data_error.h"

#include <gtest/gtest.h>

using faults::fetchToTheEnd;
using faults::search;
using faults::serverHeld;
using testing_support::attendanceTable;
using testing_support::ServerDatabase;

namespace {

constexpr const char* Prefix = "[FireDAC][Phys][FB]";
// More matches than the client library reads ahead of the program (about 26
// rows of this table per packet), so a further batch needs the server.
constexpr int ManyMatches = 600;

struct Failure {
    std::string text;
    long code = 0;
};

// Scrolls on. Rows the client library had already received may still come;
// the failure shows at the latest when a batch needs the server.
Failure scrollOnUntilFailure(TServiceConnection& service)
{
    try {
        while (service.FDQuery1.canFetchMore())
            service.FDQuery1.fetchMore();
    } catch (const quelvo::DataError& e) {
        return {e.what(), e.code()};
    }
    return {"(no failure: all rows came)", 0};
}

void expectASearchWorksAndNothingIsHeld(const ServerDatabase& db, TServiceConnection& service, std::size_t rows,
                                        long besides = -1)
{
    EXPECT_EQ(search(service, u"erro ao salvar"), "");
    fetchToTheEnd(service);
    EXPECT_EQ(service.FDQuery1.rowCount(), rows);
    const auto held = serverHeld(db, besides);
    EXPECT_EQ(held.attachments, 1);
    EXPECT_EQ(held.activeTransactions, 0);
}

// Half scrolled through a long result: the cursor and its transaction are open.
void searchAndScrollHalfway(const ServerDatabase& db, TServiceConnection& service)
{
    ASSERT_EQ(search(service, u"erro ao salvar"), "");
    service.FDQuery1.fetchMore();
    ASSERT_EQ(service.FDQuery1.rowCount(), 100u);
    ASSERT_TRUE(service.FDQuery1.canFetchMore());
    ASSERT_EQ(serverHeld(db).activeTransactions, 1);
}

std::string gfix(const ServerDatabase& db, const std::string& action)
{
    return faults::run("gfix " + action + " -user SYSDBA -password plumbgate 127.0.0.1/3050:" + db.databasePath());
}

TEST(ServerFault, KilledWhileACursorIsOpenAFurtherBatchFailsAndTheNextSearchWorks)
{
    ServerDatabase db("killed", attendanceTable(ManyMatches, 10));
    faults::ServerBack back;
    auto service = db.service();
    searchAndScrollHalfway(db, *service);

    faults::killServer();
    const Failure failure = scrollOnUntilFailure(*service);
    std::printf("batch after the kill: %s\n", failure.text.c_str());
    EXPECT_EQ(failure.text.rfind(Prefix, 0), 0u) << failure.text;
    EXPECT_TRUE(quelvo::isServerGone(failure.code)) << failure.code;
    // What was read stays readable; the client cannot have held many more.
    EXPECT_GE(service->FDQuery1.rowCount(), 100u);
    EXPECT_LT(service->FDQuery1.rowCount(), 200u);
    EXPECT_FALSE(service->FDQuery1.canFetchMore());
    EXPECT_FALSE(service->FDConnection1.isOpen());

    testing_support::serverScript("start");
    expectASearchWorksAndNothingIsHeld(db, *service, ManyMatches);
    service->shutdown();
    EXPECT_EQ(serverHeld(db).attachments, 0);
}

TEST(ServerFault, StoppedAndStartedBetweenSearchesTheFirstSearchFailsAndTheNextWorks)
{
    ServerDatabase db("stopped", attendanceTable(7, 3));
    faults::ServerBack back;
    auto service = db.service();
    expectASearchWorksAndNothingIsHeld(db, *service, 7);
    testing_support::serverScript("stop");
    testing_support::serverScript("start");

    // The attachment died with the server; no reconnection happens behind
    // the user's back, so this search reports the loss and closes it.
    const std::string error = search(*service, u"erro");
    std::printf("first search after the restart: %s\n", error.c_str());
    EXPECT_EQ(error.rfind(Prefix, 0), 0u) << error;
    EXPECT_FALSE(service->FDConnection1.isOpen());
    EXPECT_EQ(serverHeld(db).attachments, 0);
    expectASearchWorksAndNothingIsHeld(db, *service, 7);
    service->shutdown();
}

TEST(ServerFault, DatabaseShutDownBetweenSearchesAndBroughtBackOnline)
{
    ServerDatabase db("shutdown", attendanceTable(7, 3));
    auto service = db.service();
    expectASearchWorksAndNothingIsHeld(db, *service, 7);
    gfix(db, "-shut full -force 0");

    const std::string lost = search(*service, u"erro");
    std::printf("search after the shutdown: %s\n", lost.c_str());
    EXPECT_EQ(lost, std::string(Prefix) + "connection shutdown");
    EXPECT_FALSE(service->FDConnection1.isOpen());
    const std::string refused = search(*service, u"erro");
    std::printf("search while shut down: %s\n", refused.c_str());
    EXPECT_EQ(refused.rfind(std::string(Prefix) + "database ", 0), 0u) << refused;
    EXPECT_NE(refused.find("shutdown"), std::string::npos) << refused;
    EXPECT_FALSE(service->FDConnection1.isOpen());

    gfix(db, "-online");
    expectASearchWorksAndNothingIsHeld(db, *service, 7);
    service->shutdown();
}

TEST(ServerFault, DatabaseShutDownWhileACursorIsOpenAndBroughtBackOnline)
{
    ServerDatabase db("shutdown_cursor", attendanceTable(ManyMatches, 10));
    auto service = db.service();
    searchAndScrollHalfway(db, *service);
    gfix(db, "-shut full -force 0");

    const Failure failure = scrollOnUntilFailure(*service);
    std::printf("batch after the shutdown: %s\n", failure.text.c_str());
    EXPECT_EQ(failure.text, std::string(Prefix) + "connection shutdown");
    EXPECT_TRUE(quelvo::isServerGone(failure.code)) << failure.code;
    EXPECT_FALSE(service->FDQuery1.canFetchMore());
    EXPECT_FALSE(service->FDConnection1.isOpen());

    gfix(db, "-online");
    expectASearchWorksAndNothingIsHeld(db, *service, ManyMatches);
    service->shutdown();
}

TEST(ServerFault, AttachmentDeletedOnTheServer)
{
    ServerDatabase db("deleted", attendanceTable(ManyMatches, 10));
    const std::string deleteOthers =
        "DELETE FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID <> CURRENT_CONNECTION;\nCOMMIT;\n";
    auto service = db.service();

    // Between searches: the next one reports it, the one after attaches anew.
    expectASearchWorksAndNothingIsHeld(db, *service, ManyMatches);
    db.isql(deleteOthers);
    EXPECT_EQ(search(*service, u"erro"), std::string(Prefix) + "connection shutdown");
    EXPECT_FALSE(service->FDConnection1.isOpen());
    EXPECT_EQ(serverHeld(db).attachments, 0);
    expectASearchWorksAndNothingIsHeld(db, *service, ManyMatches);

    // With a cursor open: a further batch reports it.
    searchAndScrollHalfway(db, *service);
    db.isql(deleteOthers);
    const Failure failure = scrollOnUntilFailure(*service);
    std::printf("batch after the delete: %s\n", failure.text.c_str());
    EXPECT_EQ(failure.text, std::string(Prefix) + "connection shutdown");
    EXPECT_FALSE(service->FDQuery1.canFetchMore());
    EXPECT_FALSE(service->FDConnection1.isOpen());
    expectASearchWorksAndNothingIsHeld(db, *service, ManyMatches);
    service->shutdown();
}

// Another program holds locks on the table. The search's transaction does
// not wait (nowait); its select reads the last committed rows under its
// snapshot and takes no lock that could conflict, so it ends at once with
// the committed data, whatever the other program holds.
struct LockCase {
    const char* name;
    std::string transactionBlock;
    const char* statement;
    std::size_t matchesOnceCommitted;
};

class LockHeld : public ::testing::TestWithParam<LockCase> {};

TEST_P(LockHeld, TheSearchNeitherWaitsNorFailsAndShowsTheCommittedRows)
{
    ServerDatabase db(GetParam().name, attendanceTable(7, 3));
    auto service = db.service();
    faults::SideConnection other(db);
    other.begin(GetParam().transactionBlock);
    other.execute(GetParam().statement);

    expectASearchWorksAndNothingIsHeld(db, *service, 7, other.attachmentId());
    EXPECT_EQ(service->FDQuery1.rows().field(0, 0).text().substr(0, 29), u"Cliente relata erro ao salvar");

    // Once the other program commits, the next search sees its work.
    other.commit();
    EXPECT_EQ(search(*service, u"erro ao salvar"), "");
    EXPECT_EQ(service->FDQuery1.rowCount(), GetParam().matchesOnceCommitted);
    service->shutdown();
}

INSTANTIATE_TEST_SUITE_P(Holders, LockHeld, ::testing::Values(
    LockCase{"update_every_row", faults::transactionBlock(isc_tpb_concurrency),
             "UPDATE \"at_atendimento\" SET \"problema\" = 'mudado' WHERE \"id\" < 9", 0},
    LockCase{"delete_rows", faults::transactionBlock(isc_tpb_concurrency),
             "DELETE FROM \"at_atendimento\" WHERE \"id\" < 5", 2},
    LockCase{"reserved_protected_write",
             faults::transactionBlock(isc_tpb_concurrency, isc_tpb_lock_write, isc_tpb_protected),
             "DELETE FROM \"at_atendimento\" WHERE \"id\" < 5", 2},
    LockCase{"reserved_exclusive_write",
             faults::transactionBlock(isc_tpb_concurrency, isc_tpb_lock_write, isc_tpb_exclusive),
             "DELETE FROM \"at_atendimento\" WHERE \"id\" < 5", 2},
    LockCase{"table_stability", faults::transactionBlock(isc_tpb_consistency),
             "DELETE FROM \"at_atendimento\" WHERE \"id\" < 5", 2}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
