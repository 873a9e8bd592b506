#include "LoadOptions.h"

#include <limits>
#include <stdexcept>
#include <string_view>

namespace precivox::capacity {

namespace {

long long wholeNumber(std::string_view name, const std::string& value, long long lowest,
                      long long highest) {
    std::size_t used = 0;
    long long number = 0;
    try {
        number = std::stoll(value, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != value.size() || number < lowest || number > highest)
        throw std::invalid_argument(std::string(name) + " wants a whole number from " +
                                    std::to_string(lowest) + " to " + std::to_string(highest) +
                                    ", not \"" + value + "\"");
    return number;
}

} // namespace

LoadOptions parseLoadOptions(int argc, char** argv) {
    constexpr long long int32Max = std::numeric_limits<int32_t>::max();
    LoadOptions options;
    for (int i = 1; i < argc; i += 2) {
        const std::string_view name = argv[i];
        if (i + 1 == argc)
            throw std::invalid_argument(std::string(name) + " wants a value");
        const std::string value = argv[i + 1];
        if (name == "--port")
            options.port = static_cast<uint16_t>(wholeNumber(name, value, 1, 65535));
        else if (name == "--terminals")
            options.terminals = static_cast<int>(wholeNumber(name, value, 1, 100000));
        else if (name == "--first-number")
            options.firstNumber = static_cast<int32_t>(wholeNumber(name, value, 1, int32Max));
        else if (name == "--seconds")
            options.duration = std::chrono::seconds(wholeNumber(name, value, 1, 86400));
        else if (name == "--barcode")
            options.barcode = value;
        else if (name == "--program-pid")
            options.programPid = static_cast<pid_t>(wholeNumber(name, value, 1, int32Max));
        else if (name == "--summary")
            options.summaryFile = value;
        else
            throw std::invalid_argument("unknown option " + std::string(name));
    }
    if (static_cast<long long>(options.firstNumber) + options.terminals - 1 > int32Max)
        throw std::invalid_argument("--first-number: the terminal numbers would pass " +
                                    std::to_string(int32Max));
    return options;
}

} // namespace precivox::capacity
