#include "TerminalPolling.h"

#include "ErrorReporting.h"
#include "Errors.h"
#include "Latin1.h"
#include "ScanLogLine.h"

#include <array>
#include <cstring>
#include <exception>
#include <memory>
#include <ostream>

namespace precivox {

namespace {

// A text field of a record, read up to its zero byte and never past the field.
std::string fieldText(const char (&field)[kTerminalTextField]) {
    return std::string(field, strnlen(field, kTerminalTextField));
}

// Slots beyond this one are never examined: the walk stops after slot 1021.
constexpr int kLastWalkedSlot = 1021;

} // namespace

TerminalPolling::TerminalPolling(TerminalLibrary& library, TerminalPanel& panel, Prompter& prompter,
                                 ScanAnswers& answers, PriceQuery consultarPreco, std::ostream& log)
    : library_(library), panel_(panel), prompter_(prompter), answers_(answers),
      consultarPreco_(std::move(consultarPreco)), log_(log) {}

void TerminalPolling::Timer1Timer() {
    runTick(&TerminalPolling::takeBarcodeAndConfiguration);
}

void TerminalPolling::Timer2Timer() {
    runTick(&TerminalPolling::refreshTerminalList);
}

void TerminalPolling::runTick(void (TerminalPolling::*body)()) {
    if (tickRunning_)
        return;
    std::exception_ptr failure;
    tickRunning_ = true;
    try {
        (this->*body)();
    } catch (const SilentAbort&) {
    } catch (...) {
        failure = std::current_exception();
    }
    tickRunning_ = false;
    if (failure)
        runReported(prompter_, [&] { std::rethrow_exception(failure); });
}

void TerminalPolling::takeBarcodeAndConfiguration() {
    int32_t terminal = 0, unused = 0, length = 0;
    const uint8_t* buffer = nullptr;
    if (library_.bReceiveBarcode(terminal, unused, buffer, length) && buffer) {
        std::array<char, kBarcodeBufferSize> copy;
        std::memcpy(copy.data(), buffer, copy.size());
        if (length > 0) {
            // The library's buffer may lack a terminator: never read past it.
            std::string barcode(copy.data() + 1, strnlen(copy.data() + 1, copy.size() - 1));
            answerBarcode(terminal, barcode);
        }
    }

    auto block = std::make_unique<TConfigTerminal>();
    TConfigTerminal* reply = block.get();
    if (!library_.bReceiveConfig(&reply))
        return;
    panel_.setConfigText(ConfigBox::server, latin1ToUtf8(fieldText(block->server)));
    panel_.setConfigText(ConfigBox::client, latin1ToUtf8(fieldText(block->client)));
    panel_.setConfigText(ConfigBox::mask, latin1ToUtf8(fieldText(block->mask)));
    panel_.setConfigText(ConfigBox::text1, latin1ToUtf8(fieldText(block->texts[0])));
    panel_.setConfigText(ConfigBox::text2, latin1ToUtf8(fieldText(block->texts[1])));
    panel_.setConfigText(ConfigBox::text3, latin1ToUtf8(fieldText(block->texts[2])));
    panel_.setConfigText(ConfigBox::text4, latin1ToUtf8(fieldText(block->texts[3])));
    panel_.setConfigText(ConfigBox::displayTime, std::to_string(block->displayTime));
}

void TerminalPolling::answerBarcode(int32_t terminal, const std::string& barcode) {
    ScanLogLine line(log_, terminal, barcode);
    answers_.takeLastAnswer();
    try {
        consultarPreco_(terminal, barcode);
    } catch (const SilentAbort&) {
        auto record = answers_.takeLastAnswer();
        line.finish(record.answer, record.path);
        throw;
    } catch (const std::exception& error) {
        line.fail(answers_.takeLastAnswer().answer, error.what());
        throw;
    }
    auto record = answers_.takeLastAnswer();
    line.finish(record.answer, record.path);
}

void TerminalPolling::refreshTerminalList() {
    TTabConectados table{};
    library_.GetTabConectados(1, &table);
    FTabConectados = table;

    std::vector<std::string> lines;
    std::vector<int32_t> listed;
    int matched = -1;
    for (int slot = 0; slot < kTerminalSlots; ++slot) {
        int32_t number = FTabConectados.terminals[slot];
        if (number != 0) {
            if (number == TerminalMarcado && matched < 0)
                matched = static_cast<int>(lines.size());
            char dotted[20] = {};
            library_.TCinet_ntoa(FTabConectados.addresses[slot], dotted, sizeof dotted);
            lines.push_back(std::string(dotted, strnlen(dotted, sizeof dotted)) + ":" +
                            std::to_string(number));
            listed.push_back(number);
            library_.bEnviaVivo(number);
        }
        // Slot 0 is always examined; a count of 0 stops the walk right after it.
        if (!(static_cast<int32_t>(lines.size()) < FTabConectados.count && slot < kLastWalkedSlot))
            break;
    }

    int highlighted = -1;
    if (matched >= 0) {
        highlighted = matched;
    } else if (!listed.empty()) {
        highlighted = 0;
        TerminalMarcado = listed.back();
    } else {
        TerminalMarcado = -1;
    }
    panel_.showTerminals(lines, highlighted);
}

} // namespace precivox
