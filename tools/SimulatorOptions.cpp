#include "SimulatorOptions.h"

#include "Latin1.h"
#include "Protocol.h"

#include <charconv>
#include <cstring>
#include <functional>
#include <map>
#include <stdexcept>

namespace precivox {

const char* const kSimulatorUsage =
    "Usage: precivox-terminal [OPTION]... [BARCODE]...\n"
    "Acts as a price-checker terminal: connects to the terminal server, registers,\n"
    "scans each BARCODE (or each line of standard input when none is given) and prints\n"
    "the answers.\n"
    "\n"
    "  --host HOST        server address (default 127.0.0.1)\n"
    "  --port PORT        server port (default 7510)\n"
    "  --number N         terminal number, 1 to 2147483647 (default 1)\n"
    "  --server TEXT      configuration: server address text (default: the host)\n"
    "  --client TEXT      configuration: own address text (default 127.0.0.1)\n"
    "  --mask TEXT        configuration: network mask text (default 255.0.0.0)\n"
    "  --text1..--text4 TEXT  configuration: display texts\n"
    "  --time N           configuration: display time, 0 to 255 (default 5)\n"
    "  --timeout SECONDS  time to wait for each answer (default 10)\n"
    "  --help             show this help\n"
    "\n"
    "Exit status: 0 when every barcode was answered, 1 when the server cannot be\n"
    "reached, refuses the terminal or does not answer in time, 2 on a bad command line.\n";

namespace {

int64_t parseNumber(const std::string& option, const std::string& text, int64_t min, int64_t max) {
    int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < min ||
        value > max)
        throw std::invalid_argument(option + " needs a number from " + std::to_string(min) +
                                    " to " + std::to_string(max) + ", not \"" + text + "\"");
    return value;
}

void setText(char (&field)[kTerminalTextField], const std::string& utf8) {
    const auto latin1 = utf8ToLatin1(utf8).substr(0, kMaxConfigText);
    std::memset(field, 0, sizeof field);
    std::memcpy(field, latin1.data(), latin1.size());
}

} // namespace

SimulatorOptions parseSimulatorArguments(const std::vector<std::string>& arguments) {
    SimulatorOptions options;
    std::map<std::string, std::string> texts{
        {"--client", "127.0.0.1"},      {"--mask", "255.0.0.0"}, {"--text1", "CONSULTE O PRECO"},
        {"--text2", "PASSE O PRODUTO"}, {"--text3", ""},         {"--text4", ""}};
    std::string server;
    bool serverGiven = false;
    int64_t time = 5;

    const std::map<std::string, std::function<void(const std::string&)>> setters{
        {"--host", [&](const std::string& value) { options.host = value; }},
        {"--port",
         [&](const std::string& value) {
             options.port = static_cast<uint16_t>(parseNumber("--port", value, 1, 65535));
         }},
        {"--number",
         [&](const std::string& value) {
             options.number = static_cast<int32_t>(parseNumber("--number", value, 1, INT32_MAX));
         }},
        {"--time", [&](const std::string& value) { time = parseNumber("--time", value, 0, 255); }},
        {"--timeout",
         [&](const std::string& value) {
             options.timeout = std::chrono::seconds(parseNumber("--timeout", value, 1, 86400));
         }},
        {"--server",
         [&](const std::string& value) {
             server = value;
             serverGiven = true;
         }},
    };

    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || !argument.starts_with("--")) {
            options.barcodes.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument == "--help") {
            options.help = true;
            continue;
        }
        // "--name value" or "--name=value"
        const auto equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        const auto setter = setters.find(name);
        if (setter == setters.end() && !texts.contains(name))
            throw std::invalid_argument("unknown option " + name);
        std::string value;
        if (equals != std::string::npos)
            value = argument.substr(equals + 1);
        else if (i + 1 < arguments.size())
            value = arguments[++i];
        else
            throw std::invalid_argument(name + " needs a value");

        if (setter != setters.end())
            setter->second(value);
        else
            texts[name] = value;
    }

    setText(options.config.server, serverGiven ? server : options.host);
    setText(options.config.client, texts["--client"]);
    setText(options.config.mask, texts["--mask"]);
    for (int i = 0; i < 4; ++i)
        setText(options.config.texts[i], texts["--text" + std::to_string(i + 1)]);
    options.config.displayTime = static_cast<uint8_t>(time);
    options.config.terminal = options.number;
    return options;
}

} // namespace precivox
