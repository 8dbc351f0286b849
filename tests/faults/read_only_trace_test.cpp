// Proof from the server's own trace that the program only ever prepares its
// one select, and that every transaction it starts also ends: searches of
// every kind (no match, ending at open, ending at a later fetch, closed with
// the cursor open, failing on the client and on the server) and the end of
// the program, all under a Firebird trace session (fbtracemgr).

#include "fault_support.h"

#include "data/knowledge_base_query.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <mutex>
#include <regex>
#include <set>
#include <sstream>
#include <thread>
#include <unistd.h>

using faults::search;
using testing_support::attendanceTable;
using testing_support::ServerDatabase;

namespace {

const std::string Service = "stdbuf -oL fbtracemgr -se 127.0.0.1/3050:service_mgr -user SYSDBA -password plumbgate";

// One event of the trace: its name and the lines that follow its header.
struct Event {
    std::string name;
    std::vector<std::string> lines;
    bool failed = false; // the server marked the event FAILED

    // The remote process line: "<executable>:<pid>".
    bool fromProcess(pid_t pid) const
    {
        const std::string tail = ":" + std::to_string(pid);
        return lines.size() > 1 && lines[1].size() > tail.size() &&
               lines[1].compare(lines[1].size() - tail.size(), tail.size(), tail) == 0;
    }
    // "TRA_<n>" of a transaction event, or empty.
    std::string transaction() const
    {
        static const std::regex tra(R"(^\s*\((TRA_\d+), (.*)\)$)");
        for (const std::string& line : lines) {
            std::smatch m;
            if (std::regex_match(line, m, tra))
                return m[1];
        }
        return {};
    }
    std::string transactionFlags() const
    {
        static const std::regex tra(R"(^\s*\((TRA_\d+), (.*)\)$)");
        for (const std::string& line : lines) {
            std::smatch m;
            if (std::regex_match(line, m, tra))
                return m[2];
        }
        return {};
    }
    // The statement text: the lines between the dashed rule and the timing.
    std::string statement() const
    {
        std::string text;
        bool inside = false;
        for (const std::string& line : lines) {
            if (!inside) {
                inside = line.rfind("-------", 0) == 0;
                continue;
            }
            if (line.empty() || std::regex_match(line, std::regex(R"(^\s+\d+ ms.*)")))
                break;
            text += (text.empty() ? "" : "\n") + line;
        }
        return text;
    }
};

std::vector<Event> parse(const std::string& log)
{
    // "<time> (<server pid>:<thread>) [FAILED |UNAUTHORIZED ]<EVENT>"
    static const std::regex header(R"(^\d{4}-\d\d-\d\dT[\d:.]+ \(\d+:0x[0-9a-f]+\) (.+)$)");
    std::vector<Event> events;
    std::istringstream in(log);
    std::string line;
    while (std::getline(in, line)) {
        std::smatch m;
        if (std::regex_match(line, m, header)) {
            std::string name = m[1];
            const bool failed = name.rfind("FAILED ", 0) == 0;
            events.push_back({failed ? name.substr(7) : name, {}, failed});
        }
        else if (!events.empty())
            events.back().lines.push_back(line);
    }
    return events;
}

// A trace session on one database, read by a thread while it runs.
class TraceSession {
public:
    explicit TraceSession(const std::string& databasePattern)
    {
        config_ = testing::TempDir() + "quelvo-trace-" + std::to_string(getpid()) + ".conf";
        std::ofstream(config_) << "database = " << databasePattern << "\n"
                                  "{\n"
                                  "  enabled = true\n"
                                  "  log_connections = true\n"
                                  "  log_transactions = true\n"
                                  "  log_statement_prepare = true\n"
                                  "  log_statement_free = true\n"
                                  "  log_statement_start = true\n"
                                  "  log_statement_finish = true\n"
                                  "  time_threshold = 0\n"
                                  "  max_sql_length = 65000\n"
                                  "}\n";
        pipe_ = popen((Service + " -start -name quelvo-read-only -config '" + config_ + "' 2>&1").c_str(), "r");
        if (!pipe_)
            throw std::runtime_error("cannot run fbtracemgr");
        char first[512] = {};
        if (!std::fgets(first, sizeof first, pipe_) || std::sscanf(first, "Trace session ID %d started", &id_) != 1) {
            pclose(pipe_);
            throw std::runtime_error(std::string("no trace session: ") + first);
        }
        reader_ = std::thread([this] {
            char buffer[4096];
            while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe_)) {
                std::lock_guard lock(mutex_);
                log_.append(buffer, n);
            }
        });
    }
    ~TraceSession() { stop(); }

    std::string log()
    {
        std::lock_guard lock(mutex_);
        return log_;
    }

    // Whether an event of this name from this process has arrived.
    bool has(const std::string& name, pid_t pid)
    {
        for (const Event& e : parse(log()))
            if (e.name == name && e.fromProcess(pid))
                return true;
        return false;
    }

    void stop()
    {
        if (!pipe_)
            return;
        faults::run(Service + " -stop -id " + std::to_string(id_), true);
        reader_.join();
        pclose(pipe_);
        pipe_ = nullptr;
        std::remove(config_.c_str());
    }

