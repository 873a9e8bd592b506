#include "PriceQuery.h"

#include "Errors.h"
#include "FakePanel.h"
#include "FakeTerminalLibrary.h"
#include "ManagerDataModule.h"
#include "TestDatabase.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace precivox {
namespace {

using testing::FakeTerminalLibrary;

struct SettableClock : Clock {
    DateTime time{2026, 3, 10, 10, 0, 0, 0};
    DateTime now() const override { return time; }
};

std::string readFile(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// Branch 1 of a small store: default discount table 5 (its row marked deleted), a product
// rule and a group rule in it, and products for every way of the plain path.
constexpr const char* kStore = R"(
insert into filial (filial_id, descricao) values (1, 'Loja'), (2, 'Outra');
insert into empresa_tab_desconto (tabela_desconto_id, empresa_id, filial_id, padrao, apagado)
    values (5, 0, 1, 'S', 'S'), (8, 1, 1, 'S', 'N'), (9, 0, 2, 'N', 'N');
insert into grupo (grupo_id, descricao, apagado) values (3, 'Apagado', 'S'), (4, 'Sem regra', 'N');
insert into prod_tabela_desconto (produto_id, tabela_desconto_id, pratica_preco) values
    (20, 5, 1), (21, 6, 1), (22, 5, 2), (23, 5, 1), (24, 5, 1), (25, 5, 10);
insert into grupo_tabela_desconto (grupo_id, tabela_desconto_id) values (3, 5);
insert into produto (produto_id, barras, descricao, tipo, apagado, grupo_id, preco_vnd, preco_pro,
                     desconto, dtiniciopromocao, valid_pro) values
    (1, '789', 'Arroz', 'P', 'N', 4, 25, 0, 10, null, null),
    (2, '100', 'Apagado', 'P', 'S', 4, 1, 0, 0, null, null),
    (4, '400', 'Apagado nulo', 'P', null, 4, 1, 0, 0, null, null),
    (5, '500', 'Interno', 'I', 'N', 4, 1, 0, 0, null, null),
    (6, '601', 'Feijao', 'P', 'N', 4, 8.5, 0, 0, null, null),
    (9, '900', 'Filial', 'P', 'N', 4, 10, 0, 0, null, null),
    (10, '1000', 'Filial zero', 'P', 'N', 4, 10, 0, 0, null, null),
    (11, '1100', 'Filial apagada', 'P', 'N', 4, 10, 0, 0, null, null),
    (12, '1200', 'Promo', 'P', 'N', 4, 10, 5, 0, '2026-03-10', '2026-03-11'),
    (13, '1300', 'Promo acaba hoje', 'P', 'N', 4, 10, 5, 0, '2026-03-09', '2026-03-10'),
    (14, '1400', 'Promo sem inicio', 'P', 'N', 4, 10, 5, 0, null, '2026-03-11'),
    (15, '1500', 'Promo sem fim', 'P', 'N', 4, 10, 5, 0, '2026-03-01', null),
    (16, '1600', 'Promo zero', 'P', 'N', 4, 20, 0, 10, '2026-03-01', '2026-03-20'),
    (17, '1700', 'Promo da filial', 'P', 'N', 4, 10, 0, 0, '2026-03-01', '2026-03-20'),
    (18, '1800', 'Promo filial fora', 'P', 'N', 4, 10, 0, 0, '2026-03-11', '2026-03-20'),
    (19, '1900', 'Desconto da filial', 'P', 'N', 4, 10, 0, 50, null, null),
    (20, '2000', 'Regra', 'P', 'N', 4, 30, 0, 0, null, null),
    (21, '2100', 'Regra de outra', 'P', 'N', 4, 31, 0, 0, null, null),
    (22, '2200', 'Regra sem preco 2', 'P', 'N', 4, 14, 0, 0, null, null),
    (23, '2300', 'Regra apagado', 'P', 'S', 4, 5, 0, 0, null, null),
    (24, '2400', 'Regra apagado zero', 'P', 'S', 4, 0, 0, 0, null, null),
    (25, '2500', 'Regra fabrica', 'P', 'N', 4, 20, 0, 0, null, null),
    (30, '3000', 'Grupo apagado', 'P', 'N', 3, 40, 0, 0, null, null),
    (40, '4000', '   Brancos na frente do nome', 'P', 'N', 4, 1, 0, 0, null, null),
    (41, '4100', 'ABCDEFGHIJKLMNOPQRSTUVWXY', 'P', 'N', 4, 1, 0, 0, null, null),
    (42, '4200', 'Cafe                Extra', 'P', 'N', 4, 1, 0, 0, null, null),
    (43, '4300', concat('P', char(227), 'o de A', char(231, 250), 'car'), 'P', 'N', 4, 1234567.891, 0, 0, null, null),
    (44, '"', 'Aspas', 'P', 'N', 4, 2, 0, 0, null, null),
    (45, '\\', 'Barra', 'P', 'N', 4, 3, 0, 0, null, null),
    (46, '4600', 'Sem preco', 'P', 'N', 4, null, 7, 0, '2026-03-01', '2026-03-20'),
    (47, '4700', 'Sem preco com desconto', 'P', 'N', 4, null, 0, 10, null, null);
insert into barras (barras, produto_id, apagado) values
    ('600', 6, 'N'), ('700', 6, 'S'), ('710', 6, null), ('800', 2, 'N'), ('3001', 30, 'N'),
    ('789', 6, 'N'), ('2301', 23, 'N'), ('2401', 24, 'N');
update produto set preco_cmp_un = 12.3456 where produto_id = 25;
insert into precosfilial (filial_id, produto_id, preco, preco_promo, desc_vista, apagado) values
    (1, 9, 12, 0, 0, 'N'), (2, 9, 99, 0, 0, 'N'), (1, 10, 0, null, null, 'N'),
    (1, 11, 15, 0, 0, 'S'), (1, 1, 30, null, null, null),
    (1, 17, 0, 7, 0, 'N'), (1, 18, 0, 7, 0, 'N'), (1, 19, 0, 0, 20, 'N');
)";

class PriceQueryTest : public ::testing::Test {
protected:
    void SetUp() override {
        db.run(readFile(PRECIVOX_SQL_DIR "/schema.sql"));
        db.run(kStore);
        dmGerente.bancodeDados().parameters() = db.parameters();
        dmGerente.bindQDSP(conexao);
    }

