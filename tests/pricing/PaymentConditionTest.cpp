#include "CondicaoPagto.h"
#include "RuleEngineFixture.h"

namespace precivox {
namespace {

struct PaymentCondition : test::RuleEngineFixture {
    void SetUp() override {
        RuleEngineFixture::SetUp();
        database.run("INSERT INTO tabela_desconto (tabela_desconto_id, descricao, apagado) VALUES "
                     "(7, 'LOJA', 'N'), (9, 'REDE', 'N'), (11, 'APAGADA', 'S');"
                     "INSERT INTO tipospgto (tipospgto_id, descricao, tipo) VALUES "
                     "(1, 'CARTAO', 'CREDITO');"
                     "INSERT INTO formapgto (formapgto_id, descricao) VALUES (1, 'CREDITO');"
                     "INSERT INTO formapgto_tipospgto VALUES (3, 1, 1);"
                     "INSERT INTO grupo_tabela_desconto (grupo_id, tabela_desconto_id) VALUES "
                     "(1, 7), (2, 7), (3, 0);"
                     "INSERT INTO prod_tabela_desconto (produto_id, tabela_desconto_id) VALUES "
                     "(1, 7)");
    }
};

TEST_F(PaymentCondition, TakesTheBranchsOwnAcceptedTableFirst) {
    const struct {
        const char* name;
        const char* descPromo;
        const char* acceptances; // tabela, filial, aceita, apagado, empresa, payment type
        int32_t table;
        const char* description;
        bool descPromoFlag;
    } cases[] = {
        {"own branch wins whatever the order", "'S'",
         "(9, 0, 'S', 'N', 5, 3), (7, 1, 'S', 'N', 5, 3)", 7, "LOJA", true},
        {"only every branch", "'s'", "(9, 0, 'S', 'N', 5, 3)", 9, "REDE", false},
        {"not accepted, deleted acceptance, deleted table", "NULL",
         "(7, 1, 'N', 'N', 5, 3), (9, 1, 'S', 'S', 5, 3), (11, 1, 'S', 'N', 5, 3), (7, 2, 'S', "
         "'N', 5, 3)",
         0, "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        database.run(std::string("DELETE FROM empresa_tab_desconto; DELETE FROM filial;"
                                 "INSERT INTO filial (filial_id, desc_promo) VALUES (1, ") +
                     c.descPromo +
                     ");"
                     "INSERT INTO empresa_tab_desconto (tabela_desconto_id, filial_id, aceita, "
                     "apagado, empresa_id, formapgto_tipospgto_id) VALUES " +
                     c.acceptances);
        TCondicaoPagto engine({dmGerente, QPesquisaProd, QTemp2, 1}, 5, 1, 3);
        EXPECT_EQ(engine.tabelaId(), c.table);
        EXPECT_EQ(engine.tabelaDescricao(), c.description);
        EXPECT_EQ(engine.descPromo(), c.descPromoFlag);
        EXPECT_EQ(engine.condicao(), "CARTAO - CREDITO");
        EXPECT_EQ(engine.tiposPgtoId(), 1);
        EXPECT_EQ(engine.tipo(), "CREDITO");
        EXPECT_TRUE(engine.ruleSetsOpen());
    }
}

TEST_F(PaymentCondition, MissingPaymentTypeLeavesTheNamesEmpty) {
    TCondicaoPagto engine({dmGerente, QPesquisaProd, QTemp2, 1}, 5, 1, 42);
    EXPECT_EQ(engine.tabelaId(), 0);
    EXPECT_FALSE(engine.descPromo());
    EXPECT_EQ(engine.condicao(), "");
    EXPECT_EQ(engine.tiposPgtoId(), 0);
    EXPECT_EQ(engine.tipo(), "");
}

} // namespace
} // namespace precivox
