#pragma once

#include <chrono>
#include <cstdint>
#include <iosfwd>
#include <string>

namespace precivox {

// One line per scan in the operator's log: terminal, barcode, answer, milliseconds.
class ScanLogLine {
public:
    ScanLogLine(std::ostream& log, int32_t terminal, std::string barcode);

    // `answer` is what the terminal was sent (Latin-1), empty when nothing was; `path` says
    // how the price was found (UTF-8).
    void finish(const std::string& answer, const std::string& path);
    void fail(const std::string& answer, const std::string& error);

private:
    void write(const std::string& outcome);

    std::ostream& log_;
    int32_t terminal_;
    std::string barcode_;
    std::chrono::steady_clock::time_point start_;
};

// A Latin-1 text made safe for one log line: quotes, backslashes and control bytes
// escaped, the rest as UTF-8.
std::string quotedForLog(const std::string& latin1);

// Line breaks (CR LF, CR or LF) shown as " | ", so a text fits one line of the log.
std::string oneLine(const std::string& text);

} // namespace precivox
