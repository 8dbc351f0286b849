#include "data/link_timeouts.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

#ifdef __linux__
#include <arpa/inet.h>
#include <condition_variable>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <mutex>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>
#endif

namespace quelvo {

namespace {

constexpr int DefaultPort = 3050; // the client's service gds_db

#ifdef __linux__

std::string hostName()
{
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0)
        return {};
    return name;
}

// Numeric text of an address; an IPv4 address mapped into IPv6 as IPv4.
std::string addressText(int family, const void* bytes)
{
    char text[INET6_ADDRSTRLEN] = {};
    if (family == AF_INET6) {
        const auto* six = static_cast<const in6_addr*>(bytes);
        if (IN6_IS_ADDR_V4MAPPED(six))
            return addressText(AF_INET, six->s6_addr + 12);
    }
    return inet_ntop(family, bytes, text, sizeof text) ? text : std::string();
}

std::set<std::string> resolve(const std::string& host)
{
    std::set<std::string> addresses;
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (host.empty() || getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0)
        return addresses;
    for (const addrinfo* a = found; a; a = a->ai_next) {
        if (a->ai_family == AF_INET)
            addresses.insert(addressText(AF_INET, &reinterpret_cast<const sockaddr_in*>(a->ai_addr)->sin_addr));
        else if (a->ai_family == AF_INET6)
            addresses.insert(addressText(AF_INET6, &reinterpret_cast<const sockaddr_in6*>(a->ai_addr)->sin6_addr));
    }
    freeaddrinfo(found);
    return addresses;
}

// The process's sockets: inode -> descriptor.
std::map<unsigned long, int> ownSockets()
{
    std::map<unsigned long, int> sockets;
    DIR* folder = opendir("/proc/self/fd");
    if (!folder)
        return sockets;
    while (const dirent* entry = readdir(folder)) {
        char link[64] = {};
        const std::string path = std::string("/proc/self/fd/") + entry->d_name;
        const ssize_t n = readlink(path.c_str(), link, sizeof link - 1);
        unsigned long inode = 0;
        if (n > 0 && std::sscanf(link, "socket:[%lu]", &inode) == 1)
            sockets[inode] = std::atoi(entry->d_name);
    }
    closedir(folder);
    return sockets;
}

std::string readFile(const char* path)
{
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

#endif

} // namespace

AttachTarget attachTarget(std::string_view name)
{
    // The node ends at the first ':', or at the first one after a bracketed address.
    std::size_t from = 0;
    if (!name.empty() && name.front() == '[') {
        const auto close = name.find(']');
        from = close == std::string_view::npos ? 0 : close;
    }
    const auto colon = name.find(':', from);
    const std::string_view node = name.substr(0, colon);
    const auto slash = node.find('/');
    std::string_view host = node.substr(0, slash);
    if (host.size() >= 2 && host.front() == '[' && host.back() == ']')
        host = host.substr(1, host.size() - 2);

    AttachTarget target;
    target.host = host;
#ifdef __linux__
    if (target.host.empty())
        target.host = hostName();
#endif
    if (slash == std::string_view::npos) {
        target.port = DefaultPort;
    } else {
        const std::string_view service = node.substr(slash + 1);
        int port = 0;
        const auto [end, error] = std::from_chars(service.data(), service.data() + service.size(), port);
        target.port = error == std::errc() && end == service.data() + service.size() && port > 0 && port < 65536 ? port : 0;
    }
    return target;
}

std::map<unsigned long, TcpPeer> parseTcpTable(std::string_view text, bool ipv6)
{
    // "  sl  local_address rem_address   st tx_queue:rx_queue tr:tm->when retrnsmt   uid  timeout inode"
    // Addresses are hexadecimal words in the kernel's byte order, then ":" and the port.
    std::map<unsigned long, TcpPeer> peers;
    std::istringstream lines{std::string(text)};
    std::string line;
    std::getline(lines, line); // titles
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string slot, local, remote, state, queues, timer, retransmits, uid, timeout;
        unsigned long inode = 0;
        if (!(fields >> slot >> local >> remote >> state >> queues >> timer >> retransmits >> uid >> timeout >> inode))
            continue;
        const auto colon = remote.find(':');
        const std::size_t words = ipv6 ? 4 : 1;
        if (colon != words * 8 || inode == 0)
            continue;
        unsigned char bytes[16] = {};
        for (std::size_t i = 0; i < words; ++i) {
            std::uint32_t word = 0;
            std::from_chars(remote.data() + i * 8, remote.data() + i * 8 + 8, word, 16);
            std::memcpy(bytes + i * 4, &word, 4); // the kernel printed it in host order
        }
        TcpPeer peer;
        std::from_chars(remote.data() + colon + 1, remote.data() + remote.size(), peer.port, 16);
#ifdef __linux__
        peer.address = addressText(ipv6 ? AF_INET6 : AF_INET, bytes);
#endif
        peers[inode] = peer;
    }
    return peers;
}

