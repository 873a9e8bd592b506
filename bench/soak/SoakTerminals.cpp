// Many terminals scanning at random against a running Precivox while the database server
// is restarted: every terminal waits for the answer to its scan (as a customer reads the
// price) before it pauses and scans again. Reports the answers received against the scans
// sent, which unanswered scans were in flight during a restart, and the program's memory
// and open descriptors at the start and at the end. Run by bench/soak/soak.sh.
#include "TerminalConnection.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <poll.h>
#include <random>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char** environ;

using namespace precivox;
using Clock = std::chrono::steady_clock;
using Seconds = std::chrono::duration<double>;

namespace {

struct Options {
    uint16_t port = 17600;
    int terminals = 300;
    Seconds duration{600};
    Seconds meanPause{370}; // about 0.8 scans a second over 300 terminals
    Seconds answerPatience{120};
    std::vector<Seconds> restartsAt;
    std::string restartCommand;
    int programPid = 0;
    std::string barcodesFile;
};

Options parseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i], value = argv[i + 1];
        if (name == "--port")
            options.port = static_cast<uint16_t>(std::stoi(value));
        else if (name == "--terminals")
            options.terminals = std::stoi(value);
        else if (name == "--seconds")
            options.duration = Seconds(std::stod(value));
        else if (name == "--mean-pause")
            options.meanPause = Seconds(std::stod(value));
        else if (name == "--restart-at")
            options.restartsAt.emplace_back(std::stod(value));
        else if (name == "--restart-command")
            options.restartCommand = value;
        else if (name == "--program-pid")
            options.programPid = std::stoi(value);
        else if (name == "--barcodes")
            options.barcodesFile = value;
        else
            throw std::invalid_argument("unknown option " + name);
    }
    if (options.barcodesFile.empty() || options.programPid == 0)
        throw std::invalid_argument("--barcodes FILE and --program-pid PID are needed");
    return options;
}

// What the kernel says of the program: peak and current resident memory, open descriptors.
struct ProgramSample {
    long peakKib = 0;
    long residentKib = 0;
    long descriptors = 0;
};

ProgramSample sampleProgram(int pid) {
    ProgramSample sample;
    const std::filesystem::path process = "/proc/" + std::to_string(pid);
    std::ifstream status(process / "status");
    for (std::string line; std::getline(status, line);) {
        std::istringstream fields(line);
        std::string name;
        long value = 0;
        fields >> name >> value;
        if (name == "VmHWM:")
            sample.peakKib = value;
        else if (name == "VmRSS:")
            sample.residentKib = value;
    }
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(process / "fd"))
        ++sample.descriptors;
    return sample;
}

struct Restart {
    Clock::time_point began;
    std::optional<Clock::time_point> ended;
    pid_t child = -1;
};

struct Scan {
    Clock::time_point sent;
    std::optional<Clock::time_point> resolved;
    bool answered = false;
};

struct Terminal {
    int32_t number;
    std::unique_ptr<TerminalConnection> connection;
    Clock::time_point nextScan;
    std::optional<std::size_t> waiting; // index into the scans
    long keepAlives = 0;
};

pid_t runCommand(const std::string& command) {
    const char* argv[] = {"/bin/sh", "-c", command.c_str(), nullptr};
    pid_t pid = -1;
    if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ) != 0)
        throw std::runtime_error("cannot run " + command);
    return pid;
}

class Soak {
public:
    explicit Soak(Options options) : options_(std::move(options)), random_(20261211) {
        std::ifstream file(options_.barcodesFile);
        for (std::string line; std::getline(file, line);)
            if (!line.empty())
                barcodes_.push_back(line);
        if (barcodes_.empty())
            throw std::runtime_error("no barcodes in " + options_.barcodesFile);
    }

