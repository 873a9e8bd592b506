#pragma once

#include "Protocol.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

namespace precivox {

// A terminal's end of a connection to the server: blocking sends and whole lines read
// with a time limit. Raises std::system_error when the connection fails.
class TerminalConnection {
public:
    TerminalConnection(const std::string& host, uint16_t port, std::chrono::milliseconds timeout);
    ~TerminalConnection();
    TerminalConnection(const TerminalConnection&) = delete;
    TerminalConnection& operator=(const TerminalConnection&) = delete;

    void send(std::string_view bytes);

    enum class Status { Line, TimedOut, Closed };
    struct Reading {
        Status status;
        std::string line; // without its LF
    };
    Reading readLine(std::chrono::milliseconds timeout);

    // For waiting on the connection together with other descriptors.
    int descriptor() const { return socket_; }

private:
    int socket_ = -1;
    LineSplitter splitter_;
    std::deque<std::string> lines_;
    bool closed_ = false;
};

} // namespace precivox
