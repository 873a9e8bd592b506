#pragma once

#include "TerminalTypes.h"

#include <cstdint>

namespace precivox {

// The eleven functions through which the system reaches the terminals, with their
// declared argument order. The program calls them from its user-interface thread only.
// Booleans that the callers ignore are still returned, as the library gives them.
class TerminalLibrary {
public:
    virtual ~TerminalLibrary() = default;

    virtual void vInitialize() = 0;
    virtual void tc_startserver() = 0;

    // True when a barcode was taken. `buffer` then points to a 1024-byte buffer owned
    // by the library, valid until the next call: byte 0 is 0, the barcode is the
    // zero-terminated text from byte 1, `length` its byte count. `unused` is written 0.
    virtual bool bReceiveBarcode(int32_t& terminal, int32_t& unused, const uint8_t*& buffer,
                                 int32_t& length) = 0;
    // Both texts zero-terminated; the sizes are 100 (the buffers hold 101 bytes).
    virtual bool bSendProdPrice(int32_t terminal, const char* description, int32_t descriptionSize,
                                const char* price, int32_t priceSize) = 0;
    virtual bool bSendProdNotFound(int32_t terminal) = 0;
    virtual bool bEnviaVivo(int32_t terminal) = 0;
    virtual bool bPedeConfig(int32_t terminal) = 0;
    // `*config` points to a 159-byte block owned by the caller; on true it holds the
    // oldest waiting reply. The pointer itself is not replaced.
    virtual bool bReceiveConfig(TConfigTerminal** config) = 0;
    virtual bool bMandaConfig(const TConfigTerminal* config) = 0;
    // `one` is always 1. The whole table is written.
    virtual void GetTabConectados(int32_t one, TTabConectados* table) = 0;
    // Dotted text of an address in network byte order, zero-terminated, never more than
    // `size` bytes written.
    virtual void TCinet_ntoa(uint32_t address, char* buffer, int32_t size) = 0;
};

} // namespace precivox
