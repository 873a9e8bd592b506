#pragma once

#include "Connection.h"

#include <filesystem>

namespace precivox {

class Prompter;

// The manager data module: the rule engine's database toolbox, with a connection of its
// own. Exactly one exists while the program runs, made before the main window.
class TdmGerente {
public:
    TdmGerente(Prompter& prompter, std::filesystem::path settingsFile);
    TdmGerente(const TdmGerente&) = delete;
    TdmGerente& operator=(const TdmGerente&) = delete;

    // Reads the database settings and connects BancodeDados. Raises what went wrong;
    // whatever was read before the error stays in force, and the first statement that
    // needs the connection opens it.
    void DataModuleCreate();

    Connection& bancodeDados() { return BancodeDados; }

private:
    Prompter& prompter_;
    std::filesystem::path settingsFile_;
    Connection BancodeDados;
};

} // namespace precivox
