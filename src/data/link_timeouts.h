#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>

namespace quelvo {

// How long the connection may go without a packet from the server's host.
//
// The client library waits for the server without a bound of its own once
// a request is out: a host that vanishes (cable, VPN, Wi-Fi) leaves a
// search waiting for TCP's retransmissions (about 15 minutes) or, after the
// server has acknowledged the request, for keepalive (over two hours). A
// live server's kernel acknowledges data and answers keepalive probes
// however busy the server is, so these bounds end only a silent host, never
// a slow search. The socket then fails and the client reports its network
// error, one of the codes after which the connection counts as gone.
struct LinkTimeouts {
    int keepIdleSeconds = 10;            // silence before the first probe
    int keepIntervalSeconds = 5;         // between probes
    int keepProbes = 4;                  // unanswered probes before giving up
    unsigned userTimeoutMilliseconds = 30000; // sent data unacknowledged, or probes unanswered
    int synRetries = 4;                  // connection attempts (kernels that ignore the above there)
};

// Gives one TCP socket these timeouts (and keepalive). False when the
// system refused any of them.
bool applyLinkTimeouts(int socket, const LinkTimeouts& timeouts = {});

// Where an attach name leads, read as the client reads it: the node before
// the first ':' (after a bracketed IPv6 address), split at its first '/'
// into host and port. An empty host is this machine's own name, as the
// client takes it; a port that is not a number is 0.
struct AttachTarget {
    std::string host;
    int port = 0;
};
AttachTarget attachTarget(std::string_view attachName);

// The peer of one TCP socket in the kernel's table, by socket inode.
struct TcpPeer {
    std::string address; // numeric; an IPv4 address mapped into IPv6 as IPv4
    int port = 0;
};
// Parses the text of /proc/net/tcp (ipv6 false) or /proc/net/tcp6.
std::map<unsigned long, TcpPeer> parseTcpTable(std::string_view text, bool ipv6);

// Watches one attach made on the calling thread. The client library opens
// its socket inside the attach call, out of the program's reach; while the
// call runs, a helper thread looks for sockets of this process that did not
// exist when the watch began and whose peer is the attach's host and port,
// and gives them the timeouts, so that even a connection attempt that gets
// no answer ends in time. It never calls the client library and touches no
// other socket. On Linux only: elsewhere the process's sockets cannot be
// told apart this way, and the watch does nothing.
class AttachWatch {
public:
    AttachWatch(const AttachTarget& target, const LinkTimeouts& timeouts = {});
    ~AttachWatch();
    AttachWatch(const AttachWatch&) = delete;
    AttachWatch& operator=(const AttachWatch&) = delete;

    // After the attach has returned: stops the helper and gives the
    // timeouts to the attach's sockets it has not reached yet. Returns how
    // many sockets have them.
    std::size_t finish();

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace quelvo
