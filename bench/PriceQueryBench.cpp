// Times ConsultarPreco on the plain path, from the call to the answer handed to the
// terminal library, for a product's own barcode, an additional barcode and an unknown
// one; and, as the floor, the same statements sent in the same order by a bare loop over
// the client library. The store lives in a fresh database on the test server
// (PRECIVOX_TEST_DB_HOST, _PORT, _PASSWORD; loopback only).
#include "Errors.h"
#include "LogPrompter.h"
#include "ManagerDataModule.h"
#include "PriceQuery.h"
#include "TerminalLibrary.h"
#include "TestDatabase.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <mysql.h>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace precivox {
namespace {

using Clock_ = std::chrono::steady_clock;

constexpr int kProducts = 200000;
constexpr int kAdditionalBarcodes = 50000;
constexpr int kBranchPrices = 200000;
constexpr int kScansPerKind = 1000;
constexpr int kRounds = 3;

// Stamps the moment an answer reaches the library.
class StampingLibrary : public TerminalLibrary {
public:
    Clock_::time_point answeredAt;

    void vInitialize() override {}
    void tc_startserver() override {}
    bool bReceiveBarcode(int32_t&, int32_t&, const uint8_t*&, int32_t&) override { return false; }
    bool bSendProdPrice(int32_t, const char*, int32_t, const char*, int32_t) override {
        answeredAt = Clock_::now();
        return true;
    }
    bool bSendProdNotFound(int32_t) override {
        answeredAt = Clock_::now();
        return true;
    }
    bool bEnviaVivo(int32_t) override { return true; }
    bool bPedeConfig(int32_t) override { return true; }
    bool bReceiveConfig(TConfigTerminal**) override { return false; }
    bool bMandaConfig(const TConfigTerminal*) override { return true; }
    void GetTabConectados(int32_t, TTabConectados*) override {}
    void TCinet_ntoa(uint32_t, char* buffer, int32_t size) override {
        if (size > 0)
            buffer[0] = 0;
    }
};

struct FixedClock : Clock {
    DateTime now() const override { return {2026, 3, 10, 10, 0, 0, 0}; }
};

struct MysqlClose {
    void operator()(MYSQL* mysql) const { mysql_close(mysql); }
};
using Session = std::unique_ptr<MYSQL, MysqlClose>;

Session connect(const ConnectionParameters& p) {
    Session session(mysql_init(nullptr));
    mysql_options(session.get(), MYSQL_SET_CHARSET_NAME, "latin1");
    if (!mysql_real_connect(session.get(), p.host.c_str(), p.user.c_str(), p.password.c_str(),
                            p.database.c_str(), p.port, nullptr, 0))
        throw std::runtime_error(mysql_error(session.get()));
    return session;
}

void send(MYSQL* mysql, const std::string& sql) {
    if (mysql_real_query(mysql, sql.data(), sql.size()) != 0)
        throw std::runtime_error(mysql_error(mysql));
    if (MYSQL_RES* result = mysql_store_result(mysql))
        mysql_free_result(result);
    else if (mysql_field_count(mysql) != 0)
        throw std::runtime_error(mysql_error(mysql));
}

std::vector<std::string> rows(MYSQL* mysql, const std::string& sql) {
    if (mysql_real_query(mysql, sql.data(), sql.size()) != 0)
        throw std::runtime_error(mysql_error(mysql));
    std::vector<std::string> values;
    MYSQL_RES* result = mysql_store_result(mysql);
    while (MYSQL_ROW row = mysql_fetch_row(result)) {
        unsigned long* lengths = mysql_fetch_lengths(result);
        values.emplace_back(row[0], lengths[0]);
    }
    mysql_free_result(result);
    return values;
}

std::string readFile(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

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

double percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    const size_t index = std::min(values.size() - 1, static_cast<size_t>(fraction * values.size()));
    return values[index];
}

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
    PriceQuery priceQuery(
        {conexao, QPesquisaProd, QTemp, QTemp2, dmGerente, FTabelaDesconto, FCodLogica, answers,
         clock},
        {",", "."});
    auto scan = [&](const std::string& barcode) {
        try {
            priceQuery.ConsultarPreco(1, barcode);
        } catch (const SilentAbort&) {
        }
    };
    scan(kinds[0].barcodes[0]); // finds the default table, which stays in force

    // What each scan sends, read back from the server's general log by a second session.
    Session admin = connect(db.parameters());
    const std::string self = conexao.execute("select connection_id()").cell(0, 0).value();
    send(admin.get(), "set global log_output = 'TABLE'");
    send(admin.get(), "set global general_log = 1");
    for (Kind& kind : kinds)
        for (const std::string& barcode : kind.barcodes) {
            send(admin.get(), "truncate table mysql.general_log");
            scan(barcode);
            kind.statements.push_back(rows(
                admin.get(), "select argument from mysql.general_log where thread_id = " + self +
                                 " and command_type = 'Query'"));
        }
    send(admin.get(), "set global general_log = 0");

    Session bare = connect(db.parameters());
    for (int round = 0; round < kRounds; ++round)
        for (Kind& kind : kinds)
            for (size_t i = 0; i < kind.barcodes.size(); ++i) {
                const auto start = Clock_::now();
                scan(kind.barcodes[i]);
                kind.scanMicros.push_back(
                    std::chrono::duration<double, std::micro>(library.answeredAt - start).count());
                const auto floorStart = Clock_::now();
                for (const std::string& sql : kind.statements[i])
                    send(bare.get(), sql);
                kind.floorMicros.push_back(
                    std::chrono::duration<double, std::micro>(Clock_::now() - floorStart).count());
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
