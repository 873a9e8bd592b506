#pragma once

#include "TerminalLibrary.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace precivox {

// The answers of a scan, as the price query hands them to the terminal library, and a
// record of the last one for the operator's log.
class ScanAnswers {
public:
    explicit ScanAnswers(TerminalLibrary& library) : library_(library) {}

    // Texts are Latin-1; each travels in a 101-byte buffer, so at most 100 bytes of it.
    void sendPrice(int32_t terminal, std::string_view description, std::string_view priceText);
    void sendNotFound(int32_t terminal);

    // What was last sent ("PRICE <description> <price>" or "NOTFOUND"), then forgotten;
    // empty when nothing was sent since the last call.
    std::string takeLastAnswer();

private:
    TerminalLibrary& library_;
    std::string lastAnswer_;
};

} // namespace precivox
