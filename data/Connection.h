#pragma once

#include "ResultSet.h"

#include <memory>
#include <string>
#include <string_view>

namespace precivox {

struct ConnectionParameters {
    std::string host;
    std::string database;
    std::string user = "root";
    std::string password;
    unsigned port = 3306;
};

// One connection to the database server. Texts travel as Latin-1 bytes both ways;
// every statement commits by itself. A lost connection (the server went away, the
// connection was killed) counts as closed, and the next statement opens it again: one
// lost while idle is noticed before a statement is sent on it, one lost during a
// statement fails that statement. Connecting, each read and each write give up after
// 5 seconds, so a server that hangs fails the statement instead of freezing the caller.
class Connection {
public:
    Connection();
    explicit Connection(ConnectionParameters parameters);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Changes take effect at the next open.
    ConnectionParameters& parameters() { return parameters_; }
    const ConnectionParameters& parameters() const { return parameters_; }

    // Does nothing when open. Raises DatabaseError with the client's message.
    void open();
    void close();
    bool connected() const;

    // The text made safe to stand between double quotes as a string literal. How a
    // quote is escaped depends on the server's mode, so this opens the connection
    // first: when the server cannot be reached it raises what the statement would.
    std::string escape(std::string_view text);

    // Runs one statement, opening the connection first when closed, and returns its
    // whole result (no columns for a statement that returns none). Raises DatabaseError
    // with the server's or the client's message.
    ResultSet execute(std::string_view sql);

private:
    struct Handle;

    ConnectionParameters parameters_;
    std::unique_ptr<Handle> handle_;
};

} // namespace precivox
