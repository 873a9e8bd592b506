#include "CondicaoPagto.h"

#include "ManagerDataModule.h"
#include "Query.h"

namespace precivox {

namespace {

std::string id(int32_t value) {
    return std::to_string(value);
}

} // namespace

TCondicaoPagto::TCondicaoPagto(RuleEngineContext context, int32_t empresaId, int32_t filialId,
                               int32_t formaPgtoTipoId)
    : context_(context), FEmpresaId(empresaId), FFilialId(filialId),
      FFormaPgtoTipoId(formaPgtoTipoId) {
    CarregarCondicao();
}

TCondicaoPagto::~TCondicaoPagto() = default;

void TCondicaoPagto::CarregarCondicao() {
    Query& QTemp2 = context_.QTemp2;
    QTemp2.setSql("select desc_promo from filial where filial_id = " + id(context_.FCodLogica));
    QTemp2.open();
    FDescPromo = !QTemp2.isEmpty() && QTemp2.fieldByName("desc_promo").asString() == "S";
    CarregarTabelaDesconto();
    CarregarRegrasGrupo();
    CarregarRegrasProduto();
    CarregarCondicaoPagamento();
}

void TCondicaoPagto::CarregarTabelaDesconto() {
    auto tabelas = context_.dmGerente.NewClientDataSet();
    tabelas->setCommandText(
        " Select tabela.tabela_desconto_id, tabela.descricao, tabcond.filial_id "
        " from empresa_tab_desconto tabcond "
        " join tabela_desconto tabela "
        " on tabela.tabela_desconto_id = tabcond.tabela_desconto_id "
        " where tabcond.apagado <> 'S' and tabela.apagado <> 'S' and tabcond.aceita = 'S' "
        " and tabcond.empresa_id = " +
        id(FEmpresaId) + " and ((tabcond.filial_id = " + id(FFilialId) +
        ") or (tabcond.filial_id = 0))" +
        " and tabcond.formapgto_tipospgto_id = " + id(FFormaPgtoTipoId));
    tabelas->open();
    // A row for the branch itself wins over one for every branch; without one the first
    // row returned stands.
    tabelas->locate("filial_id", Variant(FFilialId));
    FTabelaId = tabelas->field(0).asInteger();
    FTabelaDescricao = tabelas->field(1).asString();
    tabelas->close();
}

void TCondicaoPagto::CarregarRegrasGrupo() {
    FRegrasGrupo = context_.dmGerente.NewClientDataSet();
    FRegrasGrupo->setCommandText(
        " select grupo_id, tabela_desconto_id,  permite_troca, permite_pesq_troca, "
        "bloqueia_desc,  permite_promocao, pratica_preco, acrescimo, desconto,  "
        "desconto_maximo, permite_desc_qtde,  permite_desc_avista, pratica_menor_preco  "
        "from grupo_tabela_desconto  where apagado <> \"S\" and tabela_desconto_id = " +
        id(FTabelaId));
    FRegrasGrupo->open();
}

void TCondicaoPagto::CarregarRegrasProduto() {
    FRegrasProduto = context_.dmGerente.NewClientDataSet();
    FRegrasProduto->setCommandText(
        " select produto_id, tabela_desconto_id,  bloqueia_desc, permite_promocao, "
        "pratica_preco, acrescimo,  desconto, desconto_maximo, permite_desc_qtde,  "
        "permite_desc_avista, pratica_menor_preco  from prod_tabela_desconto  where apagado "
        "<> \"S\" and tabela_desconto_id = " +
        id(FTabelaId));
    FRegrasProduto->open();
}

void TCondicaoPagto::CarregarCondicaoPagamento() {
    auto condicao = context_.dmGerente.NewClientDataSet();
    condicao->setCommandText(
        " Select concat( tipo.descricao,\" - \", forma.descricao) condicao,  "
        "formatipo.tipospgto_id, tipo.tipo from formapgto_tipospgto formatipo  join tipospgto "
        "tipo  on tipo.tipospgto_id  = formatipo.tipospgto_id  join formapgto forma on "
        "forma.formapgto_id = formatipo.formapgto_id  where formapgto_tipospgto_id = " +
        id(FFormaPgtoTipoId));
    condicao->open();
    FCondicao = condicao->field(0).asString();
    FTiposPgtoId = condicao->field(1).asInteger();
    FTipo = condicao->field(2).asString();
    condicao->close();
}

} // namespace precivox
