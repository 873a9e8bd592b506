#include "ProductDataModule.h"

#include "ConfigSistemaYOR.h"
#include "ManagerDataModule.h"

namespace precivox {

bool TDMProduto::PrecoPromocao(TdmGerente& dmGerente, int32_t produtoId, Currency& preco,
                               std::string& origem) {
    const std::string codLogica = TConfigSistemaYOR::LerCodLogica();
    const std::string id = std::to_string(produtoId);
    Currency value = dmGerente
                         .ExecuteScalarDef(" select preco_promo from precosfilial "
                                           " where apagado <> \"S\" "
                                           " and CURRENT_DATE between inicio_promocao and "
                                           "final_promocao "
                                           " and filial_id = " +
                                               codLogica + " and  produto_id = " + id,
                                           0)
                         .toCurrency();
    if (value.count > 0) {
        preco = value;
        origem = "Origem Promoção: Preço Filial";
        return true;
    }
    value = dmGerente
                .ExecuteScalarDef(" select preco_pro from produto  where produto_id = " + id +
                                      " and CURRENT_DATE between dtiniciopromocao and valid_pro ",
                                  0)
                .toCurrency();
    if (value.count > 0) {
        preco = value;
        origem = "Origem Promoção: Cad. Produto";
        return true;
    }
    return false;
}

int32_t TDMProduto::GrupoDoProduto(TdmGerente& dmGerente, int32_t produtoId) {
    return dmGerente
        .ExecuteScalarDef(
            "Select grupo_id from produto where produto_id = " + std::to_string(produtoId), 0)
        .toInt32();
}

} // namespace precivox
