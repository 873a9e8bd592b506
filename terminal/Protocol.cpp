#include "Protocol.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace precivox {

namespace {

constexpr std::string_view kHello = "HELLO";
constexpr std::string_view kScan = "SCAN";
constexpr std::string_view kConfig = "CONFIG";
constexpr int kConfigFieldCount = 8;

// Digits only (no sign, no blanks), at most `max`.
std::optional<uint64_t> parseDecimal(std::string_view text, uint64_t max) {
    if (text.empty() ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    uint64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value > max)
        return std::nullopt;
    return value;
}

void appendWireText(std::string& out, std::string_view text) {
    for (char c : text)
        out += (c == '\t' || c == '\r' || c == '\n') ? ' ' : c;
}

void copyConfigText(char (&field)[kTerminalTextField], std::string_view text) {
    text = text.substr(0, kMaxConfigText);
    std::memcpy(field, text.data(), text.size());
    field[text.size()] = '\0';
}

std::string configFieldsLine(std::string_view command, const TConfigTerminal& config) {
    std::string line(command);
    line += ' ';
    for (const auto* field : {&config.server, &config.client, &config.mask, &config.texts[0],
                              &config.texts[1], &config.texts[2], &config.texts[3]}) {
        appendWireText(line, configText(*field));
        line += '\t';
    }
    line += std::to_string(config.displayTime);
    line += '\n';
    return line;
}

std::string commandLine(std::string_view command) {
    std::string line(command);
    line += '\n';
    return line;
}

} // namespace

bool LineSplitter::feed(std::string_view bytes, std::vector<std::string>& lines) {
    while (!overflowed_ && !bytes.empty()) {
        const auto end = bytes.find('\n');
        const auto piece = bytes.substr(0, end);
        if (partial_.size() + piece.size() > kMaxLineLength) {
            overflowed_ = true;
            partial_.clear();
            break;
        }
        partial_.append(piece);
        if (end == std::string_view::npos)
            break;
        lines.push_back(std::move(partial_));
        partial_.clear();
        bytes.remove_prefix(end + 1);
    }
    return !overflowed_;
}

TerminalLine parseTerminalLine(std::string_view line) {
    // The barcode keeps a CR before the LF, so SCAN is recognised before the CR goes.
    if (line.starts_with("SCAN "))
        return ScanLine{std::string(line.substr(kScan.size() + 1))};
    if (line.ends_with('\r'))
        line.remove_suffix(1);

    const auto blank = line.find(' ');
    const auto command = line.substr(0, blank);
    const auto argument =
        blank == std::string_view::npos ? std::string_view() : line.substr(blank + 1);
    if (command == kHello) {
        const auto number = parseDecimal(argument, INT32_MAX);
        if (!number || *number == 0)
            return BadHelloLine{};
        return HelloLine{static_cast<int32_t>(*number)};
    }
    if (command == kScan) // "SCAN" alone: an empty barcode
        return ScanLine{};
    if (command == kConfig) {
        auto config = parseConfigFields(argument);
        if (!config)
            return BadConfigLine{};
        return ConfigLine{*config};
    }
    return UnknownLine{};
}

std::optional<TConfigTerminal> parseConfigFields(std::string_view fields) {
    std::string_view parts[kConfigFieldCount];
    for (int i = 0; i < kConfigFieldCount; ++i) {
        const auto tab = fields.find('\t');
        const bool last = i == kConfigFieldCount - 1;
        if (last != (tab == std::string_view::npos))
            return std::nullopt;
        parts[i] = fields.substr(0, tab);
        if (!last)
            fields.remove_prefix(tab + 1);
    }
    const auto time = parseDecimal(parts[7], UINT8_MAX);
    if (!time)
        return std::nullopt;

    TConfigTerminal config{};
    copyConfigText(config.server, parts[0]);
    copyConfigText(config.client, parts[1]);
    copyConfigText(config.mask, parts[2]);
    for (int i = 0; i < 4; ++i)
        copyConfigText(config.texts[i], parts[3 + i]);
    config.displayTime = static_cast<uint8_t>(*time);
    return config;
}

std::string_view boundedText(const char* text, int64_t maxLength) {
    if (text == nullptr || maxLength <= 0)
        return {};
    const auto* zero = static_cast<const char*>(std::memchr(text, '\0', maxLength));
    return {text,
            zero ? static_cast<std::size_t>(zero - text) : static_cast<std::size_t>(maxLength)};
}

std::string_view configText(const char (&field)[kTerminalTextField]) {
    return boundedText(field, kMaxConfigText);
}

std::string welcomeLine(int32_t terminal) {
    return "WELCOME " + std::to_string(terminal) + '\n';
}

std::string priceLine(std::string_view description, std::string_view price) {
    std::string line = "PRICE ";
    appendWireText(line, description);
    line += '\t';
    appendWireText(line, price);
    line += '\n';
    return line;
}

std::string notFoundLine() {
    return commandLine("NOTFOUND");
}

std::string aliveLine() {
    return commandLine("ALIVE");
}

std::string getConfigLine() {
    return commandLine("GETCONFIG");
}

std::string setConfigLine(const TConfigTerminal& config) {
    return configFieldsLine("SETCONFIG", config);
}

std::string configLine(const TConfigTerminal& config) {
    return configFieldsLine(kConfig, config);
}

std::string errorLine(std::string_view reason) {
    std::string line = "ERROR ";
    appendWireText(line, reason);
    line += '\n';
    return line;
}

std::optional<ListenAddress> parseListenAddress(std::string_view text) {
    const auto colon = text.rfind(':');
    if (colon == std::string_view::npos)
        return std::nullopt;
    const auto port = parseDecimal(text.substr(colon + 1), UINT16_MAX);
    if (!port || *port == 0)
        return std::nullopt;

    ListenAddress result{{}, static_cast<uint16_t>(*port)};
    auto host = text.substr(0, colon);
    for (std::size_t i = 0; i < result.address.size(); ++i) {
        const auto dot = host.find('.');
        const bool last = i == result.address.size() - 1;
        if (last != (dot == std::string_view::npos))
            return std::nullopt;
        const auto part = host.substr(0, dot);
        // "010" would be octal to some readers and decimal to others: refuse it.
        if (part.size() > 3 || (part.size() > 1 && part[0] == '0'))
            return std::nullopt;
        const auto value = parseDecimal(part, UINT8_MAX);
        if (!value)
            return std::nullopt;
        result.address[i] = static_cast<uint8_t>(*value);
        if (!last)
            host.remove_prefix(dot + 1);
    }
    return result;
}

std::string formatListenAddress(const ListenAddress& address) {
    uint32_t networkOrder;
    std::memcpy(&networkOrder, address.address.data(), sizeof networkOrder);
    return formatIpv4(networkOrder) + ':' + std::to_string(address.port);
}

std::string formatIpv4(uint32_t networkOrder) {
    uint8_t bytes[4];
    std::memcpy(bytes, &networkOrder, sizeof bytes);
    return std::to_string(bytes[0]) + '.' + std::to_string(bytes[1]) + '.' +
           std::to_string(bytes[2]) + '.' + std::to_string(bytes[3]);
}

} // namespace precivox