    void run() {
        connectAll();
        std::this_thread::sleep_for(std::chrono::seconds(5));
        start_ = Clock::now();
        atStart_ = sampleProgram(options_.programPid);
        std::exponential_distribution<double> pause(1.0 / options_.meanPause.count());
        for (auto& terminal : terminals_)
            terminal.nextScan = start_ + toDuration(Seconds(pause(random_)));

        const auto end = start_ + toDuration(options_.duration);
        while (Clock::now() < end ||
               (anyWaiting() && Clock::now() < end + toDuration(options_.answerPatience))) {
            const bool scanning = Clock::now() < end;
            superviseRestarts(scanning);
            readAnswers();
            for (auto& terminal : terminals_)
                if (scanning)
                    scanIfDue(terminal, pause);
            giveUpOnLateAnswers();
        }
        giveUpOnLateAnswers(true);
        for (auto& restart : restarts_) {
            if (!restart.ended) {
                waitpid(restart.child, nullptr, 0);
                restart.ended = Clock::now();
            }
        }
        atEnd_ = sampleProgram(options_.programPid);
        report();
    }

private:
    static Clock::duration toDuration(Seconds seconds) {
        return std::chrono::duration_cast<Clock::duration>(seconds);
    }

    void connectAll() {
        for (int32_t number = 1; number <= options_.terminals; ++number) {
            Terminal terminal{number,
                              std::make_unique<TerminalConnection>("127.0.0.1", options_.port,
                                                                   std::chrono::seconds(10)),
                              {},
                              {},
                              0};
            terminal.connection->send("HELLO " + std::to_string(number) + "\n");
            const auto welcome = terminal.connection->readLine(std::chrono::seconds(10));
            if (welcome.line != "WELCOME " + std::to_string(number))
                throw std::runtime_error("terminal " + std::to_string(number) +
                                         " not welcome: " + welcome.line);
            terminals_.push_back(std::move(terminal));
        }
    }

    bool anyWaiting() const {
        return std::any_of(terminals_.begin(), terminals_.end(),
                           [](const Terminal& t) { return t.waiting.has_value(); });
    }

    void superviseRestarts(bool scanning) {
        const auto elapsed = Clock::now() - start_;
        if (scanning && restarts_.size() < options_.restartsAt.size() &&
            elapsed >= toDuration(options_.restartsAt[restarts_.size()]))
            restarts_.push_back({Clock::now(), std::nullopt, runCommand(options_.restartCommand)});
        for (auto& restart : restarts_) {
            int status = 0;
            if (!restart.ended && waitpid(restart.child, &status, WNOHANG) == restart.child) {
                restart.ended = Clock::now();
                if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
                    throw std::runtime_error("the restart command failed");
            }
        }
    }

