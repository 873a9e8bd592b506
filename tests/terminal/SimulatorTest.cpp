#include "TerminalServerFixture.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace precivox::test {
namespace {

struct Run {
    int status;
    std::string out;
    std::string err;
};

std::string quoted(const std::string& argument) {
    std::string result = "'";
    for (char c : argument)
        result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return result + "'";
}

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

Run runSimulator(const std::vector<std::string>& arguments, const std::string& input = "") {
    // Tests run side by side: each process has files of its own.
    const std::string prefix = ::testing::TempDir() + "simulator-" + std::to_string(::getpid());
    const std::string inputPath = prefix + "-input";
    const std::string errPath = prefix + "-err";
    std::ofstream(inputPath, std::ios::binary) << input;
    std::string command = quoted(PRECIVOX_TERMINAL_SIMULATOR);
    for (const auto& argument : arguments)
        command += ' ' + quoted(argument);
    command += " <" + quoted(inputPath) + " 2>" + quoted(errPath);

    Run run{};
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        ADD_FAILURE() << "cannot start " << command;
        return run;
    }
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        run.out.append(buffer, n);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = readFile(errPath);
    std::remove(inputPath.c_str());
    std::remove(errPath.c_str());
    return run;
}

// Plays the program's part: "789" is a known product, whose answer comes only after the
// terminal's configuration has been read and a new one sent; anything else is not found.
class ProgramLoop {
public:
    explicit ProgramLoop(TerminalServer& server) : server_(server), thread_([this] { run(); }) {}
    ~ProgramLoop() { stop(); }
    // Ends the loop; gives the last configuration it read from a terminal.
    TConfigTerminal stop() {
        done_ = true;
        if (thread_.joinable())
            thread_.join();
        return received_;
    }

private:
    void run() {
        while (!done_) {
            int32_t terminal, unused, length;
            const uint8_t* buffer;
            if (!server_.bReceiveBarcode(terminal, unused, buffer, length)) {
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
                continue;
            }
            if (std::string(reinterpret_cast<const char*>(buffer) + 1) != "789") {
                server_.bSendProdNotFound(terminal);
                continue;
            }
            server_.bPedeConfig(terminal);
            TConfigTerminal* record = &received_;
            if (!waitUntil([&] { return server_.bReceiveConfig(&record); }))
                continue;
            TConfigTerminal changed = received_;
            std::strcpy(changed.texts[0], "NOVO TEXTO");
            server_.bMandaConfig(&changed);
            char description[101] = "CAF\xC9 TORRADO";
            char price[101] = "12,50";
            server_.bSendProdPrice(terminal, description, 100, price, 100);
        }
    }

    TerminalServer& server_;
    std::atomic<bool> done_ = false;
    TConfigTerminal received_{};
    std::thread thread_;
};

using SimulatorTest = TerminalServerTest;

TEST_F(SimulatorTest, ScansArgumentsAndAnswersConfiguration) {
    const std::string port = std::to_string(server_->listeningPort());
    ProgramLoop program(*server_);
    const auto run = runSimulator(
        {"--port", port, "--number", "12", "--text1=OL\xC3\x81", "--time", "30", "789", "000"});
    const TConfigTerminal received = program.stop();
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "SETCONFIG 127.0.0.1\t127.0.0.1\t255.0.0.0\tNOVO TEXTO\tPASSE O PRODUTO"
                       "\t\t\t30\n"
                       "PRICE CAF\xC3\x89 TORRADO 12,50\n"
                       "NOTFOUND\n");
    EXPECT_EQ(received.terminal, 12);
    EXPECT_STREQ(received.server, "127.0.0.1");
    EXPECT_STREQ(received.texts[0], "OL\xC1") << "sent in Latin-1";
    EXPECT_EQ(received.displayTime, 30);
}

TEST_F(SimulatorTest, ReadsBarcodesFromStandardInput) {
    const std::string port = std::to_string(server_->listeningPort());
    ProgramLoop program(*server_);
    const auto run = runSimulator({"--port", port}, "111\n\n222");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "NOTFOUND\nNOTFOUND\n");
    EXPECT_NE(run.err.find("keep-alives received"), std::string::npos) << run.err;
}

TEST_F(SimulatorTest, FailsWhenUnreachableOrUnanswered) {
    const std::string port = std::to_string(server_->listeningPort());
    const auto unanswered = runSimulator({"--port", port, "--timeout", "1", "789"});
    EXPECT_EQ(unanswered.status, 1);
    EXPECT_NE(unanswered.err.find("no answer for barcode 789 within 1 s"), std::string::npos)
        << unanswered.err;

    server_.reset();
    const auto unreachable = runSimulator({"--port", port, "--timeout", "1", "789"});
    EXPECT_EQ(unreachable.status, 1);
    EXPECT_NE(unreachable.err.find("cannot connect to 127.0.0.1:" + port), std::string::npos)
        << unreachable.err;

    const auto badUsage = runSimulator({"--port", "0"});
    EXPECT_EQ(badUsage.status, 2);
}

} // namespace
} // namespace precivox::test
