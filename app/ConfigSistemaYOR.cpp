#include "ConfigSistemaYOR.h"

#include "IniProfile.h"
#include "IntegerText.h"
#include "ProgramFolder.h"

namespace precivox {

std::string TConfigSistemaYOR::ArquivoIni() {
    return programFolder() + "sistema_yor.ini";
}

std::string TConfigSistemaYOR::LerString(std::string_view section, std::string_view key,
                                         std::string_view fallback) {
    return readProfileString(ArquivoIni(), section, key, fallback);
}

std::string TConfigSistemaYOR::LerCodLogica() {
    return std::to_string(StrToIntDef(LerString("FilialMatriz", "CodLogica", "0"), 0));
}

} // namespace precivox
