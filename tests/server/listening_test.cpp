// Where the project's Firebird server can be reached from: the loopback
// address only, since its SYSDBA password is public. The listening sockets
// are read from the kernel's own tables, and the server script's check is
// tried against listeners on other addresses in a network of the test's own.

#include "server_database.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <ostream>
#include <net/if.h>
#include <netinet/in.h>
#include <sched.h>
#include <set>
#include <sstream>
#include <string>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int Port = 3050;
constexpr const char* TcpListen = "0A";

// "address:port" of every socket listening on `port`, from /proc/net/tcp and
// /proc/net/tcp6 (addresses there are in the kernel's byte order).
std::set<std::string> listeners(int port)
{
    std::set<std::string> found;
    for (const bool six : {false, true}) {
        std::ifstream table(six ? "/proc/net/tcp6" : "/proc/net/tcp");
        std::string line;
        std::getline(table, line); // titles
        while (std::getline(table, line)) {
            std::istringstream fields(line);
            std::string slot, local, remote, state;
            fields >> slot >> local >> remote >> state;
            const auto colon = local.find(':');
            if (state != TcpListen || colon == std::string::npos ||
                std::stoi(local.substr(colon + 1), nullptr, 16) != port)
                continue;
            const std::string hex = local.substr(0, colon);
            unsigned char bytes[16] = {};
            for (std::size_t i = 0; i < hex.size() / 8; ++i) {
                const auto word = static_cast<std::uint32_t>(std::stoul(hex.substr(i * 8, 8), nullptr, 16));
                std::memcpy(bytes + i * 4, &word, 4); // back to network order on this little-endian host
            }
            char text[INET6_ADDRSTRLEN] = {};
            inet_ntop(six ? AF_INET6 : AF_INET, bytes, text, sizeof text);
            found.insert((six ? "[" + std::string(text) + "]" : std::string(text)) + ":" + std::to_string(port));
        }
    }
    return found;
}

TEST(Listening, TheServerListensOn127001Port3050AndNowhereElse)
{
    EXPECT_EQ(listeners(Port), std::set<std::string>{"127.0.0.1:3050"});
    int status = -1;
    const std::string output =
        testing_support::run(std::string(QUELVO_SOURCE_DIR) + "/scripts/firebird-server listening", status);
    EXPECT_EQ(status, 0) << output;
    std::printf("%s", output.c_str());
}

struct Listener {
    int family;
    const char* address;
};

struct ListeningCase {
    const char* name;
    std::vector<Listener> listeners;
    bool accepted;
    const char* said; // what the script names
};

void PrintTo(const ListeningCase& c, std::ostream* out) { *out << c.name; }

void exitWith(const char* what)
{
    std::perror(what);
    _exit(100);
}

// In a child process with a network of its own (no root needed where user
// namespaces are allowed): opens the listeners, then runs the script's
// check. Returns its exit status, with its output in `output`.
int checkInOwnNetwork(const std::vector<Listener>& wanted, std::string& output)
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return -1;
    const pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        dup2(pipeEnds[1], STDOUT_FILENO);
        dup2(pipeEnds[1], STDERR_FILENO);
        if (unshare(CLONE_NEWNET) != 0 && unshare(CLONE_NEWUSER | CLONE_NEWNET) != 0)
            exitWith("unshare");
        // Bring the loopback interface up.
        const int control = socket(AF_INET, SOCK_DGRAM, 0);
        ifreq request{};
        std::strcpy(request.ifr_name, "lo");
        request.ifr_flags = IFF_UP | IFF_LOOPBACK | IFF_RUNNING;
        if (control < 0 || ioctl(control, SIOCSIFFLAGS, &request) != 0)
            exitWith("lo up");
        for (const Listener& l : wanted) {
            const int s = socket(l.family, SOCK_STREAM, 0);
            const int on = 1;
            setsockopt(s, IPPROTO_IPV6, IPV6_V6ONLY, &on, sizeof on);
            sockaddr_storage address{};
            socklen_t length;
            if (l.family == AF_INET) {
                auto* in = reinterpret_cast<sockaddr_in*>(&address);
                in->sin_family = AF_INET;
                in->sin_port = htons(Port);
                inet_pton(AF_INET, l.address, &in->sin_addr);
                length = sizeof(sockaddr_in);
            } else {
                auto* in = reinterpret_cast<sockaddr_in6*>(&address);
                in->sin6_family = AF_INET6;
                in->sin6_port = htons(Port);
                inet_pton(AF_INET6, l.address, &in->sin6_addr);
                length = sizeof(sockaddr_in6);
            }
            if (s < 0 || bind(s, reinterpret_cast<sockaddr*>(&address), length) != 0 || listen(s, 1) != 0)
                exitWith(l.address);
        }
        execl("/bin/sh", "sh", "-c",
              (std::string(QUELVO_SOURCE_DIR) + "/scripts/firebird-server listening").c_str(), nullptr);
        exitWith("exec");
    }
    close(pipeEnds[1]);
    char buffer[4096];
    ssize_t n;
    while ((n = read(pipeEnds[0], buffer, sizeof buffer)) > 0)
        output.append(buffer, static_cast<std::size_t>(n));
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class ListeningCheck : public ::testing::TestWithParam<ListeningCase> {};

TEST_P(ListeningCheck, AcceptsTheLoopbackAddressAloneAndNamesAnythingElse)
{
    std::string output;
    const int status = checkInOwnNetwork(GetParam().listeners, output);
    ASSERT_NE(status, 100) << output;
    EXPECT_EQ(status == 0, GetParam().accepted) << output;
    EXPECT_NE(output.find(GetParam().said), std::string::npos) << output;
}

INSTANTIATE_TEST_SUITE_P(Sockets, ListeningCheck, ::testing::Values(
    ListeningCase{"loopback", {{AF_INET, "127.0.0.1"}}, true, "only 127.0.0.1:3050 listens"},
    ListeningCase{"nothing", {}, false, "nothing"},
    ListeningCase{"every_ipv4_interface", {{AF_INET, "0.0.0.0"}}, false, "0.0.0.0:3050"},
    ListeningCase{"every_ipv6_interface", {{AF_INET6, "::"}}, false, "[::]:3050"},
    ListeningCase{"loopback_and_ipv6_loopback", {{AF_INET, "127.0.0.1"}, {AF_INET6, "::1"}}, false, "[::1]:3050"},
    ListeningCase{"another_loopback_address", {{AF_INET, "127.0.0.2"}}, false, "127.0.0.2:3050"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
