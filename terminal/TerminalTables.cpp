#include "TerminalTables.h"

namespace precivox {

TerminalTables::TerminalTables() : slots_{} {}

std::optional<int> TerminalTables::occupy(int32_t terminal, uint32_t networkAddress) {
    for (int slot = 0; slot < kTerminalSlots; ++slot) {
        if (slots_.terminals[slot] == 0) {
            slots_.terminals[slot] = terminal;
            slots_.addresses[slot] = networkAddress;
            ++slots_.count;
            return slot;
        }
    }
    return std::nullopt;
}

void TerminalTables::release(int slot) {
    slots_.terminals[slot] = 0;
    slots_.addresses[slot] = 0;
    --slots_.count;
}

void TerminalTables::snapshot(TTabConectados& table) const {
    table = slots_;
}

ScanQueued TerminalTables::pushScan(int32_t terminal, std::string barcode) {
    const auto waiting = scansWaiting_.find(terminal);
    if (waiting != scansWaiting_.end() && waiting->second >= kMaxScansPerTerminal)
        return ScanQueued::TerminalFull;
    if (scans_.size() >= kMaxScans)
        return ScanQueued::QueueFull;
    ++scansWaiting_[terminal];
    scans_.push_back({terminal, std::move(barcode)});
    return ScanQueued::Yes;
}

std::optional<Scan> TerminalTables::popScan() {
    if (scans_.empty())
        return std::nullopt;
    Scan scan = std::move(scans_.front());
    scans_.pop_front();
    if (--scansWaiting_[scan.terminal] == 0)
        scansWaiting_.erase(scan.terminal);
    return scan;
}

bool TerminalTables::pushConfig(const TConfigTerminal& config) {
    if (configs_.size() >= kMaxConfigReplies)
        return false;
    configs_.push_back(config);
    return true;
}

std::optional<TConfigTerminal> TerminalTables::popConfig() {
    if (configs_.empty())
        return std::nullopt;
    const TConfigTerminal config = configs_.front();
    configs_.pop_front();
    return config;
}

} // namespace precivox
