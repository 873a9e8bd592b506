#include "DiscountTables.h"

#include "Errors.h"
#include "TestDatabase.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace precivox {
namespace {

std::string readFile(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

TEST(DiscountTables, ListsTheTablesNotDeletedUnmarkedWithTheirLatin1Descriptions) {
    test::TestDatabase db;
    db.run(readFile(PRECIVOX_SQL_DIR "/schema.sql"));
    db.run("insert into tabela_desconto (tabela_desconto_id, descricao, apagado) values"
           " (3, 'ATACADO', 'N'), (4, 'BLACK FRIDAY', 'S'),"
           " (5, concat('CART', char(195), 'O'), 'N'), (9, 'FUNCION', 'x')");
    Connection conexao(db.parameters());
    Query QTabela(conexao);

    const auto rows = readDiscountTables(QTabela);
    ASSERT_EQ(rows.size(), 3u);
    const DiscountTableRow expected[] = {
        {3, "ATACADO", "N"}, {5, "CART\xC3O", "N"}, {9, "FUNCION", "N"}};
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].tabela_desconto_id, expected[i].tabela_desconto_id) << i;
        EXPECT_EQ(rows[i].descricao, expected[i].descricao) << i;
        EXPECT_EQ(rows[i].Marca, "N") << i;
    }
    EXPECT_EQ(QTabela.sqlText(), kSelecionarTabelaSql);
}

TEST(DiscountTables, AnUnreadableListRaises) {
    test::TestDatabase db; // no tables at all
    Connection conexao(db.parameters());
    Query QTabela(conexao);
    EXPECT_THROW(readDiscountTables(QTabela), DatabaseError);
}

TEST(DiscountTables, MarksCountExactlyButAreFoundIgnoringCase) {
    const struct {
        const char* mark;
        bool counted;
        const char* afterF5;
        bool found;
    } cases[] = {{"N", false, "S", false}, {"S", true, "N", true},  {"s", false, "N", true},
                 {"n", false, "N", false}, {"", false, "N", false}, {"Sx", false, "N", true}};
    for (const auto& c : cases) {
        EXPECT_EQ(isMarked(c.mark), c.counted) << "'" << c.mark << "'";
        EXPECT_EQ(toggledMark(c.mark), c.afterF5) << "'" << c.mark << "'";
        EXPECT_EQ(firstMarked({{1, "A", c.mark}}).has_value(), c.found) << "'" << c.mark << "'";
    }
}

} // namespace
} // namespace precivox
