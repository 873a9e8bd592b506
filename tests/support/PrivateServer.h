#pragma once

#include "Connection.h"

#include <filesystem>
#include <string>
#include <sys/types.h>

namespace precivox::test {

// A MariaDB server of the test's own, on port 3306 of another loopback address (the
// program's port is fixed), so that a test can kill, stop, freeze and restart it under a
// running program. It runs only inside the test namespace, like the harness's server.
// Failures raise std::runtime_error with the server's log.
class PrivateServer {
public:
    // Makes a fresh data folder and starts the server; returns once it answers.
    explicit PrivateServer(std::string address);
    ~PrivateServer();
    PrivateServer(const PrivateServer&) = delete;
    PrivateServer& operator=(const PrivateServer&) = delete;

    // User root with its password, no database.
    ConnectionParameters administrator() const;

    void kill();   // SIGKILL: gone at once, as after a crash
    void stop();   // SIGTERM: an orderly shutdown
    void start();  // again on the same data folder; returns once it answers
    void freeze(); // SIGSTOP: connections stay open but nothing is answered
    void thaw();

private:
    void install();
    void letRootInOverTcp();
    void removeAll();
    void launch();
    void waitUntilAnswering();
    void signalAndReap(int signal);
    std::string log() const;

    std::string address_;
    std::filesystem::path folder_;
    pid_t pid_ = -1;
    bool frozen_ = false;
};

} // namespace precivox::test
