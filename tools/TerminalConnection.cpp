#include "TerminalConnection.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <iterator>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace precivox {

namespace {

[[noreturn]] void raiseSystemError(const std::string& what, int error = errno) {
    throw std::system_error(error, std::generic_category(), what);
}

// Waits for `events` on `socket`; false when the time ran out.
bool waitFor(int socket, short events, std::chrono::milliseconds timeout) {
    pollfd entry{socket, events, 0};
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        const int ready = ::poll(&entry, 1, static_cast<int>(std::max<int64_t>(left.count(), 0)));
        if (ready > 0)
            return true;
        if (ready == 0)
            return false;
        if (errno != EINTR)
            raiseSystemError("poll");
    }
}

// Resolves `host` (IPv4) and connects within `timeout`.
int connectSocket(const std::string& host, uint16_t port, std::chrono::milliseconds timeout) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (const int error = ::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found))
        throw std::system_error(std::make_error_code(std::errc::host_unreachable),
                                host + ": " + ::gai_strerror(error));
    sockaddr_in address{};
    std::memcpy(&address, found->ai_addr, sizeof address);
    ::freeaddrinfo(found);

    const int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (socket < 0)
        raiseSystemError("socket");
    try {
        if (::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
            if (errno != EINPROGRESS)
                raiseSystemError("connect");
            if (!waitFor(socket, POLLOUT, timeout))
                raiseSystemError("connect", ETIMEDOUT);
            int error = 0;
            socklen_t length = sizeof error;
            ::getsockopt(socket, SOL_SOCKET, SO_ERROR, &error, &length);
            if (error != 0)
                raiseSystemError("connect", error);
        }
        ::fcntl(socket, F_SETFL, ::fcntl(socket, F_GETFL) & ~O_NONBLOCK);
        // Lines are small and each waits for its answer: Nagle would hold them back.
        const int on = 1;
        ::setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    } catch (...) {
        ::close(socket);
        throw;
    }
    return socket;
}

} // namespace

TerminalConnection::TerminalConnection(const std::string& host, uint16_t port,
                                       std::chrono::milliseconds timeout)
    : socket_(connectSocket(host, port, timeout)) {}

TerminalConnection::~TerminalConnection() {
    ::close(socket_);
}

void TerminalConnection::send(std::string_view bytes) {
    while (!bytes.empty()) {
        const auto sent = ::send(socket_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent < 0) {
            if (errno == EINTR)
                continue;
            raiseSystemError("send");
        }
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
}

TerminalConnection::Reading TerminalConnection::readLine(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (lines_.empty() && !closed_) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (!waitFor(socket_, POLLIN, std::max(left, std::chrono::milliseconds(0))))
            return {Status::TimedOut, {}};
        char buffer[4096];
        const auto received = ::recv(socket_, buffer, sizeof buffer, 0);
        if (received < 0 && errno == EINTR)
            continue;
        std::vector<std::string> lines;
        // A reset or a line too long to be the server's ends the connection as well.
        closed_ =
            received <= 0 || !splitter_.feed({buffer, static_cast<std::size_t>(received)}, lines);
        lines_.insert(lines_.end(), std::make_move_iterator(lines.begin()),
                      std::make_move_iterator(lines.end()));
    }
    if (lines_.empty())
        return {Status::Closed, {}};
    Reading reading{Status::Line, std::move(lines_.front())};
    lines_.pop_front();
    return reading;
}

} // namespace precivox