private:
    std::string config_;
    FILE* pipe_ = nullptr;
    int id_ = 0;
    std::thread reader_;
    std::mutex mutex_;
    std::string log_;
};

TEST(ReadOnly, TheOnlyStatementPreparedIsTheSelectAndEveryTransactionEnds)
{
    ServerDatabase db("read only proof", attendanceTable(600, 40));
    const std::string folder = db.folder().substr(db.folder().rfind('/') + 1);
    // The folder's random number picks this database out (SIMILAR TO syntax).
    TraceSession trace("%" + folder.substr(folder.rfind('-') + 1) + "%");

    auto service = db.service();
    auto& query = service->FDQuery1;
    EXPECT_EQ(search(*service, u"nada consta"), "");          // no match: ends at open
    EXPECT_EQ(search(*service, u"erro ao salvar 7"), "");     // a few: ends at open
    EXPECT_EQ(search(*service, u"erro ao salvar"), "");       // many: scrolled to the end
    while (query.canFetchMore())
        query.fetchMore();
    EXPECT_EQ(query.rowCount(), 600u);
    EXPECT_EQ(search(*service, u"impressora"), "");           // closed with its cursor open
    EXPECT_EQ(search(*service, std::u16string(20000, u'x')).rfind("[FireDAC][Phys][FB]-345.", 0), 0u);
    EXPECT_NE(search(*service, std::u16string(4999, u'x')), ""); // refused by the server
    EXPECT_EQ(search(*service, u"'; delete from \"at_atendimento\"; --"), "");
    EXPECT_EQ(search(*service, u"erro"), "");                 // left open at the end of the program

    // The program's own counters on the server: it changed no record.
    const std::string stats = db.isql(
        "SELECT 'changed=' || COALESCE(SUM(r.MON$RECORD_INSERTS + r.MON$RECORD_UPDATES + r.MON$RECORD_DELETES), -1) "
        "FROM MON$ATTACHMENTS a JOIN MON$RECORD_STATS r ON r.MON$STAT_ID = a.MON$STAT_ID "
        "WHERE a.MON$REMOTE_PID = " + std::to_string(getpid()) + ";\n");
    EXPECT_NE(stats.find("changed=0"), std::string::npos) << stats;

    service->shutdown();
    // The trace service hands its output over in blocks: other attachments'
    // events push the program's last ones through, and stopping the session
    // hands over the rest.
    for (int i = 0; i < 50 && !trace.has("DETACH_DATABASE", getpid()); ++i)
        db.isql("SELECT 'filler' FROM RDB$DATABASE;\n");
    trace.stop();

    std::vector<Event> mine;
    for (Event& e : parse(trace.log()))
        if (e.fromProcess(getpid()))
            mine.push_back(std::move(e));

    const std::string expected =
        R"(select  t."problema", t."solucao" from "at_atendimento" t where upper (t."problema") like ?)";
    const std::set<std::string> allowed = {"ATTACH_DATABASE",         "DETACH_DATABASE",         "START_TRANSACTION",
                                           "COMMIT_TRANSACTION",      "ROLLBACK_TRANSACTION",    "PREPARE_STATEMENT",
                                           "EXECUTE_STATEMENT_START", "EXECUTE_STATEMENT_FINISH", "FREE_STATEMENT",
                                           "CLOSE_CURSOR"};
    std::map<std::string, int> counts;
    int failed = 0;
    std::set<std::string> started;
    std::set<std::string> ended;
    for (const Event& e : mine) {
        ++counts[e.name];
        failed += e.failed;
        EXPECT_TRUE(allowed.count(e.name)) << "unexpected event " << e.name;
        if (e.name == "PREPARE_STATEMENT" || e.name == "EXECUTE_STATEMENT_START") {
            EXPECT_EQ(e.statement(), expected) << e.name;
        }
        if (e.name == "START_TRANSACTION") {
            started.insert(e.transaction());
            EXPECT_EQ(e.transactionFlags(), "CONCURRENCY | NOWAIT | READ_WRITE");
        }
        if (e.name == "COMMIT_TRANSACTION" || e.name == "ROLLBACK_TRANSACTION") {
            EXPECT_TRUE(ended.insert(e.transaction()).second) << e.transaction() << " ended twice";
        }
    }

    std::printf("\nevents of this process in the trace:\n");
    for (const auto& [name, count] : counts)
        std::printf("  %-26s %d\n", name.c_str(), count);

    EXPECT_EQ(counts["ATTACH_DATABASE"], 1);
    EXPECT_EQ(counts["DETACH_DATABASE"], 1);
    // Every search prepares once, on the client-refused pattern too.
    EXPECT_EQ(counts["PREPARE_STATEMENT"], 8);
    EXPECT_EQ(counts["START_TRANSACTION"], 8);
    EXPECT_EQ(started, ended) << "every transaction started ends";
    EXPECT_EQ(counts["ROLLBACK_TRANSACTION"], 2); // the two refused patterns
    EXPECT_EQ(failed, 1);                         // the one the server refused
}

} // namespace
