#pragma once

#include "TerminalLibrary.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace precivox {

// The answers of a scan, as the price query hands them to the terminal library, and a
// record of the last one for the operator's log.
class ScanAnswers {
public:
    explicit ScanAnswers(TerminalLibrary& library) : library_(library) {}

    // Texts are Latin-1; each travels in a 101-byte buffer, so at most 100 bytes of it.
    void sendPrice(int32_t terminal, std::string_view description, std::string_view priceText);
    void sendNotFound(int32_t terminal);

    // How the answer was found, for the log (UTF-8): "plain" unless the price query says
    // otherwise, e.g. the rule that priced it.
    void notePath(std::string path) { path_ = std::move(path); }

    struct Record {
        std::string answer; // "PRICE "<description>" <price>" or "NOTFOUND" (Latin-1); empty
                            // when nothing was sent
        std::string path;
    };
    // What was sent since the last call, then forgotten.
    Record takeLastAnswer();

private:
    TerminalLibrary& library_;
    std::string lastAnswer_;
    std::string path_ = kPlainPath;

    static constexpr const char* kPlainPath = "plain";
};

} // namespace precivox
