#include "CondicaoPagto.h"
#include "Errors.h"
#include "PriceText.h"
#include "RuleEngineFixture.h"

namespace precivox {
namespace {

Currency money(const char* amount) {
    return Currency::fromDecimalText(amount);
}

// One rule row as the price query would hand it over, a product with its prices, and
// what the evaluation must make of them.
struct EvaluationCase {
    const char* name;
    const char* descPromo;     // the branch's flag
    const char* prices;        // produto: preco_vnd, preco_cmp_un, preco_pro, desconto
    const char* promotionDays; // dtiniciopromocao, valid_pro
    const char* rule;          // pratica_preco, acrescimo, desconto
    const char* allows;        // letters: P promotion, Q quantity, A cash, M lowest price
    const char* tiers;         // descqtde rows (qtde, desconto, apagado) or ""
    const char *final, *base, *percentage, *discount;
    std::string message;
};

const std::string head1 = "Praticando Preço 1 do produto.";
const std::string crlf = "\r\n";
const std::string noDiscount = "Não há desconto definido para este produto ou grupo";
const std::string lowest = crlf + "Praticando menor preço possível do produto.";
const std::string promotion = "Praticando Preço Promocional\r\nRegra do Produto na tabela de "
                              "desconto\r\nOrigem Promoção: Cad. Produto";
const std::string cash = "Aplicando desconto à vista do cad. produto.\r\nRegra do Produto na "
                         "tabela de desconto";
const std::string current = "CURRENT_DATE - INTERVAL 1 DAY, CURRENT_DATE + INTERVAL 1 DAY";
const std::string expired = "CURRENT_DATE - INTERVAL 9 DAY, CURRENT_DATE - INTERVAL 1 DAY";

struct RuleEvaluation : test::RuleEngineFixture {
    TRegraDesconto evaluate(const EvaluationCase& c, const std::string& ruleProduct = "100",
                            const std::string& ruleGroup = "0") {
        database.run("DELETE FROM produto; DELETE FROM filial; DELETE FROM descqtde;"
                     "INSERT INTO filial (filial_id, desc_promo) VALUES (1, '" +
                     std::string(c.descPromo) +
                     "');"
                     "INSERT INTO produto (produto_id, barras, descricao, grupo_id, preco_vnd, "
                     "preco_cmp_un, preco_pro, desconto, dtiniciopromocao, valid_pro) VALUES "
                     "(100, '7890000000100', 'ITEM', 10, " +
                     c.prices + ", " + c.promotionDays + ")");
        if (*c.tiers)
            database.run(std::string("INSERT INTO descqtde (produto_id, qtde, desconto, apagado) "
                                     "VALUES ") +
                         c.tiers);
        std::string allows = c.allows;
        auto flag = [&](char letter) {
            return allows.find(letter) != std::string::npos ? "'S'" : "'N'";
        };
        std::istringstream rule(c.rule);
        std::string level, surcharge, automatic;
        std::getline(rule, level, ',');
        std::getline(rule, surcharge, ',');
        std::getline(rule, automatic, ',');
        QPesquisaProd.setSql("select 'ITEM' descricao, " + ruleProduct + " produto_id, " +
                             ruleGroup + " grupo_id, " + level + " pratica_preco, cast(" +
                             surcharge + " as decimal(15,4)) acrescimo, cast(" + automatic +
                             " as decimal(15,4)) desconto, cast(0 as decimal(15,4)) "
                             "desconto_maximo, 'N' bloqueia_desc, " +
                             flag('P') + " permite_promocao, " + flag('Q') +
                             " permite_desc_qtde, " + flag('A') + " permite_desc_avista, " +
                             flag('M') +
                             " pratica_menor_preco, 1 empresa_id, 1 "
                             "formapgto_tipospgto_id");
        QPesquisaProd.open();
        TCondicaoPagto engine({dmGerente, QPesquisaProd, QTemp2, 1}, 1, 1, 1);
        TRegraDesconto regra;
        engine.CalcularPreco(100, 1, regra);
        EXPECT_FALSE(engine.ruleSetsOpen());
        return regra;
    }
};

TEST_F(RuleEvaluation, PricesEachCandidateAndExplainsIt) {
    const std::string separator = systemNumberSeparators().decimal;
    const EvaluationCase cases[] = {
        {"automatic discount", "N", "10, 0, 0, 0", current.c_str(), "1, 0, 5", "", "", "9.50",
         "10.00", "5", "0.50",
         head1 + crlf + "Aplicando Desc. Automático do Produto na tabela de descontos"},
        {"surcharge and no candidate", "N", "10, 0, 0, 0", current.c_str(), "1, 10, 0", "", "",
         "11.00", "11.00", "0", "0",
         head1 + " Com Acréscimo de: 10" + separator + "00%" + crlf + noDiscount},
        {"promotion, branch does not report it as a discount", "N", "10, 0, 8, 0", current.c_str(),
         "1, 0, 0", "P", "", "8.00", "8.00", "0", "0", promotion},
        {"promotion reported as a discount", "S", "10, 0, 8, 0", current.c_str(), "1, 0, 0", "P",
         "", "8.00", "10.00", "20", "2.00", promotion},
        {"expired promotion", "S", "10, 0, 8, 0", expired.c_str(), "1, 0, 0", "P", "", "10.00",
         "10.00", "0", "0", head1 + crlf + noDiscount},
        // A tier of quantity 0 would divide by zero: the quantity discount must not run.
        {"a promotion wins over cheaper candidates without the lowest-price rule", "S",
         "10, 0, 9, 15", current.c_str(), "1, 0, 30", "PQA", "(100, 0, 10, 'N')", "9.00", "10.00",
         "10", "1.00", promotion},
        {"lowest price takes the cash discount", "S", "10, 0, 9, 15", current.c_str(), "1, 0, 0",
         "PAM", "", "8.50", "10.00", "15", "1.50", head1 + crlf + cash + lowest},
        {"lowest price tie goes to the promotion", "S", "10, 0, 8.5, 15", current.c_str(),
         "1, 0, 0", "PAM", "", "8.50", "10.00", "15", "1.50", promotion + lowest},
        {"lowest price with nothing that applies", "N", "10, 0, 0, 0", current.c_str(), "1, 0, 0",
         "PAM", "", "10.00", "10.00", "0", "0", head1 + crlf},
        {"factory level", "N", "10, 6, 0, 0", current.c_str(), "10, 0, 0", "", "", "6.00", "10.00",
         "40", "4.00", "Praticando Preço Fábrica do produto." + crlf + noDiscount},
        {"promotion above the price reports no discount", "S", "10, 0, 12, 0", current.c_str(),
         "1, 0, 0", "P", "", "12.00", "10.00", "0", "0", promotion},
        {"null level is level 1", "N", "10, 0, 0, 0", current.c_str(), "NULL, 0, 0", "", "",
         "10.00", "10.00", "0", "0", head1 + crlf + noDiscount},
        {"negative surcharge and discount are none", "N", "10, 0, 0, 0", current.c_str(),
         "1, -5, -5", "", "", "10.00", "10.00", "0", "0", head1 + crlf + noDiscount},
        {"quantity tiers without one for a single unit still explain the price", "N", "10, 0, 0, 5",
         current.c_str(), "1, 0, 0", "QA", "(100, 3, 10, 'N'), (100, 6, 20, 'N')", "10.00", "10.00",
         "0", "0", head1 + crlf + "Aplicando Desconto por quantidade - Cadastro do Produto"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TRegraDesconto regra = evaluate(c);
        EXPECT_EQ(regra.PrecoFinal, money(c.final));
        EXPECT_EQ(regra.PrecoBase, money(c.base));
        EXPECT_EQ(regra.PercDesconto, money(c.percentage));
        EXPECT_EQ(regra.ValorDesconto, money(c.discount));
        EXPECT_EQ(regra.Mensagem, c.message);
        EXPECT_EQ(regra.Origem, orProduto);
    }
}

TEST_F(RuleEvaluation, FindsTheRuleByGroupOrFallsBackToLevelOne) {
    EvaluationCase c{"", "N", "10, 0, 0, 0", current.c_str(), "2, 0, 5", "", "", "", "", "",
                     "", ""};
    TRegraDesconto byGroup = evaluate(c, "999", "10");
    EXPECT_EQ(byGroup.Origem, orGrupo);
    EXPECT_EQ(byGroup.Mensagem, "Praticando Preço 2 do produto." + crlf +
                                    "Aplicando Desc. Automático do Grupo na tabela de descontos");

    TRegraDesconto none = evaluate(c, "999", "11");
    EXPECT_EQ(none.Origem, orSemRegra);
    EXPECT_EQ(none.PrecoFinal, money("10.00"));
    EXPECT_EQ(none.Mensagem, head1 + crlf +
                                 "Praticando preço 1, não há desconto definido para este "
                                 "produto ou grupo");
}

TEST_F(RuleEvaluation, ZeroDivisorsRaiseAnArithmeticError) {
    const EvaluationCase cases[] = {
        {"promotion while the level price is 0", "N", "0, 0, 8, 0", current.c_str(), "1, 0, 0", "P",
         "", "", "", "", "", ""},
        {"factory level with a level-1 price of 0", "N", "0, 6, 0, 0", current.c_str(), "10, 0, 0",
         "", "", "", "", "", "", ""},
        {"largest tier quantity of 0", "N", "10, 0, 0, 0", current.c_str(), "1, 0, 0", "Q",
         "(100, 0, 10, 'N')", "", "", "", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_THROW(evaluate(c), ArithmeticError);
    }
}

} // namespace
} // namespace precivox
