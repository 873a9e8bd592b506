#pragma once

#include <memory>
#include <string>

namespace precivox::test {

// Accepts connections on ADDRESS:3306 and never sends a byte: a database server that
// hangs. Connections are held until it is destroyed.
class SilentServer {
public:
    explicit SilentServer(const std::string& address);
    ~SilentServer();
    SilentServer(const SilentServer&) = delete;
    SilentServer& operator=(const SilentServer&) = delete;

    int accepted() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace precivox::test
