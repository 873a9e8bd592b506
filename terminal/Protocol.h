#pragma once

#include "TerminalTypes.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// The terminals' line protocol without any networking, so that it can be tested and
// fuzzed on its own.
namespace precivox {

inline constexpr std::size_t kMaxLineLength = 1023; // bytes before the LF
inline constexpr std::size_t kMaxConfigText = kTerminalTextField - 1;

// Cuts received bytes into lines. A line is handed out without its LF; a CR before the
// LF stays, since only the parser knows whether it belongs to a barcode.
class LineSplitter {
public:
    // Appends each line that `bytes` completes to `lines`. Returns false once a line has
    // grown past kMaxLineLength: the connection must be closed. Nothing of that line,
    // nor of anything received after it, is ever handed out.
    [[nodiscard]] bool feed(std::string_view bytes, std::vector<std::string>& lines);

private:
    std::string partial_;
    bool overflowed_ = false;
};

// Lines from a terminal.
struct HelloLine {
    int32_t terminal;
};
struct BadHelloLine {};
struct ScanLine {
    std::string barcode;
};
struct ConfigLine {
    TConfigTerminal config; // terminal number 0: the connection knows the sender
};
struct BadConfigLine {};
struct UnknownLine {};
using TerminalLine =
    std::variant<HelloLine, BadHelloLine, ScanLine, ConfigLine, BadConfigLine, UnknownLine>;

// `line` as LineSplitter hands it out.
TerminalLine parseTerminalLine(std::string_view line);

// The eight TAB-separated fields that CONFIG and SETCONFIG carry; texts longer than 21
// bytes are cut. The record's terminal number is 0.
std::optional<TConfigTerminal> parseConfigFields(std::string_view fields);

// The text of a zero-terminated buffer, never reading more than `maxLength` bytes.
// A null pointer or a negative length gives the empty text.
std::string_view boundedText(const char* text, int64_t maxLength);

// The text of a record's field: up to its zero byte, at most 21 bytes.
std::string_view configText(const char (&field)[kTerminalTextField]);

// Lines to a terminal, each with its LF. Texts have TAB, CR and LF replaced by a blank.
std::string welcomeLine(int32_t terminal);
std::string priceLine(std::string_view description, std::string_view price);
std::string notFoundLine();
std::string aliveLine();
std::string getConfigLine();
std::string setConfigLine(const TConfigTerminal& config);
std::string errorLine(std::string_view reason);

// The line a terminal answers GETCONFIG with.
std::string configLine(const TConfigTerminal& config);

inline constexpr std::string_view kErrorHelloFirst = "hello first";
inline constexpr std::string_view kErrorBadTerminalNumber = "bad terminal number";
inline constexpr std::string_view kErrorAlreadyRegistered = "already registered";
inline constexpr std::string_view kErrorFull = "full";
inline constexpr std::string_view kErrorBadConfig = "bad config";
inline constexpr std::string_view kErrorUnknownCommand = "unknown command";

// An IPv4 address and a port to listen on.
struct ListenAddress {
    std::array<uint8_t, 4> address;
    uint16_t port;
    bool operator==(const ListenAddress&) const = default;
};

inline constexpr ListenAddress kDefaultListenAddress{{0, 0, 0, 0}, 7510};

// "ADDRESS:PORT": a dotted IPv4 address and a port from 1 to 65535.
std::optional<ListenAddress> parseListenAddress(std::string_view text);
std::string formatListenAddress(const ListenAddress& address);

// Dotted text of an IPv4 address held in network byte order (as in struct in_addr).
std::string formatIpv4(uint32_t networkOrder);

} // namespace precivox
