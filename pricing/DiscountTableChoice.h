#pragma once

#include "Connection.h"
#include "DiscountTables.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace precivox {

// What the choice shows in the main window: the box "Selecionar Tabela" and the two
// labels beneath it. Texts are UTF-8.
class DiscountTableView {
public:
    virtual ~DiscountTableView() = default;

    virtual bool tableBoxTicked() const = 0;
    // Unticks the box; its click handler runs again, as for every change of the box.
    virtual void untickTableBox() = 0;
    // "Tabela de Desconto:" and the description enabled, the description shown.
    virtual void showChosenTable(const std::string& description) = 0;
    // Both labels disabled, the description empty.
    virtual void showNoTable() = 0;
};

// The modal dialog that lists the discount tables and lets the operator mark one.
class DiscountTableDialog {
public:
    virtual ~DiscountTableDialog() = default;

    // Returns true when the dialog closed with OK, false for Cancel.
    virtual bool execute() = 0;
    // Its rows with their marks, as they were when it closed.
    virtual std::vector<DiscountTableRow> rows() const = 0;
};

class DiscountTableDialogFactory {
public:
    virtual ~DiscountTableDialogFactory() = default;

    // A dialog over the main window whose list is read on the main window's connection.
    virtual std::unique_ptr<DiscountTableDialog> create(Connection& conexao) = 0;
};

// The operator's choice of the discount table the price answers follow. Ticking the box
// opens the dialog; unticking it, or cancelling the dialog, returns to no choice.
class DiscountTableChoice {
public:
    // `conexao` is asked for the main window's connection only when a dialog opens.
    DiscountTableChoice(DiscountTableView& view, DiscountTableDialogFactory& dialogs,
                        std::function<Connection&()> conexao, int32_t& FTabelaDesconto);

    void checkTabelaClick();

private:
    void clearChoice();

    DiscountTableView& view_;
    DiscountTableDialogFactory& dialogs_;
    std::function<Connection&()> conexao_;
    int32_t& FTabelaDesconto;
};

} // namespace precivox
