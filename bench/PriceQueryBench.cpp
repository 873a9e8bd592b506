// Times ConsultarPreco on the plain path, from the call to the answer handed to the
// terminal library, for a product's own barcode, an additional barcode and an unknown
// one; and, as the floor, the same statements sent in the same order by a bare loop over
// the client library. The store lives in a fresh database on the test server
// (PRECIVOX_TEST_DB_HOST, _PORT, _PASSWORD; loopback only).
#include "BenchSupport.h"
#include "Errors.h"
#include "LogPrompter.h"
#include "ManagerDataModule.h"
#include "PriceQuery.h"
#include "TestDatabase.h"

#include <cstdio>
#include <iostream>
#include <random>
#include <string>
#include <vector>

namespace precivox {
namespace {

using namespace bench;

constexpr int kProducts = 200000;
constexpr int kAdditionalBarcodes = 50000;
constexpr int kBranchPrices = 200000;
constexpr int kScansPerKind = 1000;
constexpr int kRounds = 3;

void fillStore(const test::TestDatabase& db) {
    db.run(readFile(PRECIVOX_SQL_DIR "/schema.sql"));
    const std::string products = std::to_string(kProducts);
    db.run(
        "insert into filial (filial_id, descricao) values (1, 'Loja');"
        "insert into grupo (grupo_id, descricao) select seq, concat('Grupo ', seq) from "
        "seq_1_to_50;"
        "insert into produto (produto_id, barras, descricao, grupo_id, preco_vnd, preco_pro,"
        " desconto, dtiniciopromocao, valid_pro)"
        " select seq, lpad(seq, 13, '0'), concat('Produto numero ', seq), 1 + seq % 50,"
        " 1 + (seq % 1000) / 7, if(seq % 3 = 0, 0.5 + (seq % 100) / 9, 0), if(seq % 5 = 0, 10, 0),"
        " if(seq % 3 = 0, '2026-03-01', null), if(seq % 3 = 0, '2026-03-20', null)"
        " from seq_1_to_" +
        products +
        ";"
        "insert into barras (barras, produto_id) select concat('8', lpad(seq, 12, '0')),"
        " 1 + (seq * 7) % " +
        products + " from seq_1_to_" + std::to_string(kAdditionalBarcodes) +
        ";"
        "insert into precosfilial (filial_id, produto_id, preco, preco_promo, desc_vista)"
        " select 1 + seq % 4, 1 + (seq * 13) % " +
        products +
        ", (seq % 500) / 3, 0, 0"
        " from seq_1_to_" +
        std::to_string(kBranchPrices) +
        ";"
        "insert into empresa_tab_desconto (tabela_desconto_id, empresa_id, filial_id, padrao)"
        " values (5, 0, 1, 'S'), (5, 1, 1, 'N'), (6, 1, 0, 'N');"
        // Rules exist, but none for the scanned barcodes: every scan takes the plain path.
        "insert into prod_tabela_desconto (produto_id, tabela_desconto_id)"
        " select 300000 + seq, 5 from seq_1_to_2000;"
        "insert into grupo_tabela_desconto (grupo_id, tabela_desconto_id)"
        " select 1000 + seq, 5 from seq_1_to_20;"
        "analyze table produto, barras, precosfilial, prod_tabela_desconto, grupo_tabela_desconto,"
        " empresa_tab_desconto, grupo");
}

struct Kind {
    const char* name;
    std::vector<std::string> barcodes;
    std::vector<std::vector<std::string>> statements; // per barcode, as the server saw them
    std::vector<double> scanMicros, floorMicros;
};

int run() {
    test::TestDatabase db;
    std::printf("filling the store: %d products, %d additional barcodes, %d branch prices\n",
                kProducts, kAdditionalBarcodes, kBranchPrices);
    fillStore(db);

    std::mt19937 random(20260310);
    auto pick = [&](int count) { return std::uniform_int_distribution<int>(1, count)(random); };
    char text[32];
    Kind kinds[] = {{"own barcode", {}, {}, {}, {}},
                    {"additional barcode", {}, {}, {}, {}},
                    {"unknown barcode", {}, {}, {}, {}}};
    for (int i = 0; i < kScansPerKind; ++i) {
        std::snprintf(text, sizeof text, "%013d", pick(kProducts));
        kinds[0].barcodes.push_back(text);
        std::snprintf(text, sizeof text, "8%012d", pick(kAdditionalBarcodes));
        kinds[1].barcodes.push_back(text);
        std::snprintf(text, sizeof text, "9%012d", pick(kProducts));
        kinds[2].barcodes.push_back(text);
    }

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
    auto scan = [&](const std::string& barcode) {
        try {
            priceQuery.ConsultarPreco(1, barcode);
        } catch (const SilentAbort&) {
        }
    };
    scan(kinds[0].barcodes[0]); // finds the default table, which stays in force

    {
        // What each scan sends, read back from the server's general log.
        StatementLog log(db.parameters(), {connectionId(conexao)});
        for (Kind& kind : kinds)
            for (const std::string& barcode : kind.barcodes)
                kind.statements.push_back(log.capture([&] { scan(barcode); }));
    }

    BareSession bare(db.parameters());
    for (int round = 0; round < kRounds; ++round)
        for (Kind& kind : kinds)
            for (size_t i = 0; i < kind.barcodes.size(); ++i) {
                const auto start = Clock_::now();
                scan(kind.barcodes[i]);
                kind.scanMicros.push_back(microsBetween(start, library.answeredAt));
                const auto floorStart = Clock_::now();
                for (const std::string& sql : kind.statements[i])
                    bare.send(sql);
                kind.floorMicros.push_back(microsBetween(floorStart, Clock_::now()));
            }

    std::printf("%-20s %11s %11s %11s %11s %7s %11s\n", "kind", "median us", "p99 us", "floor med",
                "floor p99", "ratio", "statements");
    for (const Kind& kind : kinds) {
        const double median = percentile(kind.scanMicros, 0.5);
        const double floorMedian = percentile(kind.floorMicros, 0.5);
        std::printf("%-20s %11.1f %11.1f %11.1f %11.1f %7.2f %11zu\n", kind.name, median,
                    percentile(kind.scanMicros, 0.99), floorMedian,
                    percentile(kind.floorMicros, 0.99), median / floorMedian,
                    kind.statements.front().size());
    }
    return 0;
}

} // namespace
} // namespace precivox

int main() {
    try {
        return precivox::run();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "price_query_bench: %s\n", error.what());
        return 1;
    }
}
