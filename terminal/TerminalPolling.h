#pragma once

#include "ScanAnswers.h"
#include "TerminalLibrary.h"
#include "TerminalViews.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>

namespace precivox {

class Prompter;

// The two window timers that drive all traffic with the terminals: Timer1 takes one
// barcode and one configuration reply per tick, Timer2 rebuilds the terminal list and
// keeps every listed terminal alive.
class TerminalPolling {
public:
    // Answers one barcode through ScanAnswers; may end with SilentAbort or an error.
    using PriceQuery = std::function<void(int32_t terminal, const std::string& barcode)>;

    TerminalPolling(TerminalLibrary& library, TerminalPanel& panel, Prompter& prompter,
                    ScanAnswers& answers, PriceQuery consultarPreco, std::ostream& log);

    // The timers' handlers. A tick that falls due while another is running (a box opened
    // inside a tick runs a nested event loop) is dropped: the price answer shares the
    // window's queries, which a nested tick would reopen under it. An error ends the tick
    // and is reported after the tick has ended, so ticks go on under its box.
    void Timer1Timer();
    void Timer2Timer();

    const TTabConectados& tabConectados() const { return FTabConectados; }
    int32_t terminalMarcado() const { return TerminalMarcado; }
    bool tickRunning() const { return tickRunning_; }

private:
    void runTick(void (TerminalPolling::*body)());
    void takeBarcodeAndConfiguration();
    void answerBarcode(int32_t terminal, const std::string& barcode);
    void refreshTerminalList();

    TerminalLibrary& library_;
    TerminalPanel& panel_;
    Prompter& prompter_;
    ScanAnswers& answers_;
    PriceQuery consultarPreco_;
    std::ostream& log_;
    bool tickRunning_ = false;

    TTabConectados FTabConectados{};
    int32_t TerminalMarcado = -1;
};

} // namespace precivox
