// Times ConsultarPreco on the rule path, from the call to the answer handed to the
// terminal library, for a product rule found by the product's own barcode, one found by an
// additional barcode, and a group rule; and, as the floor, the same statements sent in the
// same order by a bare loop over the client library. Every rule-path scan fetches both
// rule sets of the table in force whole, so this is run for growing rule counts. The store
// lives in a fresh database on the test server (PRECIVOX_TEST_DB_HOST, _PORT, _PASSWORD;
// loopback only).
#include "BenchSupport.h"
#include "ConfigSistemaYOR.h"
#include "LogPrompter.h"
#include "ManagerDataModule.h"
#include "PriceQuery.h"
#include "TestDatabase.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace precivox {
namespace {

using namespace bench;

constexpr int kProducts = 150000;
constexpr int kGroups = 2500;
// Products above this id never get a product rule: the group-rule scans pick from them.
constexpr int kLargestProductRuleCount = 100000;
constexpr int kDiscountTable = 5;

struct Size {
    int productRules;
    int groupRules;
    int barcodesPerKind;
    int rounds;
};

// Fewer scans where each one fetches a hundred thousand rules.
constexpr Size kSizes[] = {
    {1000, 25, 200, 2},
    {20000, 500, 100, 2},
    {100000, 2500, 50, 2},
};

// The rule engine reads the branch from the settings file beside the running program.
class BranchSettingsFile {
public:
    BranchSettingsFile() : path_(TConfigSistemaYOR::ArquivoIni()) {
        std::ofstream(path_) << "[FilialMatriz]\nCodLogica=1\n";
    }
    ~BranchSettingsFile() { std::filesystem::remove(path_); }
    BranchSettingsFile(const BranchSettingsFile&) = delete;
    BranchSettingsFile& operator=(const BranchSettingsFile&) = delete;

private:
    std::string path_;
};

// Branch 1 with its default table 5, accepted for cash by every customer at this branch
// (the same row) and for card at every branch, so that whichever acceptance row the rule
// look-up joins first, the engine loads table 5. Products cover the candidates: branch
// prices and promotions, product promotions current and past, cash discounts on the
// product or the branch, quantity tiers with and without a tier for one unit.
void fillStore(const test::TestDatabase& db) {
    db.run(readFile(PRECIVOX_SQL_DIR "/schema.sql"));
    const std::string products = std::to_string(kProducts);
    db.run("insert into filial (filial_id, descricao, desc_promo) values (1, 'Loja', 'S'),"
           " (2, 'Outra', 'N');"
           "insert into tabela_desconto (tabela_desconto_id, descricao) values (5, 'Varejo'),"
           " (6, 'Atacado');"
           "insert into tipospgto (tipospgto_id, descricao, tipo) values (1, 'A vista', 'V'),"
           " (2, 'Cartao', 'C');"
           "insert into formapgto (formapgto_id, descricao) values (1, 'Dinheiro'),"
           " (2, 'Credito');"
           "insert into formapgto_tipospgto (formapgto_tipospgto_id, tipospgto_id, formapgto_id)"
           " values (1, 1, 1), (2, 2, 2);"
           "insert into empresa_tab_desconto (tabela_desconto_id, empresa_id, filial_id,"
           " formapgto_tipospgto_id, padrao, aceita)"
           " values (5, 0, 1, 1, 'S', 'S'), (5, 0, 0, 2, 'N', 'S'), (6, 7, 1, 2, 'N', 'S');"
           "insert into grupo (grupo_id, descricao) select seq, concat('Grupo ', seq) from "
           "seq_1_to_" +
           std::to_string(kGroups) +
           ";"
           "insert into produto (produto_id, barras, descricao, grupo_id, preco_vnd, preco2,"
           " preco3, preco_cmp_un, preco_pro, desconto, dtiniciopromocao, valid_pro)"
           " select seq, lpad(seq, 13, '0'), concat('Produto numero ', seq), 1 + seq % " +
           std::to_string(kGroups) +
           ", 1 + (seq % 1000) / 7, 0.95 * (1 + (seq % 1000) / 7), 0.9 * (1 + (seq % 1000) / 7),"
           " 0.6 * (1 + (seq % 1000) / 7), if(seq % 3 = 0, 0.85 * (1 + (seq % 1000) / 7), 0),"
           " if(seq % 5 = 0, 3, 0),"
           " case seq % 6 when 0 then curdate() - interval 5 day"
           "  when 3 then curdate() - interval 30 day end,"
           " case seq % 6 when 0 then curdate() + interval 10 day"
           "  when 3 then curdate() - interval 20 day end"
           " from seq_1_to_" +
           products +
           ";"
           "insert into barras (barras, produto_id) select concat('8', lpad(seq, 12, '0')), seq"
           " from seq_1_to_" +
           products +
           " where seq % 4 = 0;"
           "insert into precosfilial (filial_id, produto_id, preco, preco_promo, desc_vista,"
           " inicio_promocao, final_promocao)"
           " select 1 + seq % 2, seq, if(seq % 2 = 0, 0, 1.02 * (1 + (seq % 1000) / 7)),"
           " if(seq % 7 = 1, 0.8 * (1 + (seq % 1000) / 7), 0), if(seq % 11 = 1, 4, 0),"
           " curdate() - interval 2 day, curdate() + interval 5 day"
           " from seq_1_to_" +
           products +
           " where seq % 3 <> 0;"
           "insert into descqtde (produto_id, qtde, desconto)"
           " select p.seq, t.qtde, t.desconto from seq_1_to_" +
           products +
           " p join (select 1 qtde, 2 desconto union all select 3, 5 union all select 6, 8) t"
           " where p.seq % 5 = 2 or (p.seq % 5 = 4 and t.qtde > 1);"
           "analyze table produto, barras, precosfilial, descqtde, grupo, empresa_tab_desconto");
}

// The rule sets of table 5, replaced for each size: a mix of price levels, surcharges,
// automatic discounts, and promotion, quantity and cash discounts allowed, some under the
// lowest-price rule. Product rules go to the lowest product ids, group rules to the
// lowest group ids.
void fillRules(const test::TestDatabase& db, const Size& size) {
    const std::string mix =
        "case seq % 20 when 0 then 2 when 1 then 3 when 2 then 10 else 1 end,"
        " if(seq % 10 = 3, 5, 0), if(seq % 10 < 3, 2 + seq % 8, 0), 15,"
        " if(seq % 2 = 0, 'S', 'N'), if(seq % 3 = 0, 'S', 'N'), if(seq % 5 < 2, 'S', 'N'),"
        " if(seq % 4 = 1, 'S', 'N')";
    const std::string columns = "pratica_preco, acrescimo, desconto, desconto_maximo,"
                                " permite_promocao, permite_desc_qtde, permite_desc_avista,"
                                " pratica_menor_preco";
    const std::string table = std::to_string(kDiscountTable);
    db.run("truncate table prod_tabela_desconto;"
           "truncate table grupo_tabela_desconto;"
           "insert into prod_tabela_desconto (produto_id, tabela_desconto_id, " +
           columns + ") select seq, " + table + ", " + mix + " from seq_1_to_" +
           std::to_string(size.productRules) +
           ";"
           "insert into grupo_tabela_desconto (grupo_id, tabela_desconto_id, " +
           columns + ") select seq, " + table + ", " + mix + " from seq_1_to_" +
           std::to_string(size.groupRules) +
           ";"
           "analyze table prod_tabela_desconto, grupo_tabela_desconto");
}

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// The two statements of the engine's set-up that fetch a whole rule set. The general log
// drops the blanks a statement starts with.
bool isRuleSetFetch(const std::string& sql) {
    return startsWith(sql, "select grupo_id, tabela_desconto_id,") ||
           startsWith(sql, "select produto_id, tabela_desconto_id,");
}

struct Kind {
    const char* name;
    std::vector<std::string> barcodes;
    std::vector<std::vector<std::string>> statements; // per barcode, as the server saw them
    std::vector<double> scanMicros, floorMicros, ruleSetFloorMicros;
};

std::vector<Kind> pickBarcodes(const Size& size, std::mt19937& random) {
    auto pick = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    char text[32];
    std::vector<Kind> kinds{{"product rule", {}, {}, {}, {}, {}},
                            {"product rule, add. barcode", {}, {}, {}, {}, {}},
                            {"group rule", {}, {}, {}, {}, {}}};
    for (int i = 0; i < size.barcodesPerKind; ++i) {
        std::snprintf(text, sizeof text, "%013d", pick(1, size.productRules));
        kinds[0].barcodes.push_back(text);
        // Every fourth product has an additional barcode.
        std::snprintf(text, sizeof text, "8%012d", 4 * pick(1, size.productRules / 4));
        kinds[1].barcodes.push_back(text);
        // A product's group is 1 + its id modulo the group count: these land in groups
        // with a rule, above every product rule.
        const int product =
            kLargestProductRuleCount + kGroups * pick(1, 19) + pick(0, size.groupRules - 1);
        std::snprintf(text, sizeof text, "%013d", product);
        kinds[2].barcodes.push_back(text);
    }
    return kinds;
}

// A scan that does not fetch table 5's rule sets, or answers without a price, measures
// something else than the rule path.
void checkRulePath(const std::string& barcode, const std::vector<std::string>& statements,
                   const ScanAnswers::Record& answer) {
    const std::string productSetOfTable =
        "from prod_tabela_desconto  where apagado <> \"S\" and tabela_desconto_id = " +
        std::to_string(kDiscountTable);
    const auto fetches = std::count_if(statements.begin(), statements.end(), isRuleSetFetch);
    const bool tableInForce =
        std::any_of(statements.begin(), statements.end(), [&](const std::string& sql) {
            return sql.size() >= productSetOfTable.size() &&
                   sql.compare(sql.size() - productSetOfTable.size(), productSetOfTable.size(),
                               productSetOfTable) == 0;
        });
    if (fetches != 2 || !tableInForce || !startsWith(answer.answer, "PRICE "))
        throw std::runtime_error("barcode " + barcode + " did not take the rule path of table " +
                                 std::to_string(kDiscountTable) + " (answer: " + answer.answer +
                                 ")");
}

int run() {
    test::TestDatabase db;
    std::printf("filling the store: %d products in %d groups\n", kProducts, kGroups);
    fillStore(db);
    BranchSettingsFile settings;

    Connection conexao(db.parameters());
    Query QPesquisaProd(conexao), QTemp(conexao), QTemp2(conexao);
    LogPrompter prompter(std::cerr);
    TdmGerente dmGerente(prompter, "/nonexistent/sistema_yor.ini");
    dmGerente.bancodeDados().parameters() = db.parameters();
    dmGerente.bindQDSP(conexao);
    int32_t FTabelaDesconto = 0;
    const int32_t FCodLogica = 1;
    StampingLibrary library;
    ScanAnswers answers(library);
    FixedClock clock;
    PriceQuery priceQuery({conexao, QPesquisaProd, QTemp, QTemp2, dmGerente, FTabelaDesconto,
                           FCodLogica, answers, clock},
                          {",", "."});
    // Statements go out on both connections: the rule engine's scalar look-ups and the
    // quantity tiers run on the data module's own.
    const std::vector<std::string> sessions{connectionId(conexao),
                                            connectionId(dmGerente.bancodeDados())};
    BareSession bare(db.parameters());
    std::mt19937 random(20260310);

    std::printf("%-16s %-27s %10s %10s %10s %10s %10s %6s %12s\n", "rules", "kind", "statements",
                "median us", "p99 us", "floor med", "floor p99", "ratio", "sets floor");
    for (const Size& size : kSizes) {
        fillRules(db, size);
        std::vector<Kind> kinds = pickBarcodes(size, random);
        // Warms up; the first also finds the default table, which stays in force.
        priceQuery.ConsultarPreco(1, kinds[0].barcodes[0]);

        {
            StatementLog log(db.parameters(), sessions);
            for (Kind& kind : kinds)
                for (const std::string& barcode : kind.barcodes) {
                    kind.statements.push_back(
                        log.capture([&] { priceQuery.ConsultarPreco(1, barcode); }));
                    checkRulePath(barcode, kind.statements.back(), answers.takeLastAnswer());
                }
        }

        for (int round = 0; round < size.rounds; ++round)
            for (Kind& kind : kinds)
                for (size_t i = 0; i < kind.barcodes.size(); ++i) {
                    const auto start = Clock_::now();
                    priceQuery.ConsultarPreco(1, kind.barcodes[i]);
                    kind.scanMicros.push_back(microsBetween(start, library.answeredAt));
                    double floor = 0, ruleSets = 0;
                    for (const std::string& sql : kind.statements[i]) {
                        const auto sent = Clock_::now();
                        bare.send(sql);
                        const double micros = microsBetween(sent, Clock_::now());
                        floor += micros;
                        if (isRuleSetFetch(sql))
                            ruleSets += micros;
                    }
                    kind.floorMicros.push_back(floor);
                    kind.ruleSetFloorMicros.push_back(ruleSets);
                }

        char rules[32];
        std::snprintf(rules, sizeof rules, "%d + %d", size.productRules, size.groupRules);
        for (const Kind& kind : kinds) {
            std::vector<size_t> counts;
            for (const auto& statements : kind.statements)
                counts.push_back(statements.size());
            const auto [fewest, most] = std::minmax_element(counts.begin(), counts.end());
            char range[24];
            std::snprintf(range, sizeof range, "%zu-%zu", *fewest, *most);
            const double median = percentile(kind.scanMicros, 0.5);
            const double floorMedian = percentile(kind.floorMicros, 0.5);
            std::printf("%-16s %-27s %10s %10.1f %10.1f %10.1f %10.1f %6.2f %12.1f\n", rules,
                        kind.name, range, median, percentile(kind.scanMicros, 0.99), floorMedian,
                        percentile(kind.floorMicros, 0.99), median / floorMedian,
                        percentile(kind.ruleSetFloorMicros, 0.5));
        }
        std::fflush(stdout);
    }
    return 0;
}

} // namespace
} // namespace precivox

int main() {
    try {
        return precivox::run();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "rule_path_bench: %s\n", error.what());
        return 1;
    }
}