    void readAnswers() {
        std::vector<pollfd> waits;
        for (const auto& terminal : terminals_)
            waits.push_back({terminal.connection->descriptor(), POLLIN, 0});
        if (::poll(waits.data(), waits.size(), 50) <= 0)
            return;
        for (std::size_t i = 0; i < waits.size(); ++i) {
            if (!(waits[i].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            auto& terminal = terminals_[i];
            for (;;) {
                auto reading = terminal.connection->readLine(std::chrono::milliseconds(0));
                if (reading.status == TerminalConnection::Status::Closed)
                    throw std::runtime_error("the server closed terminal " +
                                             std::to_string(terminal.number));
                if (reading.status != TerminalConnection::Status::Line)
                    break;
                if (reading.line == "ALIVE")
                    ++terminal.keepAlives;
                else if (reading.line == "NOTFOUND" || reading.line.starts_with("PRICE "))
                    answered(terminal);
                else
                    ++unexpectedLines_;
            }
        }
    }

    void answered(Terminal& terminal) {
        if (!terminal.waiting) {
            ++lateAnswers_;
            return;
        }
        auto& scan = scans_[*terminal.waiting];
        scan.resolved = Clock::now();
        scan.answered = true;
        terminal.waiting.reset();
    }

    void scanIfDue(Terminal& terminal, std::exponential_distribution<double>& pause) {
        if (terminal.waiting || Clock::now() < terminal.nextScan)
            return;
        const auto& barcode = barcodes_[random_() % barcodes_.size()];
        terminal.connection->send("SCAN " + barcode + "\n");
        terminal.waiting = scans_.size();
        scans_.push_back({Clock::now(), std::nullopt, false});
        terminal.nextScan = Clock::now() + toDuration(Seconds(pause(random_)));
    }

    // A scan not answered within the patience is given up, as a customer would.
    void giveUpOnLateAnswers(bool all = false) {
        for (auto& terminal : terminals_) {
            if (!terminal.waiting)
                continue;
            auto& scan = scans_[*terminal.waiting];
            if (all || Clock::now() - scan.sent > toDuration(options_.answerPatience)) {
                scan.resolved = Clock::now();
                terminal.waiting.reset();
                terminal.nextScan = std::max(terminal.nextScan, Clock::now());
            }
        }
    }

    bool inFlightDuringARestart(const Scan& scan) const {
        return std::any_of(restarts_.begin(), restarts_.end(), [&](const Restart& restart) {
            return scan.sent <= *restart.ended && *scan.resolved >= restart.began;
        });
    }

    void report() const {
        long answered = 0, inFlight = 0, lost = 0;
        std::vector<double> waits;
        for (const auto& scan : scans_) {
            if (scan.answered) {
                ++answered;
                waits.push_back(Seconds(*scan.resolved - scan.sent).count());
            } else if (inFlightDuringARestart(scan)) {
                ++inFlight;
            } else {
                ++lost;
            }
        }
        std::sort(waits.begin(), waits.end());
        const auto at = [&](double share) {
            return waits.empty() ? 0.0
                                 : waits[std::min(waits.size() - 1,
                                                  static_cast<std::size_t>(share * waits.size()))];
        };
        long keepAlives = 0, fewestKeepAlives = LONG_MAX;
        for (const auto& terminal : terminals_) {
            keepAlives += terminal.keepAlives;
            fewestKeepAlives = std::min(fewestKeepAlives, terminal.keepAlives);
        }

        std::cout << "terminals: " << terminals_.size() << ", scanning for "
                  << options_.duration.count() << " s\n";
        for (std::size_t i = 0; i < restarts_.size(); ++i)
            std::cout << "database restart " << i + 1 << ": at "
                      << Seconds(restarts_[i].began - start_).count() << " s, back after "
                      << Seconds(*restarts_[i].ended - restarts_[i].began).count() << " s\n";
        std::cout << "scans sent: " << scans_.size() << "\n"
                  << "answers received: " << answered << "\n"
                  << "unanswered, in flight during a restart: " << inFlight << "\n"
                  << "unanswered otherwise (lost): " << lost << "\n"
                  << "answers after the terminal gave up: " << lateAnswers_ << "\n"
                  << "unexpected lines: " << unexpectedLines_ << "\n"
                  << "wait for an answer: median " << at(0.5) << " s, p99 " << at(0.99)
                  << " s, max " << (waits.empty() ? 0.0 : waits.back()) << " s\n"
                  << "keep-alives received: " << keepAlives << " (fewest at one terminal "
                  << fewestKeepAlives << ")\n"
                  << "program at start: peak memory " << atStart_.peakKib << " KiB, resident "
                  << atStart_.residentKib << " KiB, open descriptors " << atStart_.descriptors
                  << "\n"
                  << "program at end:   peak memory " << atEnd_.peakKib << " KiB, resident "
                  << atEnd_.residentKib << " KiB, open descriptors " << atEnd_.descriptors << "\n";
    }

    Options options_;
    std::mt19937 random_;
    std::vector<std::string> barcodes_;
    std::vector<Terminal> terminals_;
    std::vector<Scan> scans_;
    std::vector<Restart> restarts_;
    Clock::time_point start_;
    ProgramSample atStart_, atEnd_;
    long lateAnswers_ = 0;
    long unexpectedLines_ = 0;
};

} // namespace

int main(int argc, char** argv) {
    try {
        Soak(parseOptions(argc, argv)).run();
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "soak: " << error.what() << "\n";
        return 1;
    }
}
