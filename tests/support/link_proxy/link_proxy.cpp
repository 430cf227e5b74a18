#include "link_proxy.h"

#include <arpa/inet.h>
#include <cerrno>
#include <deque>
#include <fcntl.h>
#include <list>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Bytes read from one side, to be written to the other once the link has carried them.
struct InFlight {
    Clock::time_point due;
    std::string bytes;
};

// One connection through the link: the desk's side and the server's.
struct Link {
    int desk = -1;
    int server = -1;
    std::deque<InFlight> toServer;
    std::deque<InFlight> toDesk;
    bool deskClosed = false;
    bool serverClosed = false;
    bool awaitingAnswer = false;
    bool cutOnAnswer = false;
    bool dropped = false;
};

void nonBlocking(int fd)
{
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
}

void closeLink(Link& link)
{
    ::close(link.desk);
    ::close(link.server);
    link.dropped = true;
}

// Writes what is due; false when the other side is gone.
bool writeDue(int fd, std::deque<InFlight>& queue, Clock::time_point now)
{
    while (!queue.empty() && queue.front().due <= now) {
        std::string& bytes = queue.front().bytes;
        const ssize_t written = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (written < 0)
            return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
        bytes.erase(0, size_t(written));
        if (!bytes.empty())
            return true;
        queue.pop_front();
    }
    return true;
}

} // namespace

LinkProxy::LinkProxy(std::string socketFile) : socketFile_(std::move(socketFile))
{
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(listener_, 16) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0 || ::pipe(wake_) != 0)
        throw std::runtime_error("the link proxy cannot listen on the loopback address");
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { run(); });
}

LinkProxy::~LinkProxy()
{
    const char stop = 's';
    [[maybe_unused]] const ssize_t written = ::write(wake_[1], &stop, 1);
    thread_.join();
    ::close(listener_);
    ::close(wake_[0]);
    ::close(wake_[1]);
}

std::string LinkProxy::address() const
{
    return "host=127.0.0.1 port=" + std::to_string(port_);
}

void LinkProxy::setRoundTrip(std::chrono::microseconds roundTrip)
{
    oneWayMicros_ = roundTrip.count() / 2;
}

void LinkProxy::cutAtNext(std::string marker, bool beforeServer)
{
    const std::lock_guard<std::mutex> lock(cutMutex_);
    cutMarker_ = std::move(marker);
    cutBeforeServer_ = beforeServer;
    cut_ = false;
}

