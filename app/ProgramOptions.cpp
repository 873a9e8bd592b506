#include "ProgramOptions.h"

#include <stdexcept>

namespace precivox {

ProgramOptions parseProgramOptions(const std::vector<std::string>& arguments) {
    ProgramOptions options;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--headless") {
            options.headless = true;
        } else if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument == "--version") {
            options.version = true;
        } else if (argument == "--encipher-password") {
            options.encipherPassword = true;
        } else if (argument == "--listen") {
            if (i + 1 == arguments.size())
                throw std::invalid_argument("--listen needs a value ADDRESS:PORT");
            options.listen = arguments[++i];
        } else if (argument.starts_with("--listen=")) {
            options.listen = argument.substr(9);
        } else {
            throw std::invalid_argument("unknown argument '" + argument + "'");
        }
    }
    return options;
}

std::string usageText() {
    return "Usage: precivox [--headless] [--listen ADDRESS:PORT]\n"
           "       precivox --encipher-password < password\n"
           "       precivox --help | --version\n"
           "\n"
           "Answers the price checkers' scans from the store's database.\n"
           "\n"
           "  --headless             run without a window (a service); message boxes\n"
           "                         become lines on standard error, SIGTERM or SIGINT\n"
           "                         close the program\n"
           "  --listen ADDRESS:PORT  where the terminals connect (default 0.0.0.0:7510,\n"
           "                         or the environment variable PRECIVOX_TERMINAL_LISTEN)\n"
           "  --encipher-password    read a password on standard input and print the\n"
           "                         value for the key \"senha\" of the settings file\n"
           "  --help                 show this text\n"
           "  --version              show the version\n"
           "\n"
           "Settings are read from sistema_yor.ini in the program's own folder.\n";
}

} // namespace precivox
