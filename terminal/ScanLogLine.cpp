#include "ScanLogLine.h"

#include "Latin1.h"

#include <cstdio>
#include <ostream>

namespace precivox {

std::string quotedForLog(const std::string& latin1) {
    std::string escaped = "\"";
    for (char c : latin1) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            escaped += '\\';
            escaped += c;
        } else if (byte < 32 || byte == 127) {
            char code[8];
            std::snprintf(code, sizeof code, "\\x%02X", byte);
            escaped += code;
        } else {
            escaped += latin1ToUtf8(std::string_view(&c, 1));
        }
    }
    return escaped + "\"";
}

std::string oneLine(const std::string& text) {
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "\r\n") == 0) {
            line += " | ";
            ++i;
        } else if (text[i] == '\r' || text[i] == '\n') {
            line += " | ";
        } else {
            line += text[i];
        }
    }
    return line;
}

ScanLogLine::ScanLogLine(std::ostream& log, int32_t terminal, std::string barcode)
    : log_(log), terminal_(terminal), barcode_(std::move(barcode)),
      start_(std::chrono::steady_clock::now()) {}

void ScanLogLine::finish(const std::string& answer, const std::string& path) {
    if (answer.empty())
        write("no answer");
    else
        write(latin1ToUtf8(answer) + ", " + oneLine(path));
}

void ScanLogLine::fail(const std::string& answer, const std::string& error) {
    write((answer.empty() ? "no answer" : latin1ToUtf8(answer)) + ", error: " + error);
}

void ScanLogLine::write(const std::string& outcome) {
    auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start_);
    log_ << "scan: terminal " << terminal_ << ", barcode " << quotedForLog(barcode_) << ", "
         << outcome << " (" << elapsed.count() << " ms)" << std::endl;
}

} // namespace precivox
