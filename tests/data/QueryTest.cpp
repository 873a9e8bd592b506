#include "Query.h"

#include "DatabaseTest.h"
#include "Errors.h"

#include <string>
#include <vector>

namespace precivox {
namespace {

class QueryTest : public DatabaseTest {};

TEST_F(QueryTest, SendsEachLineFollowedByCrLf) {
    Query query(connection);
    query.clearSql();
    // Valid only when a line break ends the comment; the literal shows which one.
    query.addSql("select 1 as one -- a comment");
    query.addSql(", hex(\"a");
    query.addSql("b\") as joint");
    EXPECT_EQ(query.sqlText(), "select 1 as one -- a comment\r\n, hex(\"a\r\nb\") as joint\r\n");
    query.open();
    EXPECT_EQ(query.fieldByName("one").asInteger(), 1);
    EXPECT_EQ(query.fieldByName("joint").asString(), "610D0A62");
}

TEST_F(QueryTest, NavigatesTheWholeResult) {
    db.run("create table t (id int); insert into t values (1), (2), (3);");
    Query query(connection);
    query.setSql("select id from t order by id");
    query.open();
    EXPECT_EQ(query.recordCount(), 3u);
    std::vector<int> seen;
    for (query.first(); !query.eof(); query.next())
        seen.push_back(query.fieldByName("id").asInteger());
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3}));
    query.next();
    EXPECT_TRUE(query.eof());
    EXPECT_EQ(query.field(0).asInteger(), 3) << "the last row stays current";
    query.first();
    EXPECT_FALSE(query.eof());
    EXPECT_EQ(query.field(0).asInteger(), 1);

    query.setSql("select id from t where id > 3");
    EXPECT_FALSE(query.active()) << "a new statement closes the query";
    query.open();
    EXPECT_TRUE(query.isEmpty());
    EXPECT_TRUE(query.eof());
    EXPECT_TRUE(query.fieldByName("id").isNull());
    EXPECT_EQ(query.fieldByName("id").asInteger(), 0);
    EXPECT_THROW(query.fieldByName("nope"), DatabaseError);

    query.close();
    EXPECT_TRUE(query.isEmpty());
    EXPECT_THROW(query.fieldByName("id"), DatabaseError);
    EXPECT_THROW(query.first(), DatabaseError);
}

TEST_F(QueryTest, ReadsEachKindByNameAndPosition) {
    db.run("create table t (n int, i int, b bigint, d decimal(15,4), f double, s varchar(20),"
           " dt date, ts datetime(6));"
           "insert into t values (1, -7, 9007199254740993, -12.3456, 0.1, '12', '2024-02-29',"
           " '2024-02-29 13:45:10.250000'),"
           " (2, null, null, null, null, null, null, null);");
    Query query(connection);
    query.setSql("select * from t order by n");
    query.open();
    const struct {
        const char* column;
        ColumnKind kind;
        Variant value;
        const char* text;
    } cases[] = {
        {"i", ColumnKind::integer, -7, "-7"},
        {"b", ColumnKind::integer, int64_t{9007199254740993}, "9007199254740993"},
        {"d", ColumnKind::decimal, Currency{-123456}, "-12.3456"},
        {"f", ColumnKind::real, 0.1, "0.1"},
        {"s", ColumnKind::text, "12", "12"},
        {"dt", ColumnKind::dateTime, DateTime{2024, 2, 29}, "2024-02-29"},
        {"ts", ColumnKind::dateTime, DateTime{2024, 2, 29, 13, 45, 10, 250000},
         "2024-02-29 13:45:10.250000"},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        Field field = query.fieldByName(c.column);
        EXPECT_EQ(query.field(i + 1).name(), c.column);
        EXPECT_EQ(field.kind(), c.kind) << c.column;
        EXPECT_FALSE(field.isNull()) << c.column;
        EXPECT_TRUE(field.value() == c.value) << c.column;
        EXPECT_EQ(field.asString(), c.text) << c.column;
    }
    EXPECT_EQ(query.fieldByName("I").asInteger(), -7) << "names ignore case";
    EXPECT_EQ(query.fieldByName("b").asLargeInt(), 9007199254740993);
    EXPECT_THROW(query.fieldByName("b").asInteger(), ConversionError);
    EXPECT_EQ(query.fieldByName("d").asFloat(), -12.3456);
    EXPECT_EQ(query.fieldByName("d").asExtended(), -12.3456L);
    EXPECT_EQ(query.fieldByName("d").asInteger(), -12);
    EXPECT_EQ(query.fieldByName("f").asCurrency().count, 1000);
    EXPECT_EQ(query.fieldByName("s").asInteger(), 12);
    EXPECT_EQ(query.fieldByName("s").asCurrency().count, 120000);
    EXPECT_EQ(query.fieldByName("dt").asDateTime(), (DateTime{2024, 2, 29}));
    EXPECT_THROW(query.fieldByName("dt").asFloat(), ConversionError);

    query.next();
    for (size_t i = 0; i < std::size(cases); ++i) {
        Field field = query.field(i + 1);
        EXPECT_TRUE(field.isNull()) << field.name();
        EXPECT_TRUE(field.value().isNull()) << field.name();
        EXPECT_EQ(field.asInteger(), 0) << field.name();
        EXPECT_EQ(field.asLargeInt(), 0) << field.name();
        EXPECT_EQ(field.asFloat(), 0.0) << field.name();
        EXPECT_EQ(field.asExtended(), 0.0L) << field.name();
        EXPECT_EQ(field.asCurrency().count, 0) << field.name();
        EXPECT_EQ(field.asString(), "") << field.name();
        EXPECT_EQ(field.asDateTime(), DateTime{}) << field.name();
    }
}