#ifdef __linux__

bool applyLinkTimeouts(int socket, const LinkTimeouts& t)
{
    const int on = 1;
    bool ok = setsockopt(socket, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on) == 0;
    ok = setsockopt(socket, IPPROTO_TCP, TCP_KEEPIDLE, &t.keepIdleSeconds, sizeof t.keepIdleSeconds) == 0 && ok;
    ok = setsockopt(socket, IPPROTO_TCP, TCP_KEEPINTVL, &t.keepIntervalSeconds, sizeof t.keepIntervalSeconds) == 0 && ok;
    ok = setsockopt(socket, IPPROTO_TCP, TCP_KEEPCNT, &t.keepProbes, sizeof t.keepProbes) == 0 && ok;
    ok = setsockopt(socket, IPPROTO_TCP, TCP_USER_TIMEOUT, &t.userTimeoutMilliseconds,
                    sizeof t.userTimeoutMilliseconds) == 0 && ok;
    ok = setsockopt(socket, IPPROTO_TCP, TCP_SYNCNT, &t.synRetries, sizeof t.synRetries) == 0 && ok;
    return ok;
}

struct AttachWatch::State {
    AttachTarget target;
    LinkTimeouts timeouts;
    std::map<unsigned long, int> before; // sockets that existed when the watch began
    std::set<std::string> addresses;     // the host's, once resolved
    std::set<unsigned long> done;        // sockets given the timeouts
    std::mutex mutex;
    std::condition_variable wake;
    bool stop = false;
    std::thread helper;

    // One look at the process's sockets; gives the attach's new ones the timeouts.
    void scan()
    {
        std::map<unsigned long, int> fresh;
        for (const auto& [inode, fd] : ownSockets()) {
            if (!before.count(inode) && !done.count(inode))
                fresh[inode] = fd;
        }
        if (fresh.empty() || addresses.empty())
            return;
        // A socket still connecting has no peer name yet; the kernel's table has it.
        for (const bool six : {false, true}) {
            const auto peers = parseTcpTable(readFile(six ? "/proc/self/net/tcp6" : "/proc/self/net/tcp"), six);
            for (const auto& [inode, fd] : fresh) {
                const auto peer = peers.find(inode);
                if (peer == peers.end() || peer->second.port != target.port || !addresses.count(peer->second.address))
                    continue;
                // A copy of the descriptor pins the socket: the number may be
                // closed and reused meanwhile, the copy's inode tells.
                const int copy = fcntl(fd, F_DUPFD_CLOEXEC, 0);
                if (copy < 0)
                    continue;
                struct stat info {};
                if (fstat(copy, &info) == 0 && S_ISSOCK(info.st_mode) && info.st_ino == inode &&
                    applyLinkTimeouts(copy, timeouts))
                    done.insert(inode);
                close(copy);
            }
        }
    }

    // Ends the helper thread, if one runs, and waits for it.
    void stopHelper()
    {
        if (!helper.joinable())
            return;
        {
            std::lock_guard lock(mutex);
            stop = true;
        }
        wake.notify_one();
        helper.join();
    }

    void run()
    {
        const std::set<std::string> resolved = resolve(target.host);
        std::unique_lock lock(mutex);
        addresses = resolved;
        while (!stop) {
            scan();
            wake.wait_for(lock, std::chrono::milliseconds(20));
        }
    }
};

AttachWatch::AttachWatch(const AttachTarget& target, const LinkTimeouts& timeouts) : state_(std::make_unique<State>())
{
    state_->target = target;
    state_->timeouts = timeouts;
    if (target.port == 0)
        return;
    state_->before = ownSockets();
    try {
        state_->helper = std::thread([state = state_.get()] { state->run(); });
    } catch (const std::system_error&) {
        // No thread: the final look after the attach still covers the connection.
        state_->addresses = resolve(target.host);
    }
}

AttachWatch::~AttachWatch()
{
    state_->stopHelper();
}

std::size_t AttachWatch::finish()
{
    if (state_->target.port == 0)
        return 0;
    state_->stopHelper();
    state_->scan();
    return state_->done.size();
}

#else

// Windows: the client library's socket is a handle inside it, and nothing
// the system offers ties a handle to a connection honestly, so the system's
// own TCP settings bound the wait there.
bool applyLinkTimeouts(int, const LinkTimeouts&) { return false; }

struct AttachWatch::State {};

AttachWatch::AttachWatch(const AttachTarget&, const LinkTimeouts&) : state_(std::make_unique<State>()) {}
AttachWatch::~AttachWatch() = default;
std::size_t AttachWatch::finish() { return 0; }

#endif

} // namespace quelvo
