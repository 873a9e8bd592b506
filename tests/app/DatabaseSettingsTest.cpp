#include "DatabaseSettings.h"

#include "Cipher.h"
#include "Errors.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

namespace precivox {
namespace {

TEST(DatabaseSettings, StartsWithTheInitialParameters) {
    DatabaseSettings settings;
    EXPECT_EQ(settings.database, "gerente");
    EXPECT_EQ(settings.host, "192.168.0.3");
    EXPECT_EQ(settings.password, "907381kzt");
}

TEST(DatabaseSettings, MissingKeysGiveTheDefaults) {
    const std::string defaultPassword = CifraSenha("D", "7E90C55B1AD8F3E06B2C", "QXW");
    TempFolder folder;
    auto withoutIp = folder.write("other.ini", "[FilialMatriz]\nCodLogica=3\n");
    for (const auto& file : {folder.path() / "none.ini", withoutIp}) {
        DatabaseSettings settings{"x", "y", "z"};
        readDatabaseSettings(file, settings);
        EXPECT_EQ(settings.database, "gerente") << file;
        EXPECT_EQ(settings.host, "192.168.0.3") << file;
        EXPECT_EQ(settings.password, defaultPassword) << file;
    }
}

TEST(DatabaseSettings, ReadsTheSectionAndCutsEachValueTo255) {
    TempFolder folder;
    auto file = folder.write("settings.ini", "[IP]\nDatabase=loja\nLOCAL=servidor\nsenha=" +
                                                 scramblePassword("segredo", "QXW", 9) + "\n");
    DatabaseSettings settings;
    readDatabaseSettings(file, settings);
    EXPECT_EQ(settings.database, "loja");
    EXPECT_EQ(settings.host, "servidor");
    EXPECT_EQ(settings.password, "segredo");

    writeFile(file, "[ip]\ndatabase=" + std::string(300, 'd') + "\nlocal=" + std::string(300, 'h') +
                        "\nsenha=" + scramblePassword(std::string(300, 'p'), "QXW", 9) + "\n");
    readDatabaseSettings(file, settings);
    EXPECT_EQ(settings.database, std::string(255, 'd'));
    EXPECT_EQ(settings.host, std::string(255, 'h'));
    EXPECT_EQ(settings.password, std::string(255, 'p'));
}

struct BadSenhaCase {
    const char* senha;
    const char* message;
};

TEST(DatabaseSettings, BadSenhaLeavesThePasswordAsItWas) {
    const BadSenhaCase cases[] = {
        {"", "'$' is not a valid integer value"},
        {"12G1", "'$G1' is not a valid integer value"},
    };
    TempFolder folder;
    for (const auto& c : cases) {
        auto file = folder.write("settings.ini", "[ip]\ndatabase=loja\nlocal=servidor\nsenha=" +
                                                     std::string(c.senha) + "\n");
        DatabaseSettings settings;
        try {
            readDatabaseSettings(file, settings);
            ADD_FAILURE() << "no error for '" << c.senha << "'";
        } catch (const ConversionError& error) {
            EXPECT_STREQ(error.what(), c.message) << c.senha;
        }
        EXPECT_EQ(settings.database, "loja") << c.senha;
        EXPECT_EQ(settings.host, "servidor") << c.senha;
        EXPECT_EQ(settings.password, "907381kzt") << c.senha;
    }
}

} // namespace
} // namespace precivox
