// The evaluation half of the rule engine: from the rule row to the price and its text.
#include "CondicaoPagto.h"
#include "CurrencyRounding.h"
#include "Errors.h"
#include "ManagerDataModule.h"
#include "PriceText.h"
#include "ProductDataModule.h"
#include "QuantityDiscount.h"
#include "Query.h"

namespace precivox {

namespace {

const std::string kCrLf = "\r\n";

std::string id(int32_t value) {
    return std::to_string(value);
}

// A ratio of two currencies in extended precision; a zero divisor is an error, never an
// infinity that would later be turned into a count.
long double ratio(Currency dividend, Currency divisor) {
    if (divisor.count == 0)
        throw ArithmeticError("Division by zero");
    return static_cast<long double>(dividend.count) / static_cast<long double>(divisor.count);
}

// "0.00%": the percentage itself, two decimals, the regional decimal separator.
std::string percentText(Currency percentage) {
    NumberSeparators separators = systemNumberSeparators();
    separators.thousands.clear();
    return formatPrice(static_cast<double>(percentage.count) / Currency::kScale, separators) + "%";
}

} // namespace

std::string ExpressaoPreco(int32_t nivel) {
    switch (nivel) {
    case 2:
        return " if(coalesce(precosfilial.preco2,0) > 0, precosfilial.preco2, produto.preco2)  "
               "preco2 ";
    case 3:
        return " if(coalesce(precosfilial.preco3,0) > 0, precosfilial.preco3, produto.preco3)  "
               "preco3 ";
    case 10:
        return " if(coalesce(precosfilial.preco_custo,0) > 0, precosfilial.preco_custo, "
               "produto.preco_cmp_un)  preco_fabrica";
    default:
        return " if(coalesce(precosfilial.preco,0) > 0, precosfilial.preco, produto.preco_vnd) "
               "preco_vnd ";
    }
}

std::string NomeNivelPreco(int32_t nivel) {
    switch (nivel) {
    case 2:
        return "Preço 2";
    case 3:
        return "Preço 3";
    case 10:
        return "Preço Fábrica";
    default:
        return "Preço 1";
    }
}

void TCondicaoPagto::IniciarDesconto(TTipoDesconto tipo, TDesconto& desconto) {
    desconto = TDesconto{};
    desconto.Tipo = tipo;
}

void TCondicaoPagto::IniciarRegra(TRegraDesconto& regra, int32_t produtoId) {
    regra.ProdutoId = produtoId;
    regra.EmPromocao = false;
    regra.QtdeAlterada = false;
    regra.Acrescimo = regra.ValorDesconto = regra.PercDesconto = regra.DescontoMaximo = {};
    regra.PrecoBase = regra.PrecoFinal = regra.Preco1 = {};
}

void TCondicaoPagto::LerRegra(TRegraDesconto& regra, const Query& dataSet) {
    auto flag = [&](const char* column) { return dataSet.fieldByName(column).asString() == "S"; };
    regra.NivelPreco = dataSet.fieldByName("pratica_preco").asInteger();
    regra.DescontoMaximo = dataSet.fieldByName("desconto_maximo").asCurrency();
    regra.Acrescimo = dataSet.fieldByName("acrescimo").asCurrency();
    regra.PercDesconto = Currency::fromCount(
        static_cast<long double>(dataSet.fieldByName("desconto").asFloat()) * Currency::kScale);
    regra.BloqueiaDesc = flag("bloqueia_desc");
    regra.PermitePromocao = flag("permite_promocao");
    regra.PermiteDescQtde = flag("permite_desc_qtde");
    regra.PermiteDescAVista = flag("permite_desc_avista");
    regra.PraticaMenorPreco = flag("pratica_menor_preco");
}

void TCondicaoPagto::RegraPadrao(TRegraDesconto& regra) {
    regra.NivelPreco = 1;
    regra.DescontoMaximo = regra.Acrescimo = regra.PercDesconto = {};
    regra.BloqueiaDesc = regra.PermitePromocao = regra.PermiteDescQtde = false;
    regra.PermiteDescAVista = regra.PraticaMenorPreco = false;
}

Currency TCondicaoPagto::PrecoNivel(int32_t nivel, int32_t produtoId) {
    return context_.dmGerente
        .ExecuteScalarDef(" Select " + ExpressaoPreco(nivel) + " from produto " +
                              " left join precosfilial on precosfilial.apagado <> \"S\" " +
                              " and precosfilial.produto_id = produto.produto_id " +
                              " and precosfilial.filial_id = " + id(FFilialId) +
                              " where produto.produto_id = " + id(produtoId),
                          0)
        .toCurrency();
}

void TCondicaoPagto::DescontoPromocao(const TRegraDesconto& regra, TDesconto& desconto) {
    Currency preco;
    std::string origem;
    if (!TDMProduto::PrecoPromocao(context_.dmGerente, regra.ProdutoId, preco, origem))
        return;
    desconto.Preco = preco;
    desconto.Percentual =
        Currency::fromCount((100 - ratio(preco, regra.PrecoBase) * 100) * Currency::kScale);
    desconto.Texto = "Praticando Preço Promocional" + kCrLf +
                     "Regra do #descpor# na tabela de desconto" + kCrLf + origem;
    desconto.Aplica = true;
}

void TCondicaoPagto::DescontoAVista(const TRegraDesconto& regra, TDesconto& desconto) {
    desconto.Percentual =
        context_.dmGerente
            .ExecuteScalarDef(" Select if(coalesce(precosfilial.desc_vista,0) > 0, "
                              "precosfilial.desc_vista, produto.desconto) descavista  from "
                              "produto  left join precosfilial on precosfilial.apagado <> \"S\" "
                              " and precosfilial.produto_id = produto.produto_id  and "
                              "precosfilial.filial_id = " +
                                  id(FFilialId) +
                                  " where produto.produto_id = " + id(regra.ProdutoId),
                              0)
            .toCurrency();
    desconto.Preco = DescontarPercentual(regra.PrecoBase, desconto.Percentual);
    if (desconto.Percentual.count > 0) {
        desconto.Aplica = true;
        desconto.Texto = "Aplicando desconto à vista do cad. produto." + kCrLf +
                         "Regra do #descpor# na tabela de desconto";
    }
}

void TCondicaoPagto::DescontoAutomatico(const TRegraDesconto& regra, TDesconto& desconto) {
    desconto.Percentual = regra.PercDesconto;
    desconto.Preco = DescontarPercentual(regra.PrecoBase, regra.PercDesconto);
    desconto.Texto = "Aplicando Desc. Automático do #descpor# na tabela de descontos";
    desconto.Aplica = true;
}

void TCondicaoPagto::AplicarMenorPreco(const TDesconto& promocao, const TDesconto& quantidade,
                                       const TDesconto& aVista, const TDesconto& automatico,
                                       TDesconto& escolhido) {
    const TADesconto candidatos{promocao, quantidade, aVista, automatico};
    for (const TDesconto& candidato : candidatos) {
        if (!candidato.Aplica)
            continue;
        bool lowest = true;
        for (const TDesconto& outro : candidatos)
            lowest = lowest && (!outro.Aplica || candidato.Preco <= outro.Preco);
        if (lowest) {
            escolhido = candidato;
            escolhido.Texto += kCrLf + "Praticando menor preço possível do produto.";
            return;
        }
    }
}

void TCondicaoPagto::CalcularPreco(int32_t produtoId, int32_t quantidade, TRegraDesconto& regra) {
    TDesconto promocao, porQuantidade, aVista, automatico, escolhido;
    IniciarDesconto(tdPromocao, promocao);
    IniciarDesconto(tdQuantidade, porQuantidade);
    IniciarDesconto(tdAVista, aVista);
    IniciarDesconto(tdAutomatico, automatico);
    IniciarDesconto(tdEscolhido, escolhido);
    IniciarRegra(regra, produtoId);

    Query& regras = context_.QPesquisaProd;
    std::string palavraRegra;
    if (regras.locate("produto_id", Variant(produtoId))) {
        LerRegra(regra, regras);
        regra.Origem = orProduto;
        palavraRegra = "Produto";
    } else if (regras.locate("grupo_id",
                             Variant(TDMProduto::GrupoDoProduto(context_.dmGerente, produtoId)))) {
        LerRegra(regra, regras);
        regra.Origem = orGrupo;
        palavraRegra = "Grupo";
    } else {
        RegraPadrao(regra);
        regra.Origem = orSemRegra;
        regra.Mensagem = "Praticando preço 1, não há desconto definido para este produto ou grupo";
    }

    regra.PrecoBase = PrecoNivel(regra.NivelPreco, produtoId);
    regra.PrecoFinal = regra.PrecoBase;
    regra.Preco1 = PrecoNivel(1, produtoId);

    if (regra.Origem != orSemRegra) {
        if (regra.Acrescimo.count > 0) {
            regra.PrecoBase = AcrescentarPercentual(regra.PrecoBase, regra.Acrescimo);
            regra.PrecoFinal = regra.PrecoBase;
        }
        if (regra.PermitePromocao)
            DescontoPromocao(regra, promocao);
        if (regra.PermiteDescQtde && (regra.PraticaMenorPreco || !promocao.Aplica))
            DescontoQuantidade(context_.dmGerente, {produtoId, regra.PrecoBase, quantidade},
                               porQuantidade);
        if (regra.PermiteDescAVista)
            DescontoAVista(regra, aVista);
        if (regra.PercDesconto.count > 0)
            DescontoAutomatico(regra, automatico);

        if (regra.PraticaMenorPreco) {
            AplicarMenorPreco(promocao, porQuantidade, aVista, automatico, escolhido);
        } else {
            bool chosen = false;
            for (const TDesconto* candidato : {&promocao, &porQuantidade, &aVista, &automatico}) {
                if (candidato->Aplica) {
                    escolhido = *candidato;
                    chosen = true;
                    break;
                }
            }
            if (!chosen)
                regra.Mensagem = "Não há desconto definido para este produto ou grupo";
        }

        if (escolhido.Aplica) {
            regra.PrecoFinal = escolhido.Preco;
            regra.PercDesconto = escolhido.Percentual;
            regra.Mensagem = escolhido.Texto;
            if (escolhido.Tipo == tdPromocao) {
                regra.EmPromocao = true;
                if (!FDescPromo) {
                    // The promotional price stands as the plain price: no discount shown.
                    regra.PercDesconto = regra.ValorDesconto = {};
                    regra.PrecoBase = regra.PrecoFinal;
                }
            } else if (escolhido.Tipo == tdQuantidade) {
                regra.QtdeAlterada = true;
                regra.Quantidade = escolhido.Quantidade;
            }
        }
    }

    if (regra.NivelPreco == 10 && !regra.EmPromocao) {
        // The discount shown is how far the factory price lies below the level-1 price.
        regra.PrecoBase = PrecoNivel(1, produtoId);
        regra.PercDesconto = Currency{
            1000000 -
            Arredondar(Currency::fromCount(ratio(regra.PrecoFinal, regra.PrecoBase) * 100 * 10000))
                .count};
    }

    if (!regra.EmPromocao) {
        std::string acrescimo;
        if (regra.Acrescimo.count > 0)
            acrescimo = " Com Acréscimo de: " + percentText(regra.Acrescimo);
        regra.Mensagem = "Praticando " + NomeNivelPreco(regra.NivelPreco) + " do produto." +
                         acrescimo + kCrLf + regra.Mensagem;
    }

    if (auto at = regra.Mensagem.find("#descpor#"); at != std::string::npos)
        regra.Mensagem.replace(at, 9, palavraRegra);

    regra.ValorDesconto = Currency{regra.PrecoBase.count - regra.PrecoFinal.count};
    if (regra.ValorDesconto.count < 0 || regra.PercDesconto.count < 0)
        regra.ValorDesconto = regra.PercDesconto = {};

    FRegrasGrupo.reset();
    FRegrasProduto.reset();
}

} // namespace precivox
