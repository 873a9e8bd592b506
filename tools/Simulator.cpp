#include "Simulator.h"

#include "Latin1.h"
#include "Protocol.h"

#include <cerrno>
#include <poll.h>
#include <system_error>
#include <unistd.h>

namespace precivox {

namespace {

constexpr const char* kPrefix = "precivox-terminal: ";

std::string_view afterCommand(std::string_view line) {
    const auto blank = line.find(' ');
    return blank == std::string_view::npos ? std::string_view() : line.substr(blank + 1);
}

} // namespace

Simulator::Simulator(SimulatorOptions options, std::ostream& out, std::ostream& err)
    : options_(std::move(options)), out_(out), err_(err) {}

int Simulator::run(int input) {
    try {
        connection_ =
            std::make_unique<TerminalConnection>(options_.host, options_.port, options_.timeout);
    } catch (const std::system_error& error) {
        err_ << kPrefix << "cannot connect to " << options_.host << ':' << options_.port << ": "
             << error.what() << '\n';
        return 1;
    }
    bool served = false;
    try {
        served = registerTerminal();
        if (served && !options_.barcodes.empty()) {
            for (const auto& barcode : options_.barcodes)
                if (!(served = scan(barcode)))
                    break;
        } else if (served) {
            served = scanInput(input);
        }
    } catch (const std::system_error& error) {
        err_ << kPrefix << error.what() << '\n';
        served = false;
    }
    err_ << kPrefix << keepAlives_ << " keep-alives received\n";
    out_.flush();
    return served ? 0 : 1;
}

bool Simulator::registerTerminal() {
    connection_->send("HELLO " + std::to_string(options_.number) + '\n');
    const auto deadline = Clock::now() + options_.timeout;
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        auto reading = connection_->readLine(std::max(left, std::chrono::milliseconds(0)));
        if (reading.status == TerminalConnection::Status::TimedOut) {
            err_ << kPrefix << "no WELCOME within " << options_.timeout.count() << " s\n";
            return false;
        }
        if (reading.status == TerminalConnection::Status::Closed) {
            err_ << kPrefix << "the server closed the connection\n";
            return false;
        }
        if (reading.line == "WELCOME " + std::to_string(options_.number))
            return true;
        if (reading.line.starts_with("ERROR")) {
            err_ << kPrefix << "refused: " << latin1ToUtf8(reading.line) << '\n';
            return false;
        }
        handle(reading.line);
    }
}

bool Simulator::scan(const std::string& barcode) {
    if (barcode.empty())
        return true; // the server takes it, but no answer ever comes for it
    connection_->send("SCAN " + barcode + '\n');
    return awaitAnswer("barcode " + barcode);
}

bool Simulator::awaitAnswer(std::string_view what) {
    const auto deadline = Clock::now() + options_.timeout;
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        auto reading = connection_->readLine(std::max(left, std::chrono::milliseconds(0)));
        if (reading.status == TerminalConnection::Status::TimedOut) {
            err_ << kPrefix << "no answer for " << what << " within " << options_.timeout.count()
                 << " s\n";
            return false;
        }
        if (reading.status == TerminalConnection::Status::Closed) {
            err_ << kPrefix << "the server closed the connection\n";
            return false;
        }
        if (handle(reading.line) == Line::Answer)
            return true;
    }
}

// Lines typed or piped in, one barcode each; the server's lines are served meanwhile.
bool Simulator::scanInput(int input) {
    std::string typed;
    for (;;) {
        pollfd waiting[2] = {{input, POLLIN, 0}, {connection_->descriptor(), POLLIN, 0}};
        if (::poll(waiting, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            throw std::system_error(errno, std::generic_category(), "poll");
        }
        if (waiting[1].revents != 0 && !serveWaitingLines())
            return false;
        if (waiting[0].revents == 0)
            continue;
        char buffer[4096];
        const auto received = ::read(input, buffer, sizeof buffer);
        if (received < 0) {
            if (errno == EINTR)
                continue;
            throw std::system_error(errno, std::generic_category(), "reading standard input");
        }
        if (received == 0) // the last line may lack its LF
            return scan(typed);
        typed.append(buffer, static_cast<std::size_t>(received));
        for (auto end = typed.find('\n'); end != std::string::npos; end = typed.find('\n')) {
            const std::string barcode = typed.substr(0, end);
            typed.erase(0, end + 1);
            if (!scan(barcode))
                return false;
        }
    }
}

// The server spoke while nothing was asked: keep-alives, configuration, late answers.
bool Simulator::serveWaitingLines() {
    auto reading = connection_->readLine(std::chrono::milliseconds(0));
    while (reading.status == TerminalConnection::Status::Line) {
        handle(reading.line);
        reading = connection_->readLine(std::chrono::milliseconds(0));
    }
    if (reading.status == TerminalConnection::Status::Closed) {
        err_ << kPrefix << "the server closed the connection\n";
        return false;
    }
    return true;
}

Simulator::Line Simulator::handle(const std::string& line) {
    if (line == "ALIVE") {
        ++keepAlives_;
        return Line::Other;
    }
    if (line == "GETCONFIG") {
        connection_->send(configLine(options_.config));
        return Line::Other;
    }
    if (line.starts_with("SETCONFIG ")) {
        // Like a real terminal, it answers the next GETCONFIG with what it was sent.
        if (auto config = parseConfigFields(afterCommand(line))) {
            config->terminal = options_.number;
            options_.config = *config;
        }
        out_ << latin1ToUtf8(line) << '\n' << std::flush;
        return Line::Other;
    }
    if (line.starts_with("PRICE ")) {
        const auto fields = afterCommand(line);
        const auto tab = fields.find('\t');
        out_ << "PRICE " << latin1ToUtf8(fields.substr(0, tab));
        if (tab != std::string_view::npos)
            out_ << ' ' << latin1ToUtf8(fields.substr(tab + 1));
        out_ << '\n' << std::flush;
        return Line::Answer;
    }
    if (line == "NOTFOUND" || line.starts_with("ERROR")) {
        out_ << latin1ToUtf8(line) << '\n' << std::flush;
        return Line::Answer;
    }
    err_ << kPrefix << "unexpected line: " << latin1ToUtf8(line) << '\n';
    return Line::Other;
}

} // namespace precivox
