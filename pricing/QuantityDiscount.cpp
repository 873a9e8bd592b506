#include "QuantityDiscount.h"

#include "CurrencyRounding.h"
#include "Errors.h"
#include "ManagerDataModule.h"
#include "Query.h"

#include <algorithm>

namespace precivox {

std::vector<QuantityTier> loadQuantityTiers(TdmGerente& dmGerente, const PedidoQuantidade& pedido) {
    Query tiers(dmGerente.bancodeDados());
    tiers.setSql("Select qtde, desconto from descqtde where produto_id = " +
                 std::to_string(pedido.ProdutoId) + " and apagado <> \"S\"");
    tiers.open();
    std::vector<QuantityTier> list;
    for (tiers.first(); !tiers.eof(); tiers.next()) {
        const double desconto = tiers.fieldByName("desconto").asFloat();
        const long double precoVnd = (1 - static_cast<long double>(desconto) / 100) *
                                     static_cast<long double>(pedido.Preco.count) / 10000;
        list.push_back(
            {tiers.fieldByName("qtde").asInteger(), desconto, static_cast<double>(precoVnd)});
    }
    tiers.close();
    return list;
}

void DescontoQuantidade(TdmGerente& dmGerente, const PedidoQuantidade& pedido,
                        TDesconto& desconto) {
    auto maior = dmGerente.OpenClientDataSet(
        " Select qtde, desconto from descqtde where produto_id = :pid and apagado <> \"S\" "
        "order by qtde desc limit 1 ",
        {Variant(pedido.ProdutoId)});
    if (!maior->active() || maior->isEmpty())
        return;
    const int32_t maiorQuantidade = maior->fieldByName("qtde").asInteger();

    const std::vector<QuantityTier> tiers = loadQuantityTiers(dmGerente, pedido);
    const int32_t quantidade = pedido.Quantidade;
    int64_t total = 0;
    for (int32_t unidade = 1; unidade <= quantidade; ++unidade) {
        if (maiorQuantidade == 0)
            throw ArithmeticError("Division by zero");
        int32_t posicao = unidade % maiorQuantidade;
        if (posicao == 0)
            posicao = maiorQuantidade;
        auto tier = std::find_if(tiers.begin(), tiers.end(),
                                 [&](const QuantityTier& t) { return t.qtde == posicao; });
        if (tier != tiers.end())
            total = nearestInteger(static_cast<long double>(tier->preco_vnd) * 10000 + total);
        else
            total += pedido.Preco.count;
    }

    const Currency bruto =
        Arredondar(Currency::fromCount(static_cast<long double>(quantidade) * pedido.Preco.count));
    if (bruto.count == 0)
        throw ArithmeticError("Division by zero");
    desconto.Percentual = Arredondar(Currency::fromCount(
        static_cast<long double>(bruto.count - total) / bruto.count * 100 * 10000));
    desconto.Preco = DescontarPercentual(pedido.Preco, desconto.Percentual);
    desconto.Quantidade = quantidade;
    desconto.Texto = "Aplicando Desconto por quantidade - Cadastro do Produto";
    desconto.Aplica = true;
}

} // namespace precivox
