#pragma once

#include "ConfigSistemaYOR.h"
#include "Connection.h"
#include "FakePanel.h"
#include "ManagerDataModule.h"
#include "Query.h"
#include "TestDatabase.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace precivox::test {

inline std::string readSourceFile(const std::string& relative) {
    std::ifstream file(std::string(PRECIVOX_SOURCE_DIR) + "/" + relative, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    if (text.str().empty())
        throw std::runtime_error("cannot read " + relative);
    return text.str();
}

// The store's tables on a fresh test database, the main window's connection and queries,
// the manager data module on the same database, and a settings file beside the test
// program naming branch 1 (the promotion look-up reads it at every call).
struct RuleEngineFixture : ::testing::Test {
    TestDatabase database;
    testing::FakePrompter prompter;
    Connection CONEXAO{database.parameters()};
    Query QPesquisaProd{CONEXAO};
    Query QTemp2{CONEXAO};
    TdmGerente dmGerente{prompter, "/nonexistent/sistema_yor.ini"};

    void SetUp() override {
        database.run(readSourceFile("data/sql/schema.sql"));
        dmGerente.bancodeDados().parameters() = database.parameters();
        dmGerente.bindQDSP(CONEXAO);
        std::ofstream(TConfigSistemaYOR::ArquivoIni()) << "[FilialMatriz]\nCodLogica=1\n";
    }
    void TearDown() override { std::filesystem::remove(TConfigSistemaYOR::ArquivoIni()); }
};

} // namespace precivox::test
