#pragma once

#include <string>
#include <string_view>

namespace precivox {

// The settings file "sistema_yor.ini" beside the program file. Every call reads the
// file anew, so edits made while the program runs are seen by the next call.
class TConfigSistemaYOR {
public:
    TConfigSistemaYOR() = delete;

    static std::string ArquivoIni();

    // The value, or the fallback under the rules of readProfileString.
    static std::string LerString(std::string_view section, std::string_view key,
                                 std::string_view fallback);

    // "FilialMatriz" / "CodLogica" as decimal text: "0" when missing or not a number.
    static std::string LerCodLogica();
};

} // namespace precivox
