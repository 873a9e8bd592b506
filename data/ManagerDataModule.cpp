#include "ManagerDataModule.h"

#include "ConnectionSettings.h"

namespace precivox {

TdmGerente::TdmGerente(Prompter& prompter, std::filesystem::path settingsFile)
    : prompter_(prompter), settingsFile_(std::move(settingsFile)),
      BancodeDados(initialConnectionParameters()) {}

void TdmGerente::DataModuleCreate() {
    readConnectionSettings(settingsFile_, BancodeDados.parameters());
    BancodeDados.open();
}

} // namespace precivox
