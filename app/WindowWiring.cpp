#include "WindowWiring.h"

#include "LeitorProdutos.h"
#include "LeitorProdutosWindow.h"

namespace precivox {

void connectWindow(LeitorProdutosWindow& window, TFLeitorProdutos& form, Prompter& errors) {
    LeitorProdutosWindow::Handlers handlers;
    handlers.FormClose = [&form] { form.FormClose(); };
    handlers.ListBConecClick = [&form] { form.ListBConecClick(); };
    handlers.bConfigurClick = [&form] { form.bConfigurClick(); };
    handlers.bSalvarClick = [&form] { form.bSalvarClick(); };
    handlers.checkTabelaClick = [&form] { form.checkTabelaClick(); };
    window.setHandlers(std::move(handlers), errors);
}

} // namespace precivox
