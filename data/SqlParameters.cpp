#include "SqlParameters.h"

#include "Errors.h"

#include <algorithm>

namespace precivox {

namespace {

bool isNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

// Where the text that starts at `at` stops being a literal, an identifier or a comment;
// `at` itself when none starts there.
size_t skipQuotedOrComment(std::string_view sql, size_t at) {
    char c = sql[at];
    if (c == '\'' || c == '"' || c == '`') {
        // A doubled quote reads as the literal ending and the next one starting again.
        size_t i = at + 1;
        while (i < sql.size() && sql[i] != c)
            i += (sql[i] == '\\' && c != '`') ? 2 : 1;
        return std::min(i + 1, sql.size());
    }
    auto next = [&](size_t i) { return i + 1 < sql.size() ? sql[i + 1] : '\0'; };
    // "--" opens a comment only when a blank or a control character follows.
    bool dashes = c == '-' && next(at) == '-' && static_cast<unsigned char>(next(at + 1)) <= ' ';
    if (c == '#' || dashes) {
        size_t end = sql.find('\n', at);
        return end == std::string_view::npos ? sql.size() : end + 1;
    }
    if (c == '/' && next(at) == '*') {
        size_t end = sql.find("*/", at + 2);
        return end == std::string_view::npos ? sql.size() : end + 2;
    }
    return at;
}

// Calls found(position of the colon, name) for each parameter in the statement.
template <typename Found> void scanParameters(std::string_view sql, Found found) {
    size_t i = 0;
    while (i < sql.size()) {
        size_t skipped = skipQuotedOrComment(sql, i);
        if (skipped != i) {
            i = skipped;
            continue;
        }
        if (sql[i] == ':' && i + 1 < sql.size() && sql[i + 1] == ':') {
            i += 2;
            continue;
        }
        if (sql[i] == ':' && i + 1 < sql.size() && isNameChar(sql[i + 1])) {
            size_t end = i + 1;
            while (end < sql.size() && isNameChar(sql[end]))
                ++end;
            found(i, sql.substr(i + 1, end - i - 1));
            i = end;
            continue;
        }
        ++i;
    }
}

} // namespace

SqlParameters parseParameters(std::string_view sql) {
    SqlParameters parameters;
    scanParameters(sql, [&](size_t, std::string_view name) {
        auto same = [&](const SqlParameter& p) { return sameName(p.name, name); };
        if (std::none_of(parameters.begin(), parameters.end(), same))
            parameters.push_back({std::string(name), {}});
    });
    return parameters;
}

std::string expandParameters(std::string_view sql, const SqlParameters& parameters,
                             const std::function<std::string(const Variant&)>& literal) {
    std::string expanded;
    size_t copied = 0;
    scanParameters(sql, [&](size_t at, std::string_view name) {
        auto same = [&](const SqlParameter& p) { return sameName(p.name, name); };
        auto parameter = std::find_if(parameters.begin(), parameters.end(), same);
        if (parameter == parameters.end())
            throw DatabaseError("Parameter '" + std::string(name) + "' not found");
        expanded.append(sql.substr(copied, at - copied));
        expanded += literal(parameter->value);
        copied = at + 1 + name.size();
    });
    expanded.append(sql.substr(copied));
    return expanded;
}

} // namespace precivox
