#pragma once

#include "TerminalLibrary.h"
#include "TerminalViews.h"

#include <cstdint>

namespace precivox {

class Prompter;

// The operator's reading and writing of one terminal's configuration: a list line picks
// the target, "Configuração" asks it and opens the boxes (its reply arrives through the
// polling), "Salvar Configuração" sends the boxes' contents and closes them again.
class ConfigEditing {
public:
    // `FTabConectados` is the polling's copy of the table the list was built from.
    ConfigEditing(TerminalLibrary& library, TerminalPanel& panel, Prompter& prompter,
                  const TTabConectados& FTabConectados, int32_t& FTerminalConfig);

    void ListBConecClick();
    // Without a target: says so, then ends with SilentAbort.
    void bConfigurClick();
    // A display time that is no integer raises ConversionError: nothing is sent and the
    // boxes stay open.
    void bSalvarClick();

private:
    TerminalLibrary& library_;
    TerminalPanel& panel_;
    Prompter& prompter_;
    const TTabConectados& FTabConectados;
    int32_t& FTerminalConfig;
};

} // namespace precivox
