#include "ResultSet.h"

#include <algorithm>

namespace precivox {

namespace {

// ASCII only, whatever locale the program has set.
char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameNameIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

} // namespace

ResultSet::ResultSet(std::vector<Column> columns, std::vector<Cell> cells)
    : columns_(std::move(columns)), cells_(std::move(cells)) {}

std::optional<size_t> ResultSet::columnIndex(std::string_view name) const {
    for (size_t i = 0; i < columns_.size(); ++i)
        if (sameNameIgnoringCase(columns_[i].name, name))
            return i;
    return std::nullopt;
}

} // namespace precivox