void LinkProxy::run()
{
    std::list<Link> links;
    std::vector<int> silentDesks;
    char buffer[65536];
    for (;;) {
        const Clock::time_point now = Clock::now();
        int timeoutMs = -1;
        std::vector<pollfd> fds{{wake_[0], POLLIN, 0}, {listener_, POLLIN, 0}};
        for (const int desk : silentDesks)
            fds.push_back({desk, POLLIN, 0});
        for (Link& link : links) {
            for (const auto* queue : {&link.toServer, &link.toDesk}) {
                if (queue->empty())
                    continue;
                const auto wait = std::chrono::ceil<std::chrono::milliseconds>(queue->front().due - now).count();
                timeoutMs = timeoutMs < 0 ? int(std::max<long long>(wait, 0)) : std::min(timeoutMs, int(std::max<long long>(wait, 0)));
            }
            const short deskOut = !link.toDesk.empty() && link.toDesk.front().due <= now ? POLLOUT : 0;
            const short serverOut = !link.toServer.empty() && link.toServer.front().due <= now ? POLLOUT : 0;
            fds.push_back({link.desk, short((link.deskClosed ? 0 : POLLIN) | deskOut), 0});
            fds.push_back({link.server, short((link.serverClosed ? 0 : POLLIN) | serverOut), 0});
        }
        if (::poll(fds.data(), fds.size(), timeoutMs) < 0 && errno != EINTR)
            return;
        if (fds[0].revents)
            break;
        // What was polled; a desk accepted below is polled from the next turn on.
        const size_t silentPolled = silentDesks.size();
        const size_t linksPolled = links.size();
        if (fds[1].revents & POLLIN) {
            const int desk = ::accept(listener_, nullptr, nullptr);
            if (desk >= 0)
                ++connectionsTaken_;
            if (desk >= 0 && refusing_) {
                ::close(desk);
            } else if (desk >= 0) {
                const int one = 1;
                ::setsockopt(desk, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
                nonBlocking(desk);
                if (silent_) {
                    silentDesks.push_back(desk);
                } else {
                    const int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
                    sockaddr_un target{};
                    target.sun_family = AF_UNIX;
                    socketFile_.copy(target.sun_path, sizeof target.sun_path - 1);
                    if (server < 0 || ::connect(server, reinterpret_cast<sockaddr*>(&target), sizeof target) != 0) {
                        ::close(desk);
                        if (server >= 0)
                            ::close(server);
                    } else {
                        nonBlocking(server);
                        Link link;
                        link.desk = desk;
                        link.server = server;
                        links.push_back(std::move(link));
                    }
                }
            }
        }
        size_t at = 2;
        for (size_t i = 0; i < silentPolled; ++i, ++at) {
            // Read and forget, as a server that hangs takes what it is sent; a desk that goes is let go.
            if (fds[at].revents && ::recv(silentDesks[i], buffer, sizeof buffer, 0) <= 0 && errno != EAGAIN) {
                ::close(silentDesks[i]);
                silentDesks[i] = -1;
            }
        }
        std::erase(silentDesks, -1);
        const Clock::time_point arrived = Clock::now();
        const auto oneWay = std::chrono::microseconds(oneWayMicros_.load());
        size_t linkIndex = 0;
        for (Link& link : links) {
            if (linkIndex++ == linksPolled)
                break;
            const pollfd& desk = fds[at++];
            const pollfd& server = fds[at++];
            if (desk.revents & (POLLIN | POLLHUP | POLLERR)) {
                const ssize_t got = ::recv(link.desk, buffer, sizeof buffer, 0);
                if (got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR)) {
                    link.deskClosed = true;
                } else if (got > 0 && silent_) {
                    // A server that hangs takes what it is sent and answers nothing.
                } else if (got > 0) {
                    std::string bytes(buffer, size_t(got));
                    link.awaitingAnswer = true;
                    const std::lock_guard<std::mutex> lock(cutMutex_);
                    if (!cutMarker_.empty() && bytes.find(cutMarker_) != std::string::npos) {
                        cutMarker_.clear();
                        if (cutBeforeServer_) {
                            closeLink(link);
                            cut_ = true;
                            continue;
                        }
                        link.cutOnAnswer = true;
                    }
                    link.toServer.push_back({arrived + oneWay, std::move(bytes)});
                }
            }
            if (server.revents & (POLLIN | POLLHUP | POLLERR)) {
                const ssize_t got = ::recv(link.server, buffer, sizeof buffer, 0);
                if (got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR)) {
                    link.serverClosed = true;
                } else if (got > 0 && link.cutOnAnswer) {
                    closeLink(link);
                    cut_ = true;
                    continue;
                } else if (got > 0) {
                    if (link.awaitingAnswer)
                        ++roundTrips_;
                    link.awaitingAnswer = false;
                    link.toDesk.push_back({arrived + oneWay, std::string(buffer, size_t(got))});
                }
            }
            const Clock::time_point writing = Clock::now();
            if (!writeDue(link.server, link.toServer, writing) || !writeDue(link.desk, link.toDesk, writing) ||
                (link.deskClosed && link.toServer.empty()) || (link.serverClosed && link.toDesk.empty()))
                closeLink(link);
        }
        links.remove_if([](const Link& link) { return link.dropped; });
    }
    for (Link& link : links)
        closeLink(link);
    for (const int desk : silentDesks)
        ::close(desk);
}
