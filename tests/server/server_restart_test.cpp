#include "server_database.h"

#include "core/search_pattern.h"
#include "data/data_error.h"

#include <gtest/gtest.h>

using testing_support::attendanceTable;
using testing_support::serverScript;
using testing_support::ServerDatabase;

namespace {

std::string searchError(TServiceConnection& service)
{
    try {
        service.FDQuery1.close();
        service.FDQuery1.setParameter(quelvo::buildSearchPattern(u"erro"));
        service.FDQuery1.open();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "(no error)";
}

// Whatever happens, the server runs again for the tests that follow.
struct ServerBack {
    ~ServerBack() { serverScript("start"); }
};

TEST(ServerRestart, ASearchWhileTheServerIsDownFailsAndTheNextOneAfterItsReturnWorks)
{
    ServerDatabase db("restart", attendanceTable(7, 0));
    ServerBack back;

    // Stopped before the first search: the attach fails with the client's text.
    auto fresh = db.service();
    serverScript("stop");
    EXPECT_EQ(searchError(*fresh),
              "[FireDAC][Phys][FB]Unable to complete network request to host \"127.0.0.1\".\r\n"
              "Failed to establish a connection.");
    EXPECT_FALSE(fresh->FDConnection1.isOpen());
    serverScript("start");
    EXPECT_EQ(searchError(*fresh), "(no error)");
    EXPECT_EQ(fresh->FDQuery1.rowCount(), 7u);

    // Stopped while attached: the search fails, the connection closes, and
    // the next search attaches anew without a restart of the program.
    serverScript("stop");
    const std::string lost = searchError(*fresh);
    EXPECT_EQ(lost.rfind("[FireDAC][Phys][FB]", 0), 0u) << lost;
    EXPECT_FALSE(fresh->FDConnection1.isOpen()) << lost;
    serverScript("start");
    EXPECT_EQ(searchError(*fresh), "(no error)");
    EXPECT_EQ(fresh->FDQuery1.rowCount(), 7u);
    fresh->shutdown();
}

} // namespace
