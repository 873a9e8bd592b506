#pragma once

#include "TerminalTypes.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <unordered_map>

namespace precivox {

inline constexpr std::size_t kMaxScansPerTerminal = 8;
inline constexpr std::size_t kMaxScans = 1024;
inline constexpr std::size_t kMaxConfigReplies = 64;

struct Scan {
    int32_t terminal;
    std::string barcode;
};

enum class ScanQueued { Yes, TerminalFull, QueueFull };

// What the I/O thread and the callers share: the slots, the scans and the replies
// waiting. Not locked itself: the server holds its lock around every call.
class TerminalTables {
public:
    TerminalTables();

    // The first free slot, or nothing when all 1024 are taken.
    std::optional<int> occupy(int32_t terminal, uint32_t networkAddress);
    void release(int slot);
    void snapshot(TTabConectados& table) const;

    ScanQueued pushScan(int32_t terminal, std::string barcode);
    std::optional<Scan> popScan();

    bool pushConfig(const TConfigTerminal& config);
    std::optional<TConfigTerminal> popConfig();

private:
    TTabConectados slots_;
    std::deque<Scan> scans_;
    std::unordered_map<int32_t, std::size_t> scansWaiting_; // by terminal number
    std::deque<TConfigTerminal> configs_;
};

} // namespace precivox
