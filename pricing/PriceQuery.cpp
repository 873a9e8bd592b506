#include "PriceQuery.h"

#include "CondicaoPagto.h"
#include "Errors.h"

#include <string_view>

namespace precivox {

namespace {

constexpr size_t kDescriptionLength = 20;

// Blanks and control characters: every byte up to 32. Latin-1 letters are above 127
// and must survive, hence unsigned.
std::string trimControl(std::string_view text) {
    auto kept = [](char c) { return static_cast<unsigned char>(c) > 32; };
    size_t begin = 0, end = text.size();
    while (begin < end && !kept(text[begin]))
        ++begin;
    while (end > begin && !kept(text[end - 1]))
        --end;
    return std::string(text.substr(begin, end - begin));
}

// What a terminal shows of a description: its first twenty characters, then trimmed, so
// that leading blanks cost characters of the twenty.
std::string terminalDescription(std::string_view descricao) {
    return trimControl(descricao.substr(0, kDescriptionLength));
}

// Where the cash discount or the plain price needs the value, null is no number.
double requiredFloat(const Field& field) {
    if (field.isNull())
        throw ConversionError("Could not convert variant of type (Null) into type (Double)");
    return field.asFloat();
}

bool greaterThanZero(const Field& field) {
    return !field.isNull() && field.asFloat() > 0;
}

// The select and from lines of the product rule look-ups.
void addProductRuleColumns(Query& query) {
    query.addSql(" select produto.descricao, prod_tabela_desconto.produto_id, "
                 "prod_tabela_desconto.tabela_desconto_id, ");
    query.addSql(" prod_tabela_desconto.bloqueia_desc, prod_tabela_desconto.permite_promocao, "
                 "prod_tabela_desconto.pratica_preco, prod_tabela_desconto.acrescimo, ");
    query.addSql(" prod_tabela_desconto.desconto, prod_tabela_desconto.desconto_maximo, "
                 "prod_tabela_desconto.permite_desc_qtde, ");
    query.addSql(" prod_tabela_desconto.permite_desc_avista, "
                 "prod_tabela_desconto.pratica_menor_preco, empresa_tab_desconto.empresa_id, "
                 "empresa_tab_desconto.formapgto_tipospgto_id ");
    query.addSql(" from prod_tabela_desconto ");
}

// The select, from and group join lines of the group rule look-ups.
void addGroupRuleColumns(Query& query) {
    query.addSql(" select produto.descricao, produto.produto_id, grupo_tabela_desconto.grupo_id, "
                 "grupo_tabela_desconto.tabela_desconto_id, ");
    query.addSql(" grupo_tabela_desconto.bloqueia_desc, grupo_tabela_desconto.permite_promocao, "
                 "grupo_tabela_desconto.pratica_preco, grupo_tabela_desconto.acrescimo, ");
    query.addSql(" grupo_tabela_desconto.desconto, grupo_tabela_desconto.desconto_maximo, "
                 "grupo_tabela_desconto.permite_desc_qtde, ");
    query.addSql(" grupo_tabela_desconto.permite_desc_avista, "
                 "grupo_tabela_desconto.pratica_menor_preco, empresa_tab_desconto.empresa_id, "
                 "empresa_tab_desconto.formapgto_tipospgto_id ");
    query.addSql(" from grupo_tabela_desconto ");
    query.addSql(
        R"( left join grupo on (grupo.grupo_id = grupo_tabela_desconto.grupo_id and grupo.apagado <> "S"))");
}

constexpr std::string_view kProductJoin =
    R"( left join produto on (produto.produto_id = prod_tabela_desconto.produto_id and produto.tipo <> "I" and produto.apagado <> "S"))";
constexpr std::string_view kProductRuleTableJoin =
    R"( left join empresa_tab_desconto on (empresa_tab_desconto.tabela_desconto_id = prod_tabela_desconto.tabela_desconto_id and empresa_tab_desconto.apagado <> "S"))";
constexpr std::string_view kProductRuleWhere =
    R"( where prod_tabela_desconto.apagado <> "S" and prod_tabela_desconto.tabela_desconto_id = )";
constexpr std::string_view kGroupRuleTableJoin =
    R"( left join empresa_tab_desconto on (empresa_tab_desconto.tabela_desconto_id = grupo_tabela_desconto.tabela_desconto_id and empresa_tab_desconto.apagado <> "S"))";
constexpr std::string_view kGroupRuleWhere =
    R"( where grupo_tabela_desconto.apagado <> "S" and grupo_tabela_desconto.tabela_desconto_id = )";
constexpr std::string_view kOwnBarcode = R"( and produto.barras = ")";
constexpr std::string_view kAdditionalBarcode = R"( and barras.barras = ")";

