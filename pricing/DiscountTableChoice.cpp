#include "DiscountTableChoice.h"

#include "Latin1.h"

namespace precivox {

DiscountTableChoice::DiscountTableChoice(DiscountTableView& view,
                                         DiscountTableDialogFactory& dialogs,
                                         std::function<Connection&()> conexao,
                                         int32_t& FTabelaDesconto)
    : view_(view), dialogs_(dialogs), conexao_(std::move(conexao)),
      FTabelaDesconto(FTabelaDesconto) {}

void DiscountTableChoice::checkTabelaClick() {
    if (!view_.tableBoxTicked()) {
        clearChoice();
        return;
    }
    const std::unique_ptr<DiscountTableDialog> dialog = dialogs_.create(conexao_());
    if (dialog->execute()) {
        if (const auto chosen = firstMarked(dialog->rows())) {
            view_.showChosenTable(latin1ToUtf8(chosen->descricao));
            FTabelaDesconto = chosen->tabela_desconto_id;
        }
    } else {
        // Unticking runs this handler again, which clears the choice; clearing once more
        // afterwards leaves the same state.
        view_.untickTableBox();
        clearChoice();
    }
}

void DiscountTableChoice::clearChoice() {
    view_.showNoTable();
    FTabelaDesconto = 0;
}

} // namespace precivox
