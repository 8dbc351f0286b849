// A server host that vanishes (cable, VPN, Wi-Fi): no packet comes back. A
// second Firebird server runs in a network namespace of its own
// (tests/faults/vanishing-server) and this process in another, linked to it;
// at each moment of a search, attach, prepare, execute and fetch, every
// packet of the server's host is dropped with iptables just before that
// call reaches the client library. The search must fail within a minute
// with the client's network error, the connection close, and the next
// search attach anew once packets flow again. A live server that is merely
// silent for longer than that (stopped, then resumed) must deliver every row.
//
// Runs as root (namespaces, iptables), through sudo when started as another
// user. The shared server on 127.0.0.1:3050 is not touched.

#include "server_database.h"

#include "client_tap/client_tap.h"
#include "core/search_pattern.h"
#include "data/data_error.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <ostream>
#include <sched.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using Seconds = std::chrono::duration<double>;

constexpr const char* Prefix = "[FireDAC][Phys][FB]";
constexpr int Matches = 600; // more than the client reads ahead of a further batch
constexpr auto Bound = std::chrono::seconds(60);
constexpr int SilentSeconds = 75; // longer than the bound

const std::string Script = std::string(QUELVO_SOURCE_DIR) + "/tests/faults/vanishing-server";

using testing_support::run;

std::string value(const std::string& output, const std::string& key)
{
    const auto at = output.find(key + "=");
    if (at == std::string::npos)
        throw std::runtime_error("no " + key + " in:\n" + output);
    const auto end = output.find('\n', at);
    return output.substr(at + key.size() + 1, end - at - key.size() - 1);
}

// The second server, up for the whole suite.
class Vanishing : public ::testing::Environment {
public:
    void SetUp() override
    {
        // This process gets a network of its own: the link to the server's
        // namespace is made in it, and nothing of the host's network changes.
        if (unshare(CLONE_NEWNET) != 0)
            FAIL() << "cannot make a network namespace (needs root): " << std::strerror(errno);
        name_ = "quelvo-vanish-" + std::to_string(getpid());
        const std::string sql = testing::TempDir() + name_ + ".sql";
        std::ofstream(sql) << testing_support::attendanceTable(Matches, 10);
        try {
            up_ = true; // down removes whatever up got to make
            folder_ = value(run(Script + " up " + name_ + " " + std::to_string(getpid()) + " '" + sql + "'"), "folder");
        } catch (const std::exception& e) {
            FAIL() << e.what();
        }
        std::filesystem::remove(sql);
    }
    void TearDown() override
    {
        try {
            if (up_)
                run(Script + " down " + name_);
        } catch (const std::exception& e) {
            ADD_FAILURE() << e.what();
        }
    }
    static const std::string& name() { return name_; }
    static const std::string& folder() { return folder_; }

private:
    static std::string name_;
    static std::string folder_;
    bool up_ = false;
};
std::string Vanishing::name_;
std::string Vanishing::folder_;

std::unique_ptr<TServiceConnection> service()
{
    auto service = std::make_unique<TServiceConnection>(Vanishing::folder(), std::vector<std::string>{CLIENT_TAP_PATH});
    service->DataModuleCreate();
    return service;
}

// Every packet flows again at the end of a case, whatever happened in it.
struct Restore {
    ~Restore()
    {
        try {
            run(Script + " restore " + Vanishing::name());
        } catch (const std::exception& e) {
            ADD_FAILURE() << e.what();
        }
    }
};

struct Failure {
    std::string text;
    long code = 0;
};

void PrintTo(const Failure& f, std::ostream* out) { *out << f.text << " (" << f.code << ")"; }

// A search as the search window runs it; the failure, if any.
std::optional<Failure> search(TServiceConnection& service)
{
    try {
        service.FDQuery1.close();
        service.FDQuery1.setParameter(quelvo::buildSearchPattern(u"erro ao salvar"));
        service.FDQuery1.open();
    } catch (const quelvo::DataError& e) {
        return Failure{e.what(), e.code()};
    }
    return std::nullopt;
}

// Scrolls to the end of the rows; the failure, if any.
std::optional<Failure> scrollToTheEnd(TServiceConnection& service)
{
    try {
        while (service.FDQuery1.canFetchMore())
            service.FDQuery1.fetchMore();
    } catch (const quelvo::DataError& e) {
        return Failure{e.what(), e.code()};
    }
    return std::nullopt;
}

struct Moment {
    const char* name;
    const char* call;     // packets stop just before this call reaches the client
    const char* drop;     // all, or after-handshake
    bool attachedBefore;  // a search has run on the connection
    bool cursorOpen;      // and its cursor is open: the moment comes while scrolling
};

