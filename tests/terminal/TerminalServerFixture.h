#pragma once

#include "TerminalConnection.h"
#include "TerminalServer.h"

#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace precivox::test {

// How long a test waits for something that should happen at once.
inline constexpr std::chrono::seconds kPatience{5};

inline constexpr ListenAddress kLoopbackAnyPort{{127, 0, 0, 1}, 0};

struct TakenScan {
    int32_t terminal;
    std::string barcode;
    bool operator==(const TakenScan&) const = default;
};

// A real server on a loopback port of its own, its log captured.
class TerminalServerTest : public ::testing::Test {
protected:
    void SetUp() override { startServer(std::chrono::seconds(10)); }

    void startServer(std::chrono::milliseconds helloTimeout);
    // The log is safe to read only once the I/O thread has ended.
    std::string stopServerAndReadLog();

    std::unique_ptr<TerminalConnection> connect();
    // Connected, registered, its WELCOME read.
    std::unique_ptr<TerminalConnection> registerTerminal(int32_t number);

    TTabConectados table();
    std::vector<TakenScan> takeAllScans();

    std::ostringstream log_;
    std::unique_ptr<TerminalServer> server_;
};

// The next line from the server; a failure and "" when none comes.
std::string nextLine(TerminalConnection& connection);
// True when the server closes the connection (lines before that are skipped).
bool closedByServer(TerminalConnection& connection);
// Returns once the server has handled every line the registered terminal sent before.
void sync(TerminalConnection& connection);
bool waitUntil(const std::function<bool()>& condition);
// Raises the open-files limit for tests that hold over a thousand connections.
void allowDescriptors(std::size_t count);

} // namespace precivox::test
