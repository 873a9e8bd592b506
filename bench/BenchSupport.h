#pragma once

#include "Connection.h"
#include "DateTime.h"
#include "TerminalLibrary.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace precivox::bench {

using Clock_ = std::chrono::steady_clock;

double microsBetween(Clock_::time_point start, Clock_::time_point end);

// Stamps the moment an answer reaches the library.
class StampingLibrary : public TerminalLibrary {
public:
    Clock_::time_point answeredAt;

    void vInitialize() override {}
    void tc_startserver() override {}
    bool bReceiveBarcode(int32_t&, int32_t&, const uint8_t*&, int32_t&) override { return false; }
    bool bSendProdPrice(int32_t, const char*, int32_t, const char*, int32_t) override;
    bool bSendProdNotFound(int32_t) override;
    bool bEnviaVivo(int32_t) override { return true; }
    bool bPedeConfig(int32_t) override { return true; }
    bool bReceiveConfig(TConfigTerminal**) override { return false; }
    bool bMandaConfig(const TConfigTerminal*) override { return true; }
    void GetTabConectados(int32_t, TTabConectados*) override {}
    void TCinet_ntoa(uint32_t, char* buffer, int32_t size) override;
};

struct FixedClock : Clock {
    DateTime now() const override { return {2026, 3, 10, 10, 0, 0, 0}; }
};

// A session of the client library with nothing of ours in between: the floor.
class BareSession {
public:
    explicit BareSession(const ConnectionParameters& parameters);
    ~BareSession();
    BareSession(const BareSession&) = delete;
    BareSession& operator=(const BareSession&) = delete;

    // Runs the statement and fetches its whole result, as the program's queries do.
    void send(const std::string& sql);
    std::vector<std::string> firstColumn(const std::string& sql);

private:
    struct Handle;
    std::unique_ptr<Handle> handle_;
};

// The statements the server received from the given sessions, read back from its general
// log. The log is on from construction to destruction; keep other work out of that span.
class StatementLog {
public:
    StatementLog(const ConnectionParameters& parameters, std::vector<std::string> threadIds);
    ~StatementLog();
    StatementLog(const StatementLog&) = delete;
    StatementLog& operator=(const StatementLog&) = delete;

    // What `work` sent, in the order the server received it.
    std::vector<std::string> capture(const std::function<void()>& work);

private:
    BareSession admin_;
    std::string filter_;
};

// The server's id of the connection, for StatementLog.
std::string connectionId(Connection& connection);

double percentile(std::vector<double> values, double fraction);

std::string readFile(const std::string& path);

} // namespace precivox::bench
