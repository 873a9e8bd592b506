#pragma once

#include "ClientDataSet.h"
#include "DiscountRecords.h"

#include <cstdint>
#include <memory>
#include <string>

namespace precivox {

class Query;
class TdmGerente;

// What the main window lends the rule engine for one evaluation.
struct RuleEngineContext {
    TdmGerente& dmGerente;
    Query& QPesquisaProd; // open on the rule rows the price query found
    Query& QTemp2;
    int32_t FCodLogica;
};

// The discount rule engine: loads the payment condition of a company, branch and payment
// type, then prices one product through its rule. Good for one evaluation only.
class TCondicaoPagto {
public:
    TCondicaoPagto(RuleEngineContext context, int32_t empresaId, int32_t filialId,
                   int32_t formaPgtoTipoId);
    TCondicaoPagto(const TCondicaoPagto&) = delete;
    TCondicaoPagto& operator=(const TCondicaoPagto&) = delete;
    ~TCondicaoPagto();

    // Fills `regra` (handed in fresh) for the product and quantity; releases the rule sets.
    void CalcularPreco(int32_t produtoId, int32_t quantidade, TRegraDesconto& regra);

    bool descPromo() const { return FDescPromo; }
    int32_t tabelaId() const { return FTabelaId; }
    const std::string& tabelaDescricao() const { return FTabelaDescricao; }
    int32_t tiposPgtoId() const { return FTiposPgtoId; }
    const std::string& condicao() const { return FCondicao; }
    const std::string& tipo() const { return FTipo; }
    bool ruleSetsOpen() const { return FRegrasGrupo && FRegrasProduto; }

private:
    void CarregarCondicao();
    void CarregarTabelaDesconto();
    void CarregarRegrasGrupo();
    void CarregarRegrasProduto();
    void CarregarCondicaoPagamento();

    void IniciarDesconto(TTipoDesconto tipo, TDesconto& desconto);
    void IniciarRegra(TRegraDesconto& regra, int32_t produtoId);
    void LerRegra(TRegraDesconto& regra, const Query& dataSet);
    void RegraPadrao(TRegraDesconto& regra);
    Currency PrecoNivel(int32_t nivel, int32_t produtoId);
    void DescontoPromocao(const TRegraDesconto& regra, TDesconto& desconto);
    void DescontoAVista(const TRegraDesconto& regra, TDesconto& desconto);
    void DescontoAutomatico(const TRegraDesconto& regra, TDesconto& desconto);
    void AplicarMenorPreco(const TDesconto& promocao, const TDesconto& quantidade,
                           const TDesconto& aVista, const TDesconto& automatico,
                           TDesconto& escolhido);

    RuleEngineContext context_;
    int32_t FEmpresaId;
    int32_t FFilialId;
    int32_t FFormaPgtoTipoId;
    int32_t FTabelaId = 0;
    std::string FTabelaDescricao;
    int32_t FTiposPgtoId = 0;
    std::string FCondicao;
    std::string FTipo;
    bool FDescPromo = false;
    std::unique_ptr<ClientDataSet> FRegrasGrupo;
    std::unique_ptr<ClientDataSet> FRegrasProduto;
};

// The select expression and the display name of a price level; any level but 2, 3 and
// 10 is level 1.
std::string ExpressaoPreco(int32_t nivel);
std::string NomeNivelPreco(int32_t nivel);

} // namespace precivox
