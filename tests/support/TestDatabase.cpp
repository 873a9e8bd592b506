#include "TestDatabase.h"

#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <mysql.h>
#include <stdexcept>
#include <unistd.h>

namespace precivox::test {

namespace {

struct MysqlClose {
    void operator()(MYSQL* mysql) const { mysql_close(mysql); }
};
using Session = std::unique_ptr<MYSQL, MysqlClose>;

std::string requiredVariable(const char* name) {
    const char* value = std::getenv(name);
    if (!value)
        throw std::runtime_error(std::string(name) +
                                 " is not set: run the tests through scripts/test.sh");
    return value;
}

// Tests never reach beyond this machine; "localhost" is refused too, since the client
// library would take it for some local socket rather than the test server.
bool isLoopback(const std::string& host) {
    in_addr v4{};
    in6_addr v6{};
    if (inet_pton(AF_INET, host.c_str(), &v4) == 1)
        return (ntohl(v4.s_addr) >> 24) == 127;
    return inet_pton(AF_INET6, host.c_str(), &v6) == 1 && IN6_IS_ADDR_LOOPBACK(&v6);
}

ConnectionParameters serverFromEnvironment() {
    ConnectionParameters server;
    server.host = requiredVariable("PRECIVOX_TEST_DB_HOST");
    if (!isLoopback(server.host))
        throw std::runtime_error("PRECIVOX_TEST_DB_HOST " + server.host +
                                 " is not a loopback address");
    std::string port = requiredVariable("PRECIVOX_TEST_DB_PORT");
    char* end = nullptr;
    unsigned long number = std::strtoul(port.c_str(), &end, 10);
    if (port.empty() || *end != '\0' || number == 0 || number > 65535)
        throw std::runtime_error("PRECIVOX_TEST_DB_PORT " + port + " is not a port");
    server.port = static_cast<unsigned>(number);
    server.password = requiredVariable("PRECIVOX_TEST_DB_PASSWORD");
    return server;
}

Session connect(const ConnectionParameters& server, const std::string& database) {
    Session session(mysql_init(nullptr));
    if (!session)
        throw std::runtime_error("mysql_init failed");
    unsigned timeout = 10;
    mysql_options(session.get(), MYSQL_OPT_CONNECT_TIMEOUT, &timeout);
    mysql_options(session.get(), MYSQL_SET_CHARSET_NAME, "latin1");
    if (!mysql_real_connect(session.get(), server.host.c_str(), server.user.c_str(),
                            server.password.c_str(), database.empty() ? nullptr : database.c_str(),
                            server.port, nullptr, CLIENT_MULTI_STATEMENTS))
        throw std::runtime_error("Cannot reach the test database server at " + server.host + ":" +
                                 std::to_string(server.port) + ": " + mysql_error(session.get()));
    return session;
}

void runScript(MYSQL* mysql, std::string_view script) {
    auto fail = [&](int statement) {
        return std::runtime_error("Statement " + std::to_string(statement) +
                                  " of the test script failed: " + mysql_error(mysql));
    };
    int statement = 1;
    if (mysql_real_query(mysql, script.data(), script.size()) != 0)
        throw fail(statement);
    for (;;) {
        if (MYSQL_RES* result = mysql_store_result(mysql))
            mysql_free_result(result);
        else if (mysql_field_count(mysql) != 0)
            throw fail(statement);
        int more = mysql_next_result(mysql);
        ++statement;
        if (more > 0)
            throw fail(statement);
        if (more < 0)
            return;
    }
}

std::string uniqueName() {
    static std::atomic<unsigned> counter{0};
    auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    return "precivox_test_" + std::to_string(getpid()) + "_" + std::to_string(counter++) + "_" +
           std::to_string(now % 1000000007);
}

} // namespace

TestDatabase::TestDatabase() : TestDatabase(serverFromEnvironment()) {}

TestDatabase::TestDatabase(ConnectionParameters administrator)
    : server_(std::move(administrator)), name_(uniqueName()) {
    if (!isLoopback(server_.host))
        throw std::runtime_error("the test server " + server_.host + " is not a loopback address");
    Session session = connect(server_, "");
    runScript(session.get(), "CREATE DATABASE `" + name_ + "` CHARACTER SET latin1");
}

TestDatabase::~TestDatabase() {
    try {
        Session session = connect(server_, "");
        runScript(session.get(), "DROP DATABASE IF EXISTS `" + name_ + "`");
    } catch (const std::exception&) {
        // The private server is thrown away after the run; a database left behind is
        // harmless there.
    }
}

ConnectionParameters TestDatabase::parameters() const {
    ConnectionParameters parameters = server_;
    parameters.database = name_;
    return parameters;
}

void TestDatabase::run(std::string_view script) const {
    Session session = connect(server_, name_);
    runScript(session.get(), script);
}

} // namespace precivox::test
