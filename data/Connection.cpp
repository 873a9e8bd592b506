#include "Connection.h"

#include "Errors.h"

#include <errmsg.h>
#include <mysql.h>
#include <mysqld_error.h>
#include <poll.h>

namespace precivox {

struct Connection::Handle {
    MYSQL* mysql;

    explicit Handle(MYSQL* opened) : mysql(opened) {}
    ~Handle() { mysql_close(mysql); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
};

namespace {

constexpr unsigned kTimeoutSeconds = 5;

struct ResultFree {
    void operator()(MYSQL_RES* result) const { mysql_free_result(result); }
};
using ResultHandle = std::unique_ptr<MYSQL_RES, ResultFree>;

bool connectionLost(unsigned error) {
    switch (error) {
    case CR_SERVER_GONE_ERROR:
    case CR_SERVER_LOST:
    case CR_SERVER_LOST_EXTENDED:
    case ER_CONNECTION_KILLED:
    case ER_SERVER_SHUTDOWN:
        return true;
    default:
        return false;
    }
}

ColumnKind columnKind(enum_field_types type) {
    switch (type) {
    case MYSQL_TYPE_TINY:
    case MYSQL_TYPE_SHORT:
    case MYSQL_TYPE_INT24:
    case MYSQL_TYPE_LONG:
    case MYSQL_TYPE_LONGLONG:
    case MYSQL_TYPE_YEAR:
        return ColumnKind::integer;
    case MYSQL_TYPE_FLOAT:
    case MYSQL_TYPE_DOUBLE:
        return ColumnKind::real;
    case MYSQL_TYPE_DECIMAL:
    case MYSQL_TYPE_NEWDECIMAL:
        return ColumnKind::decimal;
    case MYSQL_TYPE_DATE:
    case MYSQL_TYPE_NEWDATE:
    case MYSQL_TYPE_DATETIME:
    case MYSQL_TYPE_TIMESTAMP:
        return ColumnKind::dateTime;
    default:
        return ColumnKind::text;
    }
}

ResultSet readResult(MYSQL_RES* result) {
    unsigned count = mysql_num_fields(result);
    const MYSQL_FIELD* fields = mysql_fetch_fields(result);
    std::vector<Column> columns;
    for (unsigned i = 0; i < count; ++i)
        columns.push_back(
            {std::string(fields[i].name, fields[i].name_length), columnKind(fields[i].type)});
    std::vector<ResultSet::Cell> cells;
    cells.reserve(mysql_num_rows(result) * count);
    while (MYSQL_ROW row = mysql_fetch_row(result)) {
        // Lengths, not terminators: a text may hold NUL bytes.
        const unsigned long* lengths = mysql_fetch_lengths(result);
        for (unsigned i = 0; i < count; ++i)
            cells.push_back(row[i] ? ResultSet::Cell(std::string(row[i], lengths[i]))
                                   : std::nullopt);
    }
    return ResultSet(std::move(columns), std::move(cells));
}

// Between statements nothing arrives unasked, so a readable socket means the server has
// closed its end (restarted, killed the connection, timed it out) while it sat idle.
// Sending on it would only fail: such a connection counts as closed before it is used.
bool closedWhileIdle(MYSQL* mysql) {
    pollfd socket{static_cast<int>(mysql_get_socket(mysql)), POLLIN, 0};
    return poll(&socket, 1, 0) != 0;
}

const char* orNull(const std::string& text) {
    return text.empty() ? nullptr : text.c_str();
}

} // namespace

Connection::Connection() = default;

Connection::Connection(ConnectionParameters parameters) : parameters_(std::move(parameters)) {}

Connection::~Connection() = default;

void Connection::open() {
    if (handle_ && closedWhileIdle(handle_->mysql))
        close();
    if (handle_)
        return;
    MYSQL* mysql = mysql_init(nullptr);
    if (!mysql)
        throw DatabaseError("Out of memory");
    auto handle = std::make_unique<Handle>(mysql);
    unsigned timeout = kTimeoutSeconds;
    unsigned localFiles = 0;
    mysql_options(mysql, MYSQL_OPT_CONNECT_TIMEOUT, &timeout);
    mysql_options(mysql, MYSQL_OPT_READ_TIMEOUT, &timeout);
    mysql_options(mysql, MYSQL_OPT_WRITE_TIMEOUT, &timeout);
    mysql_options(mysql, MYSQL_SET_CHARSET_NAME, "latin1");
    // Nothing here reads client files; a server must not be able to ask for them.
    mysql_options(mysql, MYSQL_OPT_LOCAL_INFILE, &localFiles);
    const ConnectionParameters& p = parameters_;
    if (!mysql_real_connect(mysql, orNull(p.host), p.user.c_str(), p.password.c_str(),
                            orNull(p.database), p.port, nullptr, 0) ||
        mysql_autocommit(mysql, 1) != 0)
        throw DatabaseError(mysql_error(mysql));
    handle_ = std::move(handle);
}

void Connection::close() {
    handle_.reset();
}

bool Connection::connected() const {
    return handle_ != nullptr;
}

std::string Connection::escape(std::string_view text) {
    open();
    MYSQL* mysql = handle_->mysql;
    unsigned status = 0;
    mariadb_get_infov(mysql, MARIADB_CONNECTION_SERVER_STATUS, &status);
    if (status & SERVER_STATUS_NO_BACKSLASH_ESCAPES) {
        // The connector would double single quotes only, and our literals are in double
        // quotes; a backslash is an ordinary character in this mode.
        std::string escaped;
        for (char c : text) {
            if (c == '"')
                escaped += '"';
            escaped += c;
        }
        return escaped;
    }
    std::string escaped(text.size() * 2 + 1, '\0');
    escaped.resize(mysql_real_escape_string(mysql, escaped.data(), text.data(), text.size()));
    return escaped;
}

ResultSet Connection::execute(std::string_view sql) {
    open();
    MYSQL* mysql = handle_->mysql;
    auto failure = [&] {
        DatabaseError error(mysql_error(mysql));
        if (connectionLost(mysql_errno(mysql)))
            close();
        return error;
    };
    if (mysql_real_query(mysql, sql.data(), sql.size()) != 0)
        throw failure();
    ResultHandle result(mysql_store_result(mysql));
    if (!result) {
        if (mysql_field_count(mysql) != 0)
            throw failure();
        return {};
    }
    return readResult(result.get());
}

} // namespace precivox
