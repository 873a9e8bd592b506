#pragma once

#include "Protocol.h"
#include "TerminalLibrary.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

namespace precivox {

inline constexpr const char* kListenVariable = "PRECIVOX_TERMINAL_LISTEN";

struct TerminalServerOptions {
    // The program's --listen value; wins over the environment variable.
    std::optional<std::string> listen;
    // Only code sets this (tests listen on 127.0.0.1 port 0); wins over both texts.
    std::optional<ListenAddress> endpoint;
    std::chrono::milliseconds helloTimeout = std::chrono::seconds(10);
    // Refused listen values, a failure to listen, dropped scans and replies.
    std::reference_wrapper<std::ostream> log = std::cerr;
};

// The terminals' network server. Its own I/O thread runs from tc_startserver until the
// object is destroyed; every function may be called from another thread meanwhile.
class TerminalServer final : public TerminalLibrary {
public:
    explicit TerminalServer(TerminalServerOptions options = {});
    ~TerminalServer() override;
    TerminalServer(const TerminalServer&) = delete;
    TerminalServer& operator=(const TerminalServer&) = delete;

    void vInitialize() override;
    void tc_startserver() override;
    bool bReceiveBarcode(int32_t& terminal, int32_t& unused, const uint8_t*& buffer,
                         int32_t& length) override;
    bool bSendProdPrice(int32_t terminal, const char* description, int32_t descriptionSize,
                        const char* price, int32_t priceSize) override;
    bool bSendProdNotFound(int32_t terminal) override;
    bool bEnviaVivo(int32_t terminal) override;
    bool bPedeConfig(int32_t terminal) override;
    bool bReceiveConfig(TConfigTerminal** config) override;
    bool bMandaConfig(const TConfigTerminal* config) override;
    void GetTabConectados(int32_t one, TTabConectados* table) override;
    void TCinet_ntoa(uint32_t address, char* buffer, int32_t size) override;

    // The port listened on (useful after asking for port 0); 0 when not listening.
    uint16_t listeningPort() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace precivox
