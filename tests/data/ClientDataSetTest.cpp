#include "ClientDataSet.h"

#include "DatabaseTest.h"
#include "Errors.h"
#include "Query.h"

#include <string>
#include <vector>

namespace precivox {
namespace {

// One shared query serves every data set, reloaded before each open.
class SharedQueryProvider : public ClientDataSetProvider {
public:
    explicit SharedQueryProvider(Connection& connection) : query(connection) {}

    ResultSet fetch(const ClientDataSet& dataSet) override {
        query.setSql(dataSet.commandText());
        if (!dataSet.params().empty())
            query.params() = dataSet.params();
        query.open();
        return query.takeResult();
    }

    void beforeApplyUpdates(const ClientDataSet&) override {
        throw DatabaseError("Não é possivel salvar essas alterações para o banco de dados");
    }

    Query query;
};

class ClientDataSetTest : public DatabaseTest {
protected:
    void SetUp() override {
        db.run(
            "create table t (id int, s varchar(30));"
            "insert into t values (1, 'a'), (2, 'b'), (3, 'c'), (4, x'22206F72202231223D2231');");
    }

    std::vector<int> ids(ClientDataSet& dataSet) {
        std::vector<int> seen;
        for (dataSet.first(); !dataSet.eof(); dataSet.next())
            seen.push_back(dataSet.fieldByName("id").asInteger());
        return seen;
    }

    SharedQueryProvider provider{connection};
};

TEST_F(ClientDataSetTest, KeepsItsRowsWhenTheProviderRunsAgain) {
    ClientDataSet low(provider), high(provider);
    low.setCommandText("select id from t where id <= 2 order by id");
    high.setCommandText("select id, s from t where id > 2 order by id");
    low.open();
    high.open();
    EXPECT_EQ(ids(low), (std::vector<int>{1, 2}));
    EXPECT_EQ(ids(high), (std::vector<int>{3, 4}));
    EXPECT_TRUE(low.locate("id", 2));
    EXPECT_FALSE(provider.query.active());
}

TEST_F(ClientDataSetTest, SendsParametersAsLiteralsInOrderOfFirstAppearance) {
    ClientDataSet dataSet(provider);
    dataSet.setCommandText("select :b as b, :a as a, :B as b2, ':a' as quoted");
    ASSERT_EQ(dataSet.params().size(), 2u);
    EXPECT_EQ(dataSet.params()[0].name, "b");
    EXPECT_EQ(dataSet.params()[1].name, "a");
    dataSet.params()[0].value = 1;
    dataSet.params()[1].value = 2;
    dataSet.open();
    EXPECT_EQ(dataSet.fieldByName("b").asInteger(), 1);
    EXPECT_EQ(dataSet.fieldByName("a").asInteger(), 2);
    EXPECT_EQ(dataSet.fieldByName("b2").asInteger(), 1);
    EXPECT_EQ(dataSet.fieldByName("quoted").asString(), ":a");

    const struct {
        const char* name;
        Variant value;
        const char* text; // nullptr: null
    } cases[] = {
        {"negative integer", -5, "-5"},
        {"currency", Currency{-123456}, "-12.3456"},
        {"real", 0.1, "0.1"},
        {"text with quotes", "\" or \"1\"=\"1", "\" or \"1\"=\"1"},
        {"backslash", "a\\", "a\\"},
        {"latin-1", "\xE9", "\xE9"},
        {"date", DateTime{2024, 2, 29, 13, 45, 10}, "2024-02-29 13:45:10"},
        {"null", Variant(), nullptr},
    };
    dataSet.setCommandText("select :v as v, 3-:v as difference");
    for (const auto& c : cases) {
        dataSet.params()[0].value = c.value;
        dataSet.open();
        Field field = dataSet.fieldByName("v");
        if (c.text)
            EXPECT_EQ(field.asString(), c.text) << c.name;
        else
            EXPECT_TRUE(field.isNull()) << c.name;
    }
    dataSet.params()[0].value = -5;
    dataSet.open();
    EXPECT_EQ(dataSet.fieldByName("difference").asInteger(), 8);

    dataSet.setCommandText("select id from t where s = :s");
    for (const char* text : {"\" or \"1\"=\"1", "x\" or \"1\"=\"1"}) {
        dataSet.params()[0].value = text;
        dataSet.open();
        EXPECT_EQ(ids(dataSet), (text[0] == '"' ? std::vector<int>{4} : std::vector<int>{}))
            << text;
    }
}

TEST_F(ClientDataSetTest, StaysClosedWhenItsStatementFails) {
    ClientDataSet dataSet(provider);
    dataSet.setCommandText("select id from t");
    dataSet.open();
    dataSet.setCommandText("select id from missing");
    EXPECT_THROW(dataSet.open(), DatabaseError);
    EXPECT_FALSE(dataSet.active());
}

TEST_F(ClientDataSetTest, NeverWritesBack) {
    ClientDataSet dataSet(provider);
    dataSet.setCommandText("select id from t order by id");
    dataSet.open();
    try {
        dataSet.applyUpdates();
        ADD_FAILURE() << "applyUpdates went through";
    } catch (const DatabaseError& error) {
        EXPECT_STREQ(error.what(), "Não é possivel salvar essas alterações para o banco de dados");
    }
    EXPECT_EQ(ids(dataSet), (std::vector<int>{1, 2, 3, 4}));
}

} // namespace
} // namespace precivox
