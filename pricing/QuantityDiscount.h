#pragma once

#include "DiscountRecords.h"

#include <cstdint>
#include <vector>

namespace precivox {

class TdmGerente;

// What the evaluation asks the quantity discount for.
struct PedidoQuantidade {
    int32_t ProdutoId;
    Currency Preco; // unit price: the rule's level price, surcharge included
    int32_t Quantidade;
};

// One quantity tier of a product, with the unit price it gives.
struct QuantityTier {
    int32_t qtde;
    double desconto;
    double preco_vnd; // in currency units (9.50, not 95000), held as a double
};

// The tiers of a product that are not deleted, in the order the server returns them.
std::vector<QuantityTier> loadQuantityTiers(TdmGerente& dmGerente, const PedidoQuantidade& pedido);

// Fills the quantity candidate (handed in empty, kind set). The discount is positional:
// units are counted in runs of the largest tier quantity, and the unit in position h of a
// run takes the discount of the tier for h, or none. Never asks anybody anything.
void DescontoQuantidade(TdmGerente& dmGerente, const PedidoQuantidade& pedido, TDesconto& desconto);

} // namespace precivox
