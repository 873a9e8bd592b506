#pragma once

#include "DiscountTableChoice.h"

class QWidget;

namespace precivox {

// Opens the discount table dialog over the main window, its message boxes owned by it.
class SelecionarTabelaDialogs : public DiscountTableDialogFactory {
public:
    explicit SelecionarTabelaDialogs(QWidget& owner) : owner_(owner) {}

    std::unique_ptr<DiscountTableDialog> create(Connection& conexao) override;

private:
    QWidget& owner_;
};

} // namespace precivox