std::string lastLine(std::string_view where, int32_t table, std::string_view barcodePiece,
                     const std::string& quotedBarcode) {
    std::string line(where);
    line += std::to_string(table);
    line += barcodePiece;
    line += quotedBarcode;
    line += '"';
    return line;
}

} // namespace

PriceQuery::PriceQuery(Lent lent, NumberSeparators separators)
    : lent_(lent), separators_(std::move(separators)) {}

void PriceQuery::ConsultarPreco(int32_t terminal, const std::string& barcode) {
    // The barcode only ever stands inside a double-quoted literal, escaped for the server.
    const std::string quotedBarcode = lent_.CONEXAO.escape(trimControl(barcode));

    if (lent_.FTabelaDesconto == 0)
        findDefaultTable();

    if (findRule(quotedBarcode)) {
        answerRulePath(terminal);
        return;
    }

    const std::optional<int32_t> produtoId = identifyProduct(quotedBarcode);
    if (!produtoId) {
        lent_.answers.sendNotFound(terminal);
        lent_.QTemp.close();
        throw SilentAbort();
    }
    lent_.QTemp.close();
    lent_.QPesquisaProd.close();
    answerPrice(terminal, *produtoId);
    throw SilentAbort();
}

void PriceQuery::findDefaultTable() {
    Query& query = lent_.QTemp;
    query.setSql("select * from empresa_tab_desconto where empresa_id = 0 and filial_id = " +
                 std::to_string(lent_.FCodLogica) + R"( and padrao = "S")");
    query.open();
    if (!query.isEmpty())
        lent_.FTabelaDesconto = query.fieldByName("tabela_desconto_id").asInteger();
    query.close();
}

bool PriceQuery::findRule(const std::string& quotedBarcode) {
    Query& rules = lent_.QPesquisaProd;
    const int32_t table = lent_.FTabelaDesconto;

    rules.clearSql();
    addProductRuleColumns(rules);
    rules.addSql(kProductJoin);
    rules.addSql(kProductRuleTableJoin);
    rules.addSql(lastLine(kProductRuleWhere, table, kOwnBarcode, quotedBarcode));
    rules.open();
    if (!rules.isEmpty())
        return true;

    rules.close();
    rules.clearSql();
    addProductRuleColumns(rules);
    rules.addSql(
        R"( left join barras on (barras.produto_id = prod_tabela_desconto.produto_id and barras.apagado <> "S"))");
    rules.addSql(kProductJoin);
    rules.addSql(kProductRuleTableJoin);
    rules.addSql(lastLine(kProductRuleWhere, table, kAdditionalBarcode, quotedBarcode));
    rules.open();
    if (!rules.isEmpty())
        return true;

    rules.close();
    rules.clearSql();
    addGroupRuleColumns(rules);
    rules.addSql(
        R"( left join produto on (produto.grupo_id = grupo.grupo_id and produto.tipo <> "I" and produto.apagado <> "S"))");
    rules.addSql(kGroupRuleTableJoin);
    rules.addSql(lastLine(kGroupRuleWhere, table, kOwnBarcode, quotedBarcode));
    rules.open();
    if (!rules.isEmpty())
        return true;

    rules.close();
    rules.clearSql();
    addGroupRuleColumns(rules);
    rules.addSql(
        R"( left join produto on (produto.grupo_id = grupo_tabela_desconto.grupo_id and produto.tipo <> "I" and produto.apagado <> "S"))");
    rules.addSql(
        R"( left join barras on (barras.produto_id = produto.produto_id and barras.apagado <> "S"))");
    rules.addSql(kGroupRuleTableJoin);
    rules.addSql(lastLine(kGroupRuleWhere, table, kAdditionalBarcode, quotedBarcode));
    rules.open();
    return !rules.isEmpty();
}

std::optional<int32_t> PriceQuery::identifyProduct(const std::string& quotedBarcode) {
    Query& query = lent_.QTemp;
    query.setSql(
        R"(select produto_id from produto where apagado <> "S" and tipo <> "I" and barras = ")" +
        quotedBarcode + '"');
    query.open();
    if (query.isEmpty()) {
        query.close();
        query.setSql(R"(select produto_id from barras where apagado <> "S" and barras = ")" +
                     quotedBarcode + '"');
        query.open();
    }
    if (query.isEmpty())
        return std::nullopt;
    return query.fieldByName("produto_id").asInteger();
}

