#pragma once

#include "Query.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace precivox {

// One row of the discount table dialog. Marks live only in the dialog's copy of the rows.
struct DiscountTableRow {
    int32_t tabela_desconto_id = 0;
    std::string descricao; // Latin-1, as the database holds it
    std::string Marca;     // "S" marked, "N" not
};

// Every table that is not deleted, in the order the server returns them, each with the
// constant mark "N".
inline constexpr const char* kSelecionarTabelaSql =
    R"(select "N" as Marca, tabela_desconto.* from tabela_desconto where apagado <> "S")";

// Runs kSelecionarTabelaSql on QTabela and hands its rows over. Raises DatabaseError.
std::vector<DiscountTableRow> readDiscountTables(Query& QTabela);

// The marks the dialog's OK counts and its grid colours: exactly "S".
bool isMarked(const std::string& mark);
// F5: "N" becomes "S", anything else "N".
std::string toggledMark(const std::string& mark);
// The row the main window takes after OK: the first whose mark begins with "S" or "s".
std::optional<DiscountTableRow> firstMarked(const std::vector<DiscountTableRow>& rows);

} // namespace precivox
