#include "QuantityDiscount.h"

#include "Errors.h"
#include "RuleEngineFixture.h"

namespace precivox {
namespace {

struct QuantityDiscount : test::RuleEngineFixture {
    TDesconto discountFor(const std::string& tiers, int32_t quantity, const char* price = "10.00") {
        database.run("DELETE FROM descqtde");
        if (!tiers.empty())
            database.run("INSERT INTO descqtde (produto_id, qtde, desconto, apagado) VALUES " +
                         tiers);
        TDesconto desconto;
        desconto.Tipo = tdQuantidade;
        DescontoQuantidade(dmGerente, {100, Currency::fromDecimalText(price), quantity}, desconto);
        return desconto;
    }
};

TEST_F(QuantityDiscount, CountsUnitsInRunsOfTheLargestTier) {
    const std::string tiers = "(100, 1, 5, 'N'), (100, 3, 10, 'N'), (100, 9, 50, 'S')";
    const struct {
        const char* name;
        std::string tiers;
        int32_t quantity;
        bool applies;
        const char* percentage;
        const char* price;
    } cases[] = {
        {"one unit", tiers, 1, true, "5", "9.50"},
        {"a whole run: 9.50 + 10.00 + 9.00", tiers, 3, true, "5", "9.50"},
        {"a fourth unit starts a new run: 38.00 of 40.00", tiers, 4, true, "5", "9.50"},
        {"tiers only for 3 and 6 units", "(100, 3, 10, 'N'), (100, 6, 20, 'N')", 1, true, "0",
         "10.00"},
        {"no tier", "", 1, false, "0", "0"},
        {"only a deleted tier", "(100, 1, 5, 'S')", 1, false, "0", "0"},
        {"another product's tier", "(101, 1, 5, 'N')", 1, false, "0", "0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TDesconto desconto = discountFor(c.tiers, c.quantity);
        EXPECT_EQ(desconto.Aplica, c.applies);
        EXPECT_EQ(desconto.Percentual, Currency::fromDecimalText(c.percentage));
        EXPECT_EQ(desconto.Preco, Currency::fromDecimalText(c.price));
        if (c.applies) {
            EXPECT_EQ(desconto.Quantidade, c.quantity);
            EXPECT_EQ(desconto.Texto, "Aplicando Desconto por quantidade - Cadastro do Produto");
        }
    }
    EXPECT_TRUE(prompter.boxes.empty());
}

TEST_F(QuantityDiscount, ZeroCasesRaiseAnArithmeticError) {
    EXPECT_THROW(discountFor("(100, 0, 10, 'N')", 1), ArithmeticError);
    EXPECT_THROW(discountFor("(100, 1, 10, 'N')", 0), ArithmeticError);
    EXPECT_THROW(discountFor("(100, 1, 10, 'N')", 1, "0.004"), ArithmeticError);
}

} // namespace
} // namespace precivox
