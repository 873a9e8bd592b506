#include "ManagerDataModule.h"

#include "DatabaseTest.h"
#include "ErrorReporting.h"
#include "Errors.h"
#include "FakePanel.h"

#include <string>
#include <vector>

namespace precivox {
namespace {

using testing::FakePrompter;

// The module with its own connection on the test database and QDSP on a second one
// standing for the main window's CONEXAO.
class ManagerDataModule : public DatabaseTest {
protected:
    void SetUp() override {
        db.run("create table t (id int, s varchar(30), v int);"
               "insert into t values (1, 'a', null), (2, 'b', 0), (3, 'c', 7);");
        dmGerente.bancodeDados().parameters() = db.parameters();
        dmGerente.bindQDSP(connection);
    }

    static std::vector<int> ids(ClientDataSet& dataSet) {
        std::vector<int> seen;
        for (dataSet.first(); !dataSet.eof(); dataSet.next())
            seen.push_back(dataSet.fieldByName("id").asInteger());
        return seen;
    }

    FakePrompter prompter;
    TdmGerente dmGerente{prompter, "/nonexistent/sistema_yor.ini"};
};

TEST_F(ManagerDataModule, ScalarIsTheFirstColumnOfTheFirstRowOrTheDefaultForNull) {
    const Variant none;
    const struct {
        const char* sql;
        Variant scalar, withDefault;
    } cases[] = {
        {"select id, s from t order by id", Variant(int64_t{1}), Variant(int64_t{1})},
        {"select s, id from t order by id desc", Variant("c"), Variant("c")},
        {"select id from t where id > 100", none, Variant(int64_t{-5})},
        {"select v from t where id = 1", none, Variant(int64_t{-5})},
        {"select v from t where id = 2", Variant(int64_t{0}), Variant(int64_t{0})},
        {"select '' from t", Variant(""), Variant("")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(dmGerente.ExecuteScalar(c.sql), c.scalar) << c.sql;
        EXPECT_EQ(dmGerente.ExecuteScalarDef(c.sql, int64_t{-5}), c.withDefault) << c.sql;
    }
    EXPECT_TRUE(prompter.boxes.empty());
}

TEST_F(ManagerDataModule, FailingScalarShowsTheStatementThenRaises) {
    // The statement is Latin-1 ("ç"); the box shows it as UTF-8.
    const std::string sql = "select * from faltando where s = '\xE7'";
    EXPECT_THROW(dmGerente.ExecuteScalarDef(sql, 0), DatabaseError);
    ASSERT_EQ(prompter.boxes.size(), 1u);
    EXPECT_EQ(prompter.boxes[0].caption, "Erro...");
    EXPECT_EQ(prompter.boxes[0].icon, MessageIcon::error);
    EXPECT_EQ(prompter.boxes[0].text, "Erro no método executescalar, erro: Table '" + db.name() +
                                          ".faltando' doesn't exist\r\nComando: select * from "
                                          "faltando where s = 'ç'");
}

TEST_F(ManagerDataModule, ScalarsRunOnTheirOwnConnectionAndDataSetsOnTheMainOne) {
    const std::string sql = "select connection_id() as id";
    const int64_t own = dmGerente.ExecuteScalar(sql).toInt64();
    auto dataSet = dmGerente.OpenClientDataSet(sql, {});
    ASSERT_TRUE(dataSet->active());
    const int64_t main = dataSet->fieldByName("id").asLargeInt();
    EXPECT_NE(own, main);
    EXPECT_EQ(std::to_string(main), connection.execute(sql).cell(0, 0).value());
}

TEST_F(ManagerDataModule, ClientDataSetsKeepTheirOwnRows) {
    auto low = dmGerente.NewClientDataSet();
    EXPECT_FALSE(low->active());
    low->setCommandText("select id from t where id <= 2 order by id");
    low->open();
    auto high = dmGerente.OpenClientDataSet(
        "select id from t where id >= :first and s <> :s order by id", {int64_t{2}, "c"});
    ASSERT_TRUE(high->active());
    EXPECT_EQ(ids(*high), (std::vector<int>{2}));
    EXPECT_EQ(ids(*low), (std::vector<int>{1, 2}));
    low->setCommandText("select id from t where id = :id");
    low->params()[0].value = int64_t{3};
    low->open();
    EXPECT_EQ(ids(*low), (std::vector<int>{3}));
    EXPECT_EQ(ids(*high), (std::vector<int>{2}));
    EXPECT_TRUE(prompter.boxes.empty());
}

TEST_F(ManagerDataModule, FailingClientDataSetShowsThePlainMessageAndStaysClosed) {
    const struct {
        const char* name;
        std::string sql;
        std::vector<Variant> values;
        std::string message;
    } cases[] = {
        {"server error",
         "select * from faltando",
         {},
         "Table '" + db.name() + ".faltando' doesn't exist"},
        {"more values than parameters",
         "select id from t where id = :id",
         {1, 2},
         "List index out of bounds (1)"},
    };
    for (const auto& c : cases) {
        prompter.boxes.clear();
        auto dataSet = dmGerente.OpenClientDataSet(c.sql, c.values);
        EXPECT_FALSE(dataSet->active()) << c.name;
        ASSERT_EQ(prompter.boxes.size(), 1u) << c.name;
        EXPECT_EQ(prompter.boxes[0].caption, kApplicationTitle) << c.name;
        EXPECT_EQ(prompter.boxes[0].icon, MessageIcon::none) << c.name;
        EXPECT_EQ(prompter.boxes[0].text, c.message) << c.name;
    }
}

TEST_F(ManagerDataModule, ClientDataSetsNeverWriteBack) {
    auto dataSet = dmGerente.OpenClientDataSet("select id from t", {});
    try {
        dataSet->applyUpdates();
        FAIL() << "applyUpdates went through";
    } catch (const DatabaseError& error) {
        EXPECT_STREQ(error.what(), "Não é possivel salvar essas alterações para o banco de dados");
    }
}

TEST(ManagerDataModuleUnbound, ClientDataSetBeforeTheMainWindowStaysClosed) {
    FakePrompter prompter;
    TdmGerente dmGerente{prompter, "/nonexistent/sistema_yor.ini"};
    auto dataSet = dmGerente.OpenClientDataSet("select 1", {});
    EXPECT_FALSE(dataSet->active());
    EXPECT_EQ(prompter.boxes.size(), 1u);
}

} // namespace
} // namespace precivox