TEST_F(QueryTest, ReadsDecimalsAsExactCurrency) {
    db.run("create table m (v decimal(15,4)); insert into m values (0.1), (0.1), (0.1);");
    const struct {
        const char* sql;
        int64_t count;
    } cases[] = {
        {"select 0.1 + 0.2", 3000},
        {"select sum(v) from m", 3000},
        {"select cast(-12.3456 as decimal(15,4))", -123456},
        {"select cast(99999999999.9999 as decimal(15,4))", 999999999999999},
        {"select cast(-0.0001 as decimal(15,4))", -1},
        {"select cast(0.00015 as decimal(10,5))", 2}, // halves to even
        {"select cast(0.00025 as decimal(10,5))", 2},
        {"select cast(1 as double) / 3", 3333}, // a real by the nearest count
        {"select cast(0.1 as double) + cast(0.2 as double)", 3000},
    };
    Query query(connection);
    for (const auto& c : cases) {
        query.setSql(c.sql);
        query.open();
        EXPECT_EQ(query.field(0).asCurrency().count, c.count) << c.sql;
        EXPECT_EQ(query.field(0).value().toCurrency().count, c.count) << c.sql;
    }
    query.setSql("select 0.1 + 0.2");
    query.open();
    EXPECT_EQ(query.field(0).value().kind(), VariantKind::currency);
}

TEST_F(QueryTest, LocatesTheFirstMatchingRow) {
    db.run("create table t (n int, grupo_id int, big bigint, price decimal(10,2), s varchar(5));"
           "insert into t values (1, 5, 9007199254740992, 1.50, 'a'), (2, 7, 9007199254740993, "
           "2.00, 'b'),"
           " (3, 7, 0, 2.50, null), (4, 9, 0, 3.00, 'b');");
    const struct {
        const char* column;
        Variant value;
        int row; // 0: not found
    } cases[] = {
        {"grupo_id", 7, 2}, {"GRUPO_ID", 9, 4},
        {"grupo_id", 8, 0}, {"big", int64_t{9007199254740993}, 2},
        {"price", 2, 2},    {"price", Currency{25000}, 3},
        {"s", "b", 2},      {"s", Variant(), 3},
    };
    Query query(connection);
    query.setSql("select * from t order by n");
    query.open();
    for (const auto& c : cases) {
        query.first();
        query.next(); // on row 2, so that "not found" shows it stays
        EXPECT_EQ(query.locate(c.column, c.value), c.row != 0) << c.column;
        EXPECT_EQ(query.fieldByName("n").asInteger(), c.row != 0 ? c.row : 2) << c.column;
    }
    EXPECT_THROW(query.locate("nope", 1), DatabaseError);
}

} // namespace
} // namespace precivox
