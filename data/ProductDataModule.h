#pragma once

#include "Currency.h"

#include <cstdint>
#include <string>

namespace precivox {

class TdmGerente;

// The product class operations the rule engine uses. They keep no state: every call asks
// the database through the manager data module's scalar queries.
class TDMProduto {
public:
    TDMProduto() = delete;

    // True when the product has a current promotional price: the branch's own (the branch
    // named by the settings file at this moment) before the product's. The server compares
    // the dates, both bounds included.
    static bool PrecoPromocao(TdmGerente& dmGerente, int32_t produtoId, Currency& preco,
                              std::string& origem);

    // The product's group, 0 when the product or its group is missing.
    static int32_t GrupoDoProduto(TdmGerente& dmGerente, int32_t produtoId);
};

} // namespace precivox
