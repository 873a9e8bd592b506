#include "DiscountTables.h"

namespace precivox {

namespace {

// The dialog's description field holds 60 characters; a wider column is cut to it.
constexpr size_t kDescricaoSize = 60;

} // namespace

std::vector<DiscountTableRow> readDiscountTables(Query& QTabela) {
    QTabela.setSql(kSelecionarTabelaSql);
    QTabela.open();
    std::vector<DiscountTableRow> rows;
    rows.reserve(QTabela.recordCount());
    for (QTabela.first(); !QTabela.eof(); QTabela.next()) {
        rows.push_back({QTabela.fieldByName("tabela_desconto_id").asInteger(),
                        QTabela.fieldByName("descricao").asString().substr(0, kDescricaoSize),
                        QTabela.fieldByName("Marca").asString()});
    }
    QTabela.close();
    return rows;
}

bool isMarked(const std::string& mark) {
    return mark == "S";
}

std::string toggledMark(const std::string& mark) {
    return mark == "N" ? "S" : "N";
}

std::optional<DiscountTableRow> firstMarked(const std::vector<DiscountTableRow>& rows) {
    for (const auto& row : rows)
        if (!row.Marca.empty() && (row.Marca[0] == 'S' || row.Marca[0] == 's'))
            return row;
    return std::nullopt;
}

} // namespace precivox