void PriceQuery::answerRulePath(int32_t terminal) {
    Query& rules = lent_.QPesquisaProd;
    const int32_t produtoId = rules.fieldByName("produto_id").asInteger();
    const int32_t formaPgtoTipoId = rules.fieldByName("formapgto_tipospgto_id").asInteger();
    const int32_t empresaId = rules.fieldByName("empresa_id").asInteger();

    TRegraDesconto regra;
    {
        TCondicaoPagto engine({lent_.dmGerente, rules, lent_.QTemp2, lent_.FCodLogica}, empresaId,
                              lent_.FCodLogica, formaPgtoTipoId);
        engine.CalcularPreco(produtoId, 1, regra);
    }

    const char* origem = regra.Origem == orProduto ? "product"
                         : regra.Origem == orGrupo ? "group"
                                                   : "no rule";
    std::string path = std::string("rule (") + origem + "): " + regra.Mensagem;
    if (regra.PrecoFinal.count > 0) {
        lent_.answers.notePath(std::move(path));
        if (regra.Mensagem.empty()) {
            lent_.answers.sendNotFound(terminal);
        } else {
            // The description of the row the engine left the query on.
            lent_.answers.sendPrice(
                terminal, terminalDescription(rules.fieldByName("descricao").asString()),
                formatPrice(static_cast<double>(regra.PrecoFinal.count) / Currency::kScale,
                            separators_));
        }
        rules.close();
        return;
    }
    rules.close();
    lent_.answers.notePath(path + "; no positive price, plain price");
    answerPrice(terminal, produtoId);
}

void PriceQuery::answerPrice(int32_t terminal, int32_t produtoId) {
    Query& query = lent_.QPesquisaProd;
    query.clearSql();
    query.addSql(" Select produto.produto_id, produto.barras, produto.descricao, ");
    query.addSql(" if(precosfilial.preco_promo > 0, precosfilial.preco_promo, produto.preco_pro) "
                 "as precopromocao, ");
    query.addSql(
        " if(precosfilial.preco > 0, precosfilial.preco, produto.preco_vnd) as precoproduto, ");
    query.addSql(" if(precosfilial.desc_vista > 0, precosfilial.desc_vista, produto.desconto) as "
                 "descproduto, ");
    query.addSql(" produto.dtiniciopromocao, produto.valid_pro ");
    query.addSql(" from produto ");
    query.addSql(
        " left join precosfilial on (precosfilial.filial_id = " + std::to_string(lent_.FCodLogica) +
        R"( and precosfilial.produto_id = produto.produto_id and precosfilial.apagado <> "S"))");
    query.addSql(" where (produto.produto_id = " + std::to_string(produtoId) + ") ");
    query.addSql(R"( and produto.tipo <> "I" and produto.apagado <> "S" )");
    query.addSql(" order by produto.descricao");
    query.open();

    if (query.isEmpty()) {
        lent_.answers.sendNotFound(terminal);
    } else {
        const std::string description =
            terminalDescription(query.fieldByName("descricao").asString());
        double price;
        if (promotionCurrent() && greaterThanZero(query.fieldByName("precopromocao"))) {
            price = query.fieldByName("precopromocao").asFloat();
        } else if (greaterThanZero(query.fieldByName("descproduto"))) {
            const double preco = requiredFloat(query.fieldByName("precoproduto"));
            const double desconto = query.fieldByName("descproduto").asFloat();
            price = preco - (desconto * preco) / 100;
        } else {
            price = requiredFloat(query.fieldByName("precoproduto"));
        }
        lent_.answers.sendPrice(terminal, description, formatPrice(price, separators_));
    }
    query.close();
}

// Strict bounds against the time of day: a promotion starts after midnight of its first
// day and is over at midnight of valid_pro. A null date is earlier than any date, so it
// never blocks a start and always ends the promotion.
bool PriceQuery::promotionCurrent() const {
    const DateTime now = lent_.clock.now();
    const Field start = lent_.QPesquisaProd.fieldByName("dtiniciopromocao");
    if (!start.isNull() && !(now > start.asDateTime()))
        return false;
    const Field end = lent_.QPesquisaProd.fieldByName("valid_pro");
    return !end.isNull() && now < end.asDateTime();
}

} // namespace precivox
