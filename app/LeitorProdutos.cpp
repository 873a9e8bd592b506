#include "LeitorProdutos.h"

#include "ConnectionSettings.h"
#include "Errors.h"
#include "IniProfile.h"

namespace precivox {

TFLeitorProdutos::TFLeitorProdutos(std::unique_ptr<TdmGerente> dmGerente, Services services)
    : dmGerente_(std::move(dmGerente)), services_(std::move(services)),
      CONEXAO(std::make_unique<Connection>(initialConnectionParameters())),
      answers_(services_.library),
      polling_(
          services_.library, services_.panel, services_.prompter, answers_,
          [this](int32_t terminal, const std::string& barcode) {
              ConsultarPreco(terminal, barcode);
          },
          services_.log) {}

TFLeitorProdutos::~TFLeitorProdutos() = default;

void TFLeitorProdutos::FormCreate() {
    services_.library.vInitialize();
    services_.library.tc_startserver();
    readConnectionSettings(services_.settingsFile, CONEXAO->parameters());
    FCodLogica = readProfileInteger(services_.settingsFile, "FilialMatriz", "CodLogica", 0);
    CONEXAO->open();
    FTabelaDesconto = 0;
}

void TFLeitorProdutos::FormClose() {
    dmGerente_.reset();
    if (CONEXAO)
        CONEXAO->close();
    CONEXAO.reset();
    if (services_.endApplication)
        services_.endApplication();
}

void TFLeitorProdutos::ConsultarPreco(int32_t terminal, const std::string&) {
    // Every barcode is unknown until the store's products are looked up.
    answers_.sendNotFound(terminal);
    throw SilentAbort();
}

} // namespace precivox
