// The bounds on a silent server's host: which sockets get them, on real
// sockets of this process over the loopback interface.

#include "data/link_timeouts.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sstream>
#include <sys/socket.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using quelvo::AttachTarget;
using quelvo::AttachWatch;

struct TargetCase {
    const char* attachName;
    const char* host; // nullptr: this machine's own name
    int port;
};

class AttachTargetOf : public ::testing::TestWithParam<TargetCase> {};

TEST_P(AttachTargetOf, IsReadAsTheClientReadsIt)
{
    char own[256] = {};
    gethostname(own, sizeof own - 1);
    const AttachTarget target = quelvo::attachTarget(GetParam().attachName);
    EXPECT_EQ(target.host, GetParam().host ? GetParam().host : own);
    EXPECT_EQ(target.port, GetParam().port);
}

INSTANTIATE_TEST_SUITE_P(Names, AttachTargetOf, ::testing::Values(
    TargetCase{"127.0.0.1/3050:/srv/data/BRIVANAATENDIMENTOS.FDB", "127.0.0.1", 3050},
    TargetCase{"/3050:/srv/a:b/x.fdb", nullptr, 3050},
    TargetCase{"db01/3051:/x.fdb", "db01", 3051},
    TargetCase{"[::1]/3050:/x.fdb", "::1", 3050},
    TargetCase{"db01:/x.fdb", "db01", 3050},
    TargetCase{"127.0.0.1/3050/3050:/x.fdb", "127.0.0.1", 0},
    TargetCase{"db01/gds_db:/x.fdb", "db01", 0}));

// A listening socket on a loopback address, on a port of the system's choice.
class Listener {
public:
    explicit Listener(const char* address, int backlog = 16, int port = 0)
    {
        fd_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in in{};
        in.sin_family = AF_INET;
        in.sin_port = htons(static_cast<uint16_t>(port));
        inet_pton(AF_INET, address, &in.sin_addr);
        if (bind(fd_, reinterpret_cast<sockaddr*>(&in), sizeof in) != 0 || listen(fd_, backlog) != 0)
            ADD_FAILURE() << "cannot listen on " << address << ": " << std::strerror(errno);
        socklen_t length = sizeof in;
        getsockname(fd_, reinterpret_cast<sockaddr*>(&in), &length);
        port_ = ntohs(in.sin_port);
    }
    ~Listener() { close(fd_); }
    int port() const { return port_; }

private:
    int fd_ = -1;
    int port_ = 0;
};

// A client socket connecting to address:port; `wait` false: without waiting for the answer.
int connectTo(const char* address, int port, bool wait = true)
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (!wait)
        fcntl(fd, F_SETFL, O_NONBLOCK);
    sockaddr_in in{};
    in.sin_family = AF_INET;
    in.sin_port = htons(static_cast<uint16_t>(port));
    inet_pton(AF_INET, address, &in.sin_addr);
    if (connect(fd, reinterpret_cast<sockaddr*>(&in), sizeof in) != 0 && errno != EINPROGRESS)
        ADD_FAILURE() << "cannot connect to " << address << ":" << port << ": " << std::strerror(errno);
    return fd;
}

unsigned userTimeout(int fd)
{
    unsigned value = 0;
    socklen_t length = sizeof value;
    getsockopt(fd, IPPROTO_TCP, TCP_USER_TIMEOUT, &value, &length);
    return value;
}

int keepIdle(int fd)
{
    int value = 0;
    socklen_t length = sizeof value;
    getsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &value, &length);
    return value;
}

unsigned long inodeOf(int fd)
{
    struct stat info {};
    fstat(fd, &info);
    return info.st_ino;
}

struct Sockets {
    std::vector<int> fds;
    int add(int fd)
    {
        fds.push_back(fd);
        return fd;
    }
    ~Sockets()
    {
        for (const int fd : fds)
            close(fd);
    }
};

TEST(TcpTable, FindsThisProcesssConnectionWithItsPeer)
{
    Listener listener("127.0.0.1");
    Sockets sockets;
    const int fd = sockets.add(connectTo("127.0.0.1", listener.port()));
    std::ifstream file("/proc/self/net/tcp");
    std::ostringstream text;
    text << file.rdbuf();
    const auto peers = quelvo::parseTcpTable(text.str(), false);
    const auto peer = peers.find(inodeOf(fd));
    ASSERT_NE(peer, peers.end());
    EXPECT_EQ(peer->second.address, "127.0.0.1");
    EXPECT_EQ(peer->second.port, listener.port());
}

TEST(TcpTable, ReadsIpv6PeersAndIpv4MappedOnesAsIpv4)
{
    const std::string text =
        "  sl  local_address                         remote_address                        st tx_queue rx_queue tr tm->when retrnsmt   uid  timeout inode\n"
        "   0: 00000000000000000000000001000000:D2F0 00000000000000000000000001000000:0BEA 01 00000000:00000000 00:00000000 00000000     0        0 4242 1 0000000000000000 20 4 30 10 -1\n"
        "   1: 0000000000000000FFFF00000100007F:D2F1 0000000000000000FFFF00000100007F:0BEA 02 00000000:00000000 00:00000000 00000000     0        0 4343 1 0000000000000000 20 4 30 10 -1\n";
    const auto peers = quelvo::parseTcpTable(text, true);
    ASSERT_EQ(peers.size(), 2u);
    EXPECT_EQ(peers.at(4242).address, "::1");
    EXPECT_EQ(peers.at(4242).port, 3050);
    EXPECT_EQ(peers.at(4343).address, "127.0.0.1");
}

TEST(AttachWatchOf, OnlyTheAttachsNewSocketsToItsHostAndPortGetTheTimeouts)
{
    Listener server("127.0.0.1");
    Listener otherPort("127.0.0.1");
    Listener otherAddress("127.0.0.2", 16, server.port());
    Sockets sockets;
    const int before = sockets.add(connectTo("127.0.0.1", server.port()));

    AttachWatch watch({"127.0.0.1", server.port()});
    const int attach = sockets.add(connectTo("127.0.0.1", server.port()));
    const int elsewhere = sockets.add(connectTo("127.0.0.1", otherPort.port()));
    const int sameTargetPortOtherHost = sockets.add(connectTo("127.0.0.2", server.port()));
    EXPECT_EQ(watch.finish(), 1u);

    EXPECT_EQ(userTimeout(attach), 30000u);
    EXPECT_EQ(keepIdle(attach), 10);
    for (const int untouched : {before, elsewhere, sameTargetPortOtherHost}) {
        EXPECT_EQ(userTimeout(untouched), 0u);
        EXPECT_NE(keepIdle(untouched), 10);
    }
}

TEST(AttachWatchOf, AConnectionAttemptGetsThemWhileTheAttachStillWaits)
{
    // A full accept queue (one connection, with a backlog of 0) drops
    // further connection attempts: the next one keeps sending its SYN and
    // waits, as for a host that has gone.
    Listener server("127.0.0.1", 0);
    Sockets sockets;
    sockets.add(connectTo("127.0.0.1", server.port()));

    AttachWatch watch({"127.0.0.1", server.port()});
    const int waiting = sockets.add(connectTo("127.0.0.1", server.port(), false));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (userTimeout(waiting) == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(userTimeout(waiting), 30000u);
    tcp_info info{};
    socklen_t length = sizeof info;
    getsockopt(waiting, IPPROTO_TCP, TCP_INFO, &info, &length);
    EXPECT_EQ(info.tcpi_state, TCP_SYN_SENT);
}

} // namespace
