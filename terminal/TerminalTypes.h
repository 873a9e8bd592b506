#pragma once

#include <bit>
#include <cstdint>

namespace precivox {

static_assert(std::endian::native == std::endian::little,
              "the terminal records are little-endian byte layouts");

inline constexpr int kTerminalTextField = 22; // 21 characters and the zero byte
inline constexpr int kTerminalSlots = 1024;
inline constexpr int kBarcodeBufferSize = 1024;
inline constexpr int kAnswerBufferSize = 101; // 100 characters and the zero byte

#pragma pack(push, 1)
// A terminal's configuration, 159 bytes: texts zero-terminated in 22-byte fields.
struct TConfigTerminal {
    int32_t terminal;                  // 0: set when sending, ignored on receipt
    char server[kTerminalTextField];   // 4
    char client[kTerminalTextField];   // 26
    char mask[kTerminalTextField];     // 48
    char texts[4][kTerminalTextField]; // 70, 92, 114, 136
    uint8_t displayTime;               // 158
};

// A snapshot of the connected-terminals table, 8196 bytes.
struct TTabConectados {
    int32_t terminals[kTerminalSlots];  // 0 = empty slot
    uint32_t addresses[kTerminalSlots]; // IPv4, network byte order as in struct in_addr
    int32_t count;                      // non-empty slots
};
#pragma pack(pop)

static_assert(sizeof(TConfigTerminal) == 159);
static_assert(sizeof(TTabConectados) == 8196);

} // namespace precivox
