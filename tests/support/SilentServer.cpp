#include "SilentServer.h"

#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace precivox::test {

struct SilentServer::State {
    int listener = -1;
    int wakeUp[2] = {-1, -1};
    std::atomic<int> accepted{0};
    std::vector<int> held; // the accepting thread's only
    std::thread thread;

    void acceptUntilWoken() {
        pollfd waits[2] = {{listener, POLLIN, 0}, {wakeUp[0], POLLIN, 0}};
        while (poll(waits, 2, -1) >= 0 && !(waits[1].revents & POLLIN)) {
            if (!(waits[0].revents & POLLIN))
                continue;
            const int connection = accept(listener, nullptr, nullptr);
            if (connection >= 0) {
                held.push_back(connection);
                ++accepted;
            }
        }
        for (int connection : held)
            close(connection);
    }
};

SilentServer::SilentServer(const std::string& address) : state_(std::make_unique<State>()) {
    sockaddr_in endpoint{};
    endpoint.sin_family = AF_INET;
    endpoint.sin_port = htons(3306);
    if (inet_pton(AF_INET, address.c_str(), &endpoint.sin_addr) != 1)
        throw std::runtime_error(address + " is not an IPv4 address");
    state_->listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    setsockopt(state_->listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (state_->listener < 0 ||
        bind(state_->listener, reinterpret_cast<sockaddr*>(&endpoint), sizeof endpoint) != 0 ||
        listen(state_->listener, 16) != 0 || pipe2(state_->wakeUp, O_CLOEXEC) != 0) {
        const std::string reason = std::strerror(errno);
        if (state_->listener >= 0)
            close(state_->listener);
        throw std::runtime_error("cannot listen on " + address + ":3306: " + reason);
    }
    state_->thread = std::thread([state = state_.get()] { state->acceptUntilWoken(); });
}

SilentServer::~SilentServer() {
    const char byte = 0;
    [[maybe_unused]] const auto written = write(state_->wakeUp[1], &byte, 1);
    state_->thread.join();
    close(state_->listener);
    close(state_->wakeUp[0]);
    close(state_->wakeUp[1]);
}

int SilentServer::accepted() const {
    return state_->accepted;
}

} // namespace precivox::test
