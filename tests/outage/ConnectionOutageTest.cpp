#include "Connection.h"
#include "Errors.h"
#include "PrivateServer.h"
#include "SilentServer.h"
#include "TestDatabase.h"

#include <functional>
#include <gmock/gmock.h>
#include <string>

namespace precivox {
namespace {

using ::testing::HasSubstr;

// Loopback addresses of the tests' own servers; the harness's server is on 127.0.0.1.
constexpr const char* kOwnServer = "127.0.0.3";
constexpr const char* kSilentServer = "127.0.0.4";

std::string failureOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const DatabaseError& error) {
        return error.what();
    }
    return "(no DatabaseError)";
}

std::string answerOf(Connection& connection) {
    return connection.execute("select 'answered'").cell(0, 0).value_or("(null)");
}

class ConnectionOutage : public ::testing::Test {
protected:
    test::PrivateServer server{kOwnServer};
    test::TestDatabase db{server.administrator()};
};

TEST_F(ConnectionOutage, ServerThatStopsAnsweringFailsTheStatementAfterTheTimeOut) {
    Connection connection(db.parameters());
    ASSERT_EQ(answerOf(connection), "answered");
    server.freeze();
    EXPECT_THAT(failureOf([&] { answerOf(connection); }), HasSubstr("Lost connection"));
    EXPECT_FALSE(connection.connected());
    server.thaw();
    EXPECT_EQ(answerOf(connection), "answered");
}

TEST(SilentServer, ConnectingFailsAfterTheTimeOut) {
    test::SilentServer silent(kSilentServer);
    ConnectionParameters parameters;
    parameters.host = kSilentServer;
    parameters.password = "unused";
    Connection connection(parameters);
    EXPECT_THAT(failureOf([&] { connection.open(); }), HasSubstr("Lost connection"));
    EXPECT_FALSE(connection.connected());
    EXPECT_EQ(silent.accepted(), 1) << "the connection reached the silent server";
}

} // namespace
} // namespace precivox
