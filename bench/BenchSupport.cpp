#include "BenchSupport.h"

#include <algorithm>
#include <fstream>
#include <mysql.h>
#include <sstream>
#include <stdexcept>

namespace precivox::bench {

double microsBetween(Clock_::time_point start, Clock_::time_point end) {
    return std::chrono::duration<double, std::micro>(end - start).count();
}

bool StampingLibrary::bSendProdPrice(int32_t, const char*, int32_t, const char*, int32_t) {
    answeredAt = Clock_::now();
    return true;
}

bool StampingLibrary::bSendProdNotFound(int32_t) {
    answeredAt = Clock_::now();
    return true;
}

void StampingLibrary::TCinet_ntoa(uint32_t, char* buffer, int32_t size) {
    if (size > 0)
        buffer[0] = 0;
}

struct BareSession::Handle {
    MYSQL* mysql = nullptr;
    ~Handle() {
        if (mysql)
            mysql_close(mysql);
    }
};

BareSession::BareSession(const ConnectionParameters& p) : handle_(std::make_unique<Handle>()) {
    handle_->mysql = mysql_init(nullptr);
    if (!handle_->mysql)
        throw std::runtime_error("mysql_init failed");
    mysql_options(handle_->mysql, MYSQL_SET_CHARSET_NAME, "latin1");
    if (!mysql_real_connect(handle_->mysql, p.host.c_str(), p.user.c_str(), p.password.c_str(),
                            p.database.c_str(), p.port, nullptr, 0))
        throw std::runtime_error(mysql_error(handle_->mysql));
}

BareSession::~BareSession() = default;

void BareSession::send(const std::string& sql) {
    MYSQL* mysql = handle_->mysql;
    if (mysql_real_query(mysql, sql.data(), sql.size()) != 0)
        throw std::runtime_error(mysql_error(mysql));
    if (MYSQL_RES* result = mysql_store_result(mysql))
        mysql_free_result(result);
    else if (mysql_field_count(mysql) != 0)
        throw std::runtime_error(mysql_error(mysql));
}

std::vector<std::string> BareSession::firstColumn(const std::string& sql) {
    MYSQL* mysql = handle_->mysql;
    if (mysql_real_query(mysql, sql.data(), sql.size()) != 0)
        throw std::runtime_error(mysql_error(mysql));
    MYSQL_RES* result = mysql_store_result(mysql);
    if (!result)
        throw std::runtime_error(mysql_error(mysql));
    std::vector<std::string> values;
    while (MYSQL_ROW row = mysql_fetch_row(result)) {
        unsigned long* lengths = mysql_fetch_lengths(result);
        values.emplace_back(row[0], lengths[0]);
    }
    mysql_free_result(result);
    return values;
}

StatementLog::StatementLog(const ConnectionParameters& parameters,
                           std::vector<std::string> threadIds)
    : admin_(parameters) {
    for (const std::string& id : threadIds)
        filter_ += (filter_.empty() ? "" : ", ") + id;
    admin_.send("set global log_output = 'TABLE'");
    admin_.send("set global general_log = 1");
}

StatementLog::~StatementLog() {
    try {
        admin_.send("set global general_log = 0");
    } catch (const std::exception&) {
        // The private server is thrown away after the run.
    }
}

std::vector<std::string> StatementLog::capture(const std::function<void()>& work) {
    admin_.send("truncate table mysql.general_log");
    work();
    // The log table keeps the rows in the order they were written.
    return admin_.firstColumn("select argument from mysql.general_log where thread_id in (" +
                              filter_ + ") and command_type = 'Query'");
}

std::string connectionId(Connection& connection) {
    return connection.execute("select connection_id()").cell(0, 0).value();
}

double percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    const size_t index = std::min(values.size() - 1, static_cast<size_t>(fraction * values.size()));
    return values[index];
}

std::string readFile(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

} // namespace precivox::bench
