#include "ConfigSistemaYOR.h"

#include "ProgramFolder.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

namespace precivox {
namespace {

namespace fs = std::filesystem;

// The settings file beside the test program: removed before and after, so that a run
// that broke off leaves nothing for the next one.
class ProgramSettingsFile {
public:
    explicit ProgramSettingsFile(fs::path file) : file_(std::move(file)) { fs::remove(file_); }
    ~ProgramSettingsFile() {
        std::error_code ignored;
        fs::remove(file_, ignored);
    }
    ProgramSettingsFile(const ProgramSettingsFile&) = delete;
    ProgramSettingsFile& operator=(const ProgramSettingsFile&) = delete;

    void write(std::string_view content) const { writeFile(file_, content); }

private:
    fs::path file_;
};

class CurrentFolderChange {
public:
    explicit CurrentFolderChange(const fs::path& folder) : previous_(fs::current_path()) {
        fs::current_path(folder);
    }
    ~CurrentFolderChange() {
        std::error_code ignored;
        fs::current_path(previous_, ignored);
    }
    CurrentFolderChange(const CurrentFolderChange&) = delete;
    CurrentFolderChange& operator=(const CurrentFolderChange&) = delete;

private:
    fs::path previous_;
};

struct CodLogicaCase {
    const char* content;
    const char* expected;
};

// One test only: every step uses the one file beside the program, which parallel test
// processes would otherwise share.
TEST(ConfigSistemaYOR, ReadsOnlyTheFileBesideTheProgramAnewOnEachCall) {
    ASSERT_EQ(programFolder().back(), '/');
    fs::path settings = TConfigSistemaYOR::ArquivoIni();
    EXPECT_EQ(settings.filename(), "sistema_yor.ini");
    EXPECT_TRUE(fs::equivalent(settings.parent_path(), PRECIVOX_TEST_PROGRAM_FOLDER));

    ProgramSettingsFile besideProgram(settings);
    TempFolder current;
    current.write("sistema_yor.ini", "[ip]\nlocal=current\n[FilialMatriz]\nCodLogica=9\n");
    CurrentFolderChange change(current.path());
    EXPECT_EQ(TConfigSistemaYOR::ArquivoIni(), settings);
    EXPECT_EQ(TConfigSistemaYOR::LerString("ip", "local", "default"), "default");
    EXPECT_EQ(TConfigSistemaYOR::LerCodLogica(), "0");

    besideProgram.write("[IP]\nLocal=beside\n");
    EXPECT_EQ(TConfigSistemaYOR::LerString("ip", "local", "default"), "beside");
    besideProgram.write("[ip]\nlocal=edited\n");
    EXPECT_EQ(TConfigSistemaYOR::LerString("ip", "local", "default"), "edited");

    const CodLogicaCase cases[] = {
        {"[FilialMatriz]\nCodLogica=7\n", "7"},
        {"[FilialMatriz]\nCodLogica= 7 \n", "7"},
        {"[FilialMatriz]\nCodLogica=$1A\n", "26"},
        {"[filialmatriz]\ncodlogica=0x1A\n", "26"},
        {"[FilialMatriz]\nCodLogica=-12\n", "-12"},
        {"[FilialMatriz]\nCodLogica=$FFFFFFFF\n", "-1"},
        {"[FilialMatriz]\nCodLogica=abc\n", "0"},
        {"[FilialMatriz]\nCodLogica=\n", "0"},
        {"[FilialMatriz]\nCodLogica=4294967296\n", "0"},
        {"[ip]\nCodLogica=5\n", "0"},
    };
    for (const auto& c : cases) {
        besideProgram.write(c.content);
        EXPECT_EQ(TConfigSistemaYOR::LerCodLogica(), c.expected) << c.content;
    }
}

} // namespace
} // namespace precivox