void PrintTo(const Moment& m, std::ostream* out) { *out << m.name; }

class VanishingHost : public ::testing::TestWithParam<Moment> {};

TEST_P(VanishingHost, TheSearchFailsWithinAMinuteAndTheNextOneWorks)
{
    const Moment& m = GetParam();
    auto program = service();
    if (m.attachedBefore) {
        ASSERT_EQ(search(*program), std::nullopt);
        if (!m.cursorOpen) {
            ASSERT_EQ(scrollToTheEnd(*program), std::nullopt);
        }
    }

    Restore restore;
    Clock::time_point dropped{};
    tap::reset();
    tap::before(m.call, [&] {
        run(Script + " drop " + Vanishing::name() + " " + m.drop);
        dropped = Clock::now();
    });
    const std::optional<Failure> failure = m.cursorOpen ? scrollToTheEnd(*program) : search(*program);
    const Seconds waited = Clock::now() - dropped;
    ASSERT_NE(dropped, Clock::time_point{}) << "the moment never came";
    ASSERT_TRUE(failure.has_value()) << "the search went on without the server";
    EXPECT_FALSE(program->FDConnection1.isOpen());
    const tap::Wait longest = tap::longest();
    run(Script + " restore " + Vanishing::name());

    const auto next = Clock::now();
    const std::optional<Failure> again = search(*program);
    const std::optional<Failure> rest = again ? again : scrollToTheEnd(*program);
    std::printf("| %s | %.1f s (in %s) | %s | next search: %s, %zu rows, %.1f s |\n", m.name, waited.count(),
                longest.call.c_str(), failure->text.c_str(), rest ? rest->text.c_str() : "works",
                program->FDQuery1.rowCount(), Seconds(Clock::now() - next).count());

    EXPECT_LT(waited, Bound);
    EXPECT_EQ(failure->text.rfind(Prefix, 0), 0u) << failure->text;
    // An attach that fails leaves nothing open, whatever its code; on an
    // open connection the client's network error closes it.
    if (m.attachedBefore) {
        EXPECT_TRUE(quelvo::isServerGone(failure->code)) << failure->code;
    }
    EXPECT_FALSE(program->FDQuery1.canFetchMore());
    EXPECT_EQ(rest, std::nullopt);
    EXPECT_EQ(program->FDQuery1.rowCount(), static_cast<std::size_t>(Matches));
    program->shutdown();
}

INSTANTIATE_TEST_SUITE_P(Moments, VanishingHost, ::testing::Values(
    Moment{"attach_connection_attempt", "isc_attach_database", "all", false, false},
    Moment{"attach_after_the_handshake", "isc_attach_database", "after-handshake", false, false},
    Moment{"prepare", "isc_dsql_prepare", "all", true, false},
    Moment{"execute", "isc_dsql_execute2", "all", true, false},
    Moment{"fetch", "isc_dsql_fetch", "all", true, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SilentServer, StoppedLongerThanTheBoundWhileScrollingItStillDeliversEveryRow)
{
    auto program = service();
    ASSERT_EQ(search(*program), std::nullopt);
    ASSERT_TRUE(program->FDQuery1.canFetchMore());

    tap::reset();
    tap::before("isc_dsql_fetch", [] {
        run(Script + " pause " + Vanishing::name() + " " + std::to_string(SilentSeconds));
    });
    const auto start = Clock::now();
    const std::optional<Failure> failure = scrollToTheEnd(*program);
    const tap::Wait longest = tap::longest();
    std::printf("| silent for %d s | rows %zu after %.1f s; longest wait %.1f s in %s | %s |\n", SilentSeconds,
                program->FDQuery1.rowCount(), Seconds(Clock::now() - start).count(), longest.time.count(),
                longest.call.c_str(), failure ? failure->text.c_str() : "no error");
    EXPECT_EQ(failure, std::nullopt);
    EXPECT_EQ(program->FDQuery1.rowCount(), static_cast<std::size_t>(Matches));
    EXPECT_GT(longest.time, Bound);
    program->shutdown();
}

} // namespace

int main(int argc, char** argv)
{
    // Namespaces and iptables need root: ask sudo for it once.
    if (geteuid() != 0 && !std::getenv("QUELVO_NO_SUDO")) {
        std::vector<char*> args{const_cast<char*>("sudo"), const_cast<char*>("-E"), const_cast<char*>("--")};
        std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
        args.push_back(self.data());
        for (int i = 1; i < argc; ++i)
            args.push_back(argv[i]);
        args.push_back(nullptr);
        setenv("QUELVO_NO_SUDO", "1", 1);
        execvp("sudo", args.data());
        std::perror("sudo");
        return 1;
    }
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new Vanishing);
    return RUN_ALL_TESTS();
}
