#include "DatabaseTest.h"
#include "Errors.h"
#include "Query.h"

#include <chrono>
#include <functional>
#include <gmock/gmock.h>
#include <string>
#include <thread>

namespace precivox {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

std::string messageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const DatabaseError& error) {
        return error.what();
    }
    return "(no DatabaseError)";
}

class ConnectionTest : public DatabaseTest {};

int64_t connectionId(Connection& connection) {
    Query query(connection);
    query.setSql("select connection_id()");
    query.open();
    return query.field(0).asLargeInt();
}

TEST_F(ConnectionTest, OpeningFailsWithTheClientsMessage) {
    const struct {
        const char* name;
        std::function<void(ConnectionParameters&)> spoil;
        ::testing::Matcher<std::string> message;
    } cases[] = {
        {"nothing listening", [](auto& p) { p.port = 1; },
         StartsWith("Can't connect to server on '127.0.0.1'")},
        {"wrong password", [](auto& p) { p.password += "x"; },
         StartsWith("Access denied for user 'root'@")},
        {"unknown database", [](auto& p) { p.database = "no_such_db"; },
         "Unknown database 'no_such_db'"},
    };
    for (const auto& c : cases) {
        Connection spoilt(db.parameters());
        c.spoil(spoilt.parameters());
        EXPECT_THAT(messageOf([&] { spoilt.open(); }), c.message) << c.name;
        EXPECT_FALSE(spoilt.connected()) << c.name;
    }
}

// The program goes on after a failed start and recovers once the server is reachable.
TEST_F(ConnectionTest, AStatementOpensAClosedConnection) {
    connection.parameters().port = 1;
    Query query(connection);
    query.setSql("select 1");
    EXPECT_THAT(messageOf([&] { query.open(); }), HasSubstr("Can't connect"));
    EXPECT_FALSE(query.active());

    connection.parameters().port = db.parameters().port;
    query.open();
    EXPECT_TRUE(connection.connected());
    EXPECT_EQ(query.field(0).asInteger(), 1);
}

TEST_F(ConnectionTest, AFailingStatementRaisesTheServersMessageAndKeepsTheConnection) {
    const struct {
        const char* sql;
        ::testing::Matcher<std::string> message;
    } cases[] = {
        {"select * from missing", "Table '" + db.name() + ".missing' doesn't exist"},
        {"selec 1", StartsWith("You have an error in your SQL syntax")},
        {"select nope from dual", HasSubstr("Unknown column 'nope'")},
    };
    connection.open();
    int64_t id = connectionId(connection);
    for (const auto& c : cases) {
        EXPECT_THAT(messageOf([&] { connection.execute(c.sql); }), c.message) << c.sql;
        EXPECT_TRUE(connection.connected()) << c.sql;
    }
    EXPECT_EQ(connectionId(connection), id);
}

TEST_F(ConnectionTest, ALostConnectionIsOpenedAgainByTheNextStatement) {
    const struct {
        const char* name;
        std::function<void(Connection& victim, int64_t id)> kill;
    } cases[] = {
        {"killed from another connection while idle: noticed before the next statement",
         [&](Connection&, int64_t id) {
             Connection other(db.parameters());
             other.execute("kill connection " + std::to_string(id));
             // Gone from the list once the server has closed its end.
             const std::string listed =
                 "select id from information_schema.processlist where id = " + std::to_string(id);
             for (int i = 0; i < 100 && other.execute(listed).rowCount() != 0; ++i)
                 std::this_thread::sleep_for(std::chrono::milliseconds(50));
         }},
        {"killed by its own statement: that statement fails",
         [](Connection& victim, int64_t) {
             EXPECT_THROW(victim.execute("kill connection connection_id()"), DatabaseError);
             EXPECT_FALSE(victim.connected());
         }},
    };
    for (const auto& c : cases) {
        Connection victim(db.parameters());
        int64_t id = connectionId(victim);
        c.kill(victim, id);
        EXPECT_NE(connectionId(victim), id) << c.name;
        EXPECT_TRUE(victim.connected()) << c.name;
    }
}

TEST_F(ConnectionTest, EscapedTextsAreLookedUpLiterally) {
    // Stored through hexadecimal literals, so that the escaping under test plays no part.
    db.run(
        "create table t (id int, s varchar(40));"
        "insert into t values (1, x'22'), (2, x'5C'), (3, x'27'), (4, x'22206F72202231223D2231'),"
        " (5, x'5C22'), (6, x'410A0D1A00'), (7, 'x');");
    const struct {
        const char* name;
        std::string text;
        int id; // 0: no row
    } cases[] = {
        {"double quote", "\"", 1},
        {"backslash", "\\", 2},
        {"single quote", "'", 3},
        {"injection stored", "\" or \"1\"=\"1", 4},
        {"backslash and quote", "\\\"", 5},
        {"control characters", std::string("A\n\r\x1A\0", 5), 6},
        {"injection not stored", "x\" or \"1\"=\"1", 0},
    };
    for (const char* mode : {"default", "NO_BACKSLASH_ESCAPES"}) {
        connection.execute(std::string("set session sql_mode = '") +
                           (std::string(mode) == "default" ? "" : mode) + "'");
        for (const auto& c : cases) {
            Query query(connection);
            query.setSql("select id from t where s = \"" + connection.escape(c.text) + "\"");
            query.open();
            if (c.id == 0) {
                EXPECT_TRUE(query.isEmpty()) << mode << ": " << c.name;
            } else {
                EXPECT_EQ(query.recordCount(), 1u) << mode << ": " << c.name;
                EXPECT_EQ(query.field(0).asInteger(), c.id) << mode << ": " << c.name;
            }
        }
    }
}

TEST_F(ConnectionTest, TextsTravelAsLatin1Bytes) {
    // The server converts a column of another character set to the connection's.
    for (const char* charset : {"latin1", "utf8mb4"}) {
        db.run(
            std::string("drop table if exists t; create table t (s varchar(10)) character set ") +
            charset + "; insert into t values (_latin1 x'E9');");
        Query query(connection);
        query.setSql("select s from t where s = \"\xE9\"");
        query.open();
        ASSERT_EQ(query.recordCount(), 1u) << charset;
        EXPECT_EQ(query.field(0).asString(), "\xE9") << charset;
    }
}

} // namespace
} // namespace precivox
