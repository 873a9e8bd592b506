#pragma once

#include "TerminalLibrary.h"

#include <arpa/inet.h>
#include <array>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

namespace precivox::testing {

// A scripted terminal library: the test queues what the terminals "sent" and reads back
// what the system sent them.
class FakeTerminalLibrary : public TerminalLibrary {
public:
    struct Barcode {
        int32_t terminal;
        std::array<uint8_t, kBarcodeBufferSize> buffer;
        int32_t length;
    };
    struct Sent {
        std::string kind; // PRICE, NOTFOUND, ALIVE, GETCONFIG, SETCONFIG
        int32_t terminal;
        std::string description, price;
        TConfigTerminal config{};
    };

    std::deque<Barcode> barcodes;
    std::deque<TConfigTerminal> replies;
    TTabConectados table{};
    std::vector<Sent> sent;
    int ntoaCalls = 0;
    bool initialized = false;
    bool started = false;

    void queueBarcode(int32_t terminal, const std::string& text) {
        Barcode barcode{terminal, {}, static_cast<int32_t>(text.size())};
        std::memcpy(barcode.buffer.data() + 1, text.data(), text.size());
        barcodes.push_back(barcode);
    }
    void setSlot(int slot, int32_t terminal, const char* address) {
        table.terminals[slot] = terminal;
        table.addresses[slot] = inet_addr(address);
    }
    std::vector<int32_t> sentTo(const std::string& kind) const {
        std::vector<int32_t> terminals;
        for (const auto& s : sent)
            if (s.kind == kind)
                terminals.push_back(s.terminal);
        return terminals;
    }

    void vInitialize() override { initialized = true; }
    void tc_startserver() override { started = initialized; }
    bool bReceiveBarcode(int32_t& terminal, int32_t& unused, const uint8_t*& buffer,
                         int32_t& length) override {
        if (barcodes.empty())
            return false;
        current_ = barcodes.front();
        barcodes.pop_front();
        terminal = current_.terminal;
        unused = 0;
        buffer = current_.buffer.data();
        length = current_.length;
        return true;
    }
    bool bSendProdPrice(int32_t terminal, const char* description, int32_t, const char* price,
                        int32_t) override {
        sent.push_back({"PRICE", terminal, description, price});
        return true;
    }
    bool bSendProdNotFound(int32_t terminal) override {
        sent.push_back({"NOTFOUND", terminal, {}, {}});
        return true;
    }
    bool bEnviaVivo(int32_t terminal) override {
        sent.push_back({"ALIVE", terminal, {}, {}});
        return true;
    }
    bool bPedeConfig(int32_t terminal) override {
        sent.push_back({"GETCONFIG", terminal, {}, {}});
        return true;
    }
    bool bReceiveConfig(TConfigTerminal** config) override {
        if (replies.empty())
            return false;
        **config = replies.front();
        replies.pop_front();
        return true;
    }
    bool bMandaConfig(const TConfigTerminal* config) override {
        sent.push_back({"SETCONFIG", config->terminal, {}, {}, *config});
        return true;
    }
    void GetTabConectados(int32_t, TTabConectados* out) override { *out = table; }
    void TCinet_ntoa(uint32_t address, char* buffer, int32_t size) override {
        ++ntoaCalls;
        in_addr in{address};
        std::strncpy(buffer, inet_ntoa(in), size - 1);
        buffer[size - 1] = 0;
    }

private:
    Barcode current_{};
};

} // namespace precivox::testing
