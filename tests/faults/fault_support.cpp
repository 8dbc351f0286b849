#include "fault_support.h"

#include "core/search_pattern.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <thread>
#include <unistd.h>

namespace faults {

namespace {

constexpr const char* ServerPidFile = "/run/quelvo-firebird.pid";

int number(const std::string& output, const std::string& label)
{
    const auto at = output.find(label + "=");
    if (at == std::string::npos)
        throw std::runtime_error("no " + label + " in:\n" + output);
    return std::stoi(output.substr(at + label.size() + 1));
}

void check(const ISC_STATUS* status, const char* what)
{
    if (status[0] == 1 && status[1]) {
        char text[512];
        const ISC_STATUS* cursor = status;
        std::string message = what;
        while (fb_interpret(text, sizeof text, &cursor) > 0)
            message += std::string("\n") + text;
        throw std::runtime_error(message);
    }
}

} // namespace

ServerHeld serverHeld(const testing_support::ServerDatabase& db, long besides)
{
    const std::string mine = "a.MON$REMOTE_PID = " + std::to_string(getpid()) +
                             " AND a.MON$ATTACHMENT_ID <> " + std::to_string(besides);
    const std::string out = db.isql(
        "SELECT 'attachments=' || COUNT(*) FROM MON$ATTACHMENTS a WHERE " + mine + ";\n"
        "SELECT 'active=' || COUNT(*) FROM MON$TRANSACTIONS t JOIN MON$ATTACHMENTS a "
        "ON a.MON$ATTACHMENT_ID = t.MON$ATTACHMENT_ID WHERE " + mine + " AND t.MON$STATE = 1;\n"
        "SELECT 'statements=' || COUNT(*) FROM MON$STATEMENTS s JOIN MON$ATTACHMENTS a "
        "ON a.MON$ATTACHMENT_ID = s.MON$ATTACHMENT_ID WHERE " + mine + ";\n"
        "SELECT 'memory=' || COALESCE(SUM(m.MON$MEMORY_USED), 0) FROM MON$MEMORY_USAGE m JOIN MON$ATTACHMENTS a "
        "ON a.MON$STAT_ID = m.MON$STAT_ID WHERE " + mine + ";\n");
    return {number(out, "attachments"), number(out, "active"), number(out, "statements"),
            std::stol(out.substr(out.find("memory=") + 7))};
}

std::string search(TServiceConnection& service, const std::u16string& typed)
{
    try {
        service.FDQuery1.close();
        service.FDQuery1.setParameter(quelvo::buildSearchPattern(typed));
        service.FDQuery1.open();
    } catch (const std::exception& e) {
        return e.what();
    }
    return {};
}

void fetchToTheEnd(TServiceConnection& service)
{
    while (service.FDQuery1.canFetchMore())
        service.FDQuery1.fetchMore();
}

void killServer()
{
    std::ifstream file(ServerPidFile);
    long pid = 0;
    if (!(file >> pid) || pid <= 1)
        throw std::runtime_error(std::string("no server pid in ") + ServerPidFile +
                                 "; start it with scripts/firebird-server start");
    if (kill(static_cast<pid_t>(pid), SIGKILL) != 0)
        throw std::runtime_error("cannot kill the server pid " + std::to_string(pid));
    // The server is not our child: wait until it has gone from /proc.
    for (int i = 0; i < 200; ++i) {
        if (kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    throw std::runtime_error("the server survived SIGKILL");
}

ServerBack::~ServerBack()
{
    try {
        testing_support::serverScript("start");
    } catch (const std::exception& e) {
        ADD_FAILURE() << e.what();
    }
}

long residentKilobytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    }
    throw std::runtime_error("no VmRSS in /proc/self/status");
}

SideConnection::SideConnection(const testing_support::ServerDatabase& db)
{
    const std::string name = "127.0.0.1/3050:" + db.databasePath();
    std::string dpb(1, isc_dpb_version1);
    auto text = [&dpb](char code, const std::string& value) {
        dpb += code;
        dpb += static_cast<char>(value.size());
        dpb += value;
    };
    text(isc_dpb_user_name, "SYSDBA");
    text(isc_dpb_password, "plumbgate");
    text(isc_dpb_lc_ctype, "UTF8");
    ISC_STATUS_ARRAY status = {};
    isc_attach_database(status, static_cast<short>(name.size()), name.c_str(), &database_,
                        static_cast<short>(dpb.size()), dpb.data());
    check(status, "side connection: attach");
    const char items[] = {isc_info_attachment_id, isc_info_end};
    char answer[32] = {};
    isc_database_info(status, &database_, sizeof items, items, sizeof answer, answer);
    check(status, "side connection: attachment id");
    if (answer[0] == isc_info_attachment_id) {
        const short length = static_cast<short>(isc_vax_integer(answer + 1, 2));
        attachmentId_ = isc_vax_integer(answer + 3, length);
    }
}

SideConnection::~SideConnection()
{
    ISC_STATUS_ARRAY status = {};
    if (transaction_)
        isc_rollback_transaction(status, &transaction_);
    if (database_)
        isc_detach_database(status, &database_);
}

void SideConnection::begin(const std::string& transactionBlock)
{
    ISC_STATUS_ARRAY status = {};
    isc_start_transaction(status, &transaction_, 1, &database_, static_cast<unsigned short>(transactionBlock.size()),
                          transactionBlock.data());
    check(status, "side connection: start transaction");
}

void SideConnection::execute(const std::string& sql)
{
    ISC_STATUS_ARRAY status = {};
    isc_dsql_execute_immediate(status, &database_, &transaction_, 0, sql.c_str(), 3, nullptr);
    check(status, ("side connection: " + sql).c_str());
}

void SideConnection::commit()
{
    ISC_STATUS_ARRAY status = {};
    isc_commit_transaction(status, &transaction_);
    check(status, "side connection: commit");
}

std::string transactionBlock(char isolation, char reserve, char mode)
{
    std::string block = {isc_tpb_version3, isc_tpb_write, isc_tpb_wait, isolation};
    if (reserve) {
        const std::string table = "at_atendimento";
        block += reserve;
        block += static_cast<char>(table.size());
        block += table;
        block += mode;
    }
    return block;
}

} // namespace faults