    struct Outcome {
        std::vector<FakeTerminalLibrary::Sent> sent;
        bool silentAbort = false;
    };

    Outcome scan(const std::string& barcode) {
        library.sent.clear();
        Outcome outcome;
        try {
            priceQuery.ConsultarPreco(7, barcode);
        } catch (const SilentAbort&) {
            outcome.silentAbort = true;
        }
        outcome.sent = library.sent;
        return outcome;
    }

    test::TestDatabase db;
    Connection conexao{db.parameters()};
    Query QPesquisaProd{conexao}, QTemp{conexao}, QTemp2{conexao};
    testing::FakePrompter prompter;
    TdmGerente dmGerente{prompter, "/nonexistent/sistema_yor.ini"};
    int32_t FTabelaDesconto = 0;
    int32_t FCodLogica = 1;
    FakeTerminalLibrary library;
    ScanAnswers answers{library};
    SettableClock clock;
    PriceQuery priceQuery{{conexao, QPesquisaProd, QTemp, QTemp2, dmGerente, FTabelaDesconto,
                           FCodLogica, answers, clock},
                          {",", "."}};
};

TEST_F(PriceQueryTest, AnswersEveryBarcode) {
    const DateTime morning{2026, 3, 10, 10, 0, 0, 0};
    const DateTime midnight{2026, 3, 10, 0, 0, 0, 0};
    const DateTime afterMidnight{2026, 3, 10, 0, 0, 0, 1};
    const DateTime lastInstant{2026, 3, 10, 23, 59, 59, 999999};
    const struct {
        const char* name;
        std::string barcode;
        DateTime now;
        const char* description; // nullptr: the not-found answer
        const char* price;
        bool silentAbort;
    } cases[] = {
        {"cash discount, branch row with null apagado", "789", morning, "Arroz", "22,50", true},
        {"blanks and controls trimmed", " \r789\n\t", morning, "Arroz", "22,50", true},
        {"deleted product", "100", morning, nullptr, nullptr, true},
        {"null apagado", "400", morning, nullptr, nullptr, true},
        {"tipo I", "500", morning, nullptr, nullptr, true},
        {"additional barcode", "600", morning, "Feijao", "8,50", true},
        {"deleted additional barcode", "700", morning, nullptr, nullptr, true},
        {"additional barcode, null apagado", "710", morning, nullptr, nullptr, true},
        {"additional barcode of a deleted product", "800", morning, nullptr, nullptr, true},
        {"unknown", "999999", morning, nullptr, nullptr, true},
        {"empty after trim", "  ", morning, nullptr, nullptr, true},
        {"branch price", "900", morning, "Filial", "12,00", true},
        {"branch price 0", "1000", morning, "Filial zero", "10,00", true},
        {"deleted branch row", "1100", morning, "Filial apagada", "10,00", true},
        {"promotion today to tomorrow", "1200", morning, "Promo", "5,00", true},
        {"promotion at its first midnight", "1200", midnight, "Promo", "10,00", true},
        {"promotion just after midnight", "1200", afterMidnight, "Promo", "5,00", true},
        {"promotion ending today", "1300", lastInstant, "Promo acaba hoje", "10,00", true},
        {"promotion ending today, yesterday",
         "1300",
         {2026, 3, 9, 23, 59, 59, 0},
         "Promo acaba hoje",
         "5,00",
         true},
        {"promotion without start", "1400", morning, "Promo sem inicio", "5,00", true},
        {"promotion without end", "1500", morning, "Promo sem fim", "10,00", true},
        {"current promotion at price 0", "1600", morning, "Promo zero", "18,00", true},
        {"branch promotional price", "1700", morning, "Promo da filial", "7,00", true},
        {"branch promotional price outside", "1800", morning, "Promo filial fora", "10,00", true},
        {"branch cash discount", "1900", morning, "Desconto da filial", "8,00", true},
        {"leading blanks cut first", "4000", morning, "Brancos na frente", "1,00", true},
        {"cut at 20", "4100", morning, "ABCDEFGHIJKLMNOPQRST", "1,00", true},
        {"trailing blanks after the cut", "4200", morning, "Cafe", "1,00", true},
        {"Latin-1 description", "4300", morning,
         "P\xE3o de A\xE7\xFA"
         "car",
         "1.234.567,89", true},
        {"null price under a promotion", "4600", morning, "Sem preco", "7,00", true},
        {"double quote", "\"", morning, "Aspas", "2,00", true},
        {"backslash", "\\", morning, "Barra", "3,00", true},
        {"injection", "\" or \"1\"=\"1", morning, nullptr, nullptr, true},
        {"injection with a backslash", "\\\" or 1=1 -- ", morning, nullptr, nullptr, true},
        {"colon", "\":x", morning, nullptr, nullptr, true},
        {"product rule", "2000", morning, "Regra", "30,00", false},
        {"rule price 0 falls back to the plain price", "2200", morning, "Regra sem preco 2",
         "14,00", false},
        {"rule kept for a deleted product: no description", "2301", morning, "", "5,00", false},
        {"rule kept for a deleted product, price 0: not found", "2401", morning, nullptr, nullptr,
         false},
        {"rule price with four decimals", "2500", morning, "Regra fabrica", "12,35", false},
        {"product rule of another table", "2100", morning, "Regra de outra", "31,00", true},
        {"group rule, deleted group, own barcode", "3000", morning, "Grupo apagado", "40,00", true},
        {"group rule, deleted group, additional barcode", "3001", morning, "Grupo apagado", "40,00",
         false},
    };
    for (const auto& c : cases) {
        clock.time = c.now;
        const Outcome outcome = scan(c.barcode);
        ASSERT_EQ(outcome.sent.size(), 1u) << c.name;
        const auto& answer = outcome.sent[0];
        EXPECT_EQ(answer.terminal, 7) << c.name;
        if (c.description) {
            EXPECT_EQ(answer.kind, "PRICE") << c.name;
            EXPECT_EQ(answer.description, c.description) << c.name;
            EXPECT_EQ(answer.price, c.price) << c.name;
        } else {
            EXPECT_EQ(answer.kind, "NOTFOUND") << c.name;
        }
        EXPECT_EQ(outcome.silentAbort, c.silentAbort) << c.name;
        EXPECT_EQ(FTabelaDesconto, 5) << c.name;
    }
}

TEST_F(PriceQueryTest, DefaultTableIsLookedUpUntilFound) {
    FCodLogica = 2;
    scan("2000");
    EXPECT_EQ(FTabelaDesconto, 0);
    EXPECT_TRUE(scan("2000").silentAbort) << "table 0 has no rules";

    db.run("insert into empresa_tab_desconto (tabela_desconto_id, empresa_id, filial_id, padrao)"
           " values (6, 0, 2, 'S')");
    EXPECT_FALSE(scan("2100").silentAbort) << "the rule of table 6";
    EXPECT_EQ(FTabelaDesconto, 6);

    db.run("update empresa_tab_desconto set tabela_desconto_id = 5 where filial_id = 2");
    EXPECT_FALSE(scan("2100").silentAbort) << "table 6 stays in force";
    EXPECT_EQ(FTabelaDesconto, 6);
}

TEST_F(PriceQueryTest, TellsTheLogWhichPathAnswered) {
    scan("789");
    EXPECT_EQ(answers.takeLastAnswer().path, "plain");
    scan("2000");
    EXPECT_EQ(answers.takeLastAnswer().path,
              "rule (product): Praticando Preço 1 do produto.\r\nNão há desconto definido para "
              "este produto ou grupo");
    scan("2200");
    EXPECT_EQ(answers.takeLastAnswer().path,
              "rule (product): Praticando Preço 2 do produto.\r\nNão há desconto definido para "
              "este produto ou grupo; no positive price, plain price");
}

TEST_F(PriceQueryTest, FailureEndsTheScanWithoutAnswerAndTheNextStartsAfresh) {
    FTabelaDesconto = 5;
    const struct {
        const char* name;
        const char* barcode;
        const char* breakIt;
        const char* repair;
    } cases[] = {
        {"null price", "4700", "", ""},
        {"statement rejected", "789", "rename table precosfilial to precos_velhos",
         "rename table precos_velhos to precosfilial"},
    };
    for (const auto& c : cases) {
        if (*c.breakIt)
            db.run(c.breakIt);
        library.sent.clear();
        EXPECT_THROW(priceQuery.ConsultarPreco(7, c.barcode), Error) << c.name;
        EXPECT_TRUE(library.sent.empty()) << c.name;
        EXPECT_EQ(FTabelaDesconto, 5) << c.name;
        if (*c.repair)
            db.run(c.repair);
        const Outcome next = scan("600");
        ASSERT_EQ(next.sent.size(), 1u) << c.name;
        EXPECT_EQ(next.sent[0].description, "Feijao") << c.name;
    }
}

TEST_F(PriceQueryTest, NullPriceIsAConversionError) {
    EXPECT_THROW(priceQuery.ConsultarPreco(7, "4700"), ConversionError);
}

} // namespace
} // namespace precivox
