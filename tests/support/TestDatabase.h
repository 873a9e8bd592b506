#pragma once

#include "Connection.h"

#include <string>
#include <string_view>

namespace precivox::test {

// A fresh, empty database on the test server, dropped again at the end. The server is
// named by PRECIVOX_TEST_DB_HOST, PRECIVOX_TEST_DB_PORT and PRECIVOX_TEST_DB_PASSWORD
// (user root); a missing variable, a host that is not a loopback address or a server
// that cannot be reached raises std::runtime_error, so that the test fails.
class TestDatabase {
public:
    TestDatabase();
    // On another server, reached as `administrator`.
    explicit TestDatabase(ConnectionParameters administrator);
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    const std::string& name() const { return name_; }
    // Where the program under test connects to reach this database.
    ConnectionParameters parameters() const;
    // Runs SQL statements separated by semicolons, as the database's administrator,
    // texts taken as Latin-1 bytes. Raises std::runtime_error naming the failing one.
    void run(std::string_view script) const;

private:
    ConnectionParameters server_;
    std::string name_;
};

} // namespace precivox::test
