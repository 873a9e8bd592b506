#include "LeitorProdutos.h"

#include "ConnectionSettings.h"
#include "Errors.h"
#include "IniProfile.h"

namespace precivox {

TFLeitorProdutos::TFLeitorProdutos(std::unique_ptr<TdmGerente> dmGerente, Services services)
    : dmGerente_(std::move(dmGerente)), services_(std::move(services)),
      CONEXAO(std::make_unique<Connection>(initialConnectionParameters())),
      QPesquisaProd(std::make_unique<Query>(*CONEXAO)), QTemp(std::make_unique<Query>(*CONEXAO)),
      QTemp2(std::make_unique<Query>(*CONEXAO)), answers_(services_.library),
      priceQuery_(std::make_unique<PriceQuery>(
          PriceQuery::Lent{*CONEXAO, *QPesquisaProd, *QTemp, *QTemp2, *dmGerente_, FTabelaDesconto,
                           FCodLogica, answers_, services_.clock},
          systemNumberSeparators())),
      polling_(
          services_.library, services_.panel, services_.prompter, answers_,
          [this](int32_t terminal, const std::string& barcode) {
              ConsultarPreco(terminal, barcode);
          },
          services_.log) {
    if (dmGerente_)
        dmGerente_->bindQDSP(*CONEXAO);
}

TFLeitorProdutos::~TFLeitorProdutos() {
    releaseDatabase();
}

void TFLeitorProdutos::FormCreate() {
    services_.library.vInitialize();
    services_.library.tc_startserver();
    readConnectionSettings(services_.settingsFile, CONEXAO->parameters());
    FCodLogica = readProfileInteger(services_.settingsFile, "FilialMatriz", "CodLogica", 0);
    CONEXAO->open();
    FTabelaDesconto = 0;
}

void TFLeitorProdutos::FormClose() {
    releaseDatabase();
    if (services_.endApplication)
        services_.endApplication();
}

void TFLeitorProdutos::releaseDatabase() {
    dmGerente_.reset();
    if (CONEXAO)
        CONEXAO->close();
    if (QPesquisaProd)
        QPesquisaProd->close();
    priceQuery_.reset();
    QPesquisaProd.reset();
    QTemp.reset();
    QTemp2.reset();
    CONEXAO.reset();
}

void TFLeitorProdutos::ConsultarPreco(int32_t terminal, const std::string& barcode) {
    if (!priceQuery_)
        throw DatabaseError("The main window is closed");
    priceQuery_->ConsultarPreco(terminal, barcode);
}

void TFLeitorProdutos::checkTabelaClick() {
    if (tableChoice_)
        tableChoice_->checkTabelaClick();
}

std::optional<DiscountTableChoice> TFLeitorProdutos::makeTableChoice() {
    if (!services_.tableView || !services_.tableDialogs)
        return std::nullopt;
    return std::make_optional<DiscountTableChoice>(
        *services_.tableView, *services_.tableDialogs,
        [this]() -> Connection& {
            if (!CONEXAO)
                throw DatabaseError("The main window is closed");
            return *CONEXAO;
        },
        FTabelaDesconto);
}

} // namespace precivox
