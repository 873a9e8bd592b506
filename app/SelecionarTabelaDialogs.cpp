#include "SelecionarTabelaDialogs.h"

#include "MessageBoxPrompter.h"
#include "SelecionarTabelaDesconto.h"

namespace precivox {

namespace {

class OpenDialog : public DiscountTableDialog {
public:
    OpenDialog(QWidget& owner, Connection& conexao) : FSelecionarTabela(&owner, conexao, boxes_) {
        boxes_.setOwner(&FSelecionarTabela);
    }

    bool execute() override { return FSelecionarTabela.exec() == QDialog::Accepted; }
    std::vector<DiscountTableRow> rows() const override { return FSelecionarTabela.rows(); }

private:
    MessageBoxPrompter boxes_; // before the dialog, which keeps a reference to it
    TFSelecionarTabela FSelecionarTabela;
};

} // namespace

std::unique_ptr<DiscountTableDialog> SelecionarTabelaDialogs::create(Connection& conexao) {
    return std::make_unique<OpenDialog>(owner_, conexao);
}

} // namespace precivox
