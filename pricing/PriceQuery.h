#pragma once

#include "Connection.h"
#include "DateTime.h"
#include "PriceText.h"
#include "Query.h"
#include "ScanAnswers.h"

#include <cstdint>
#include <optional>
#include <string>

namespace precivox {

class TdmGerente;

// The answer to one scanned barcode, worked out with what the main window lends: its
// queries on CONEXAO, the discount table in force and the branch.
class PriceQuery {
public:
    struct Lent {
        Connection& CONEXAO;
        Query& QPesquisaProd;
        Query& QTemp;
        Query& QTemp2;
        TdmGerente& dmGerente;
        int32_t& FTabelaDesconto;
        const int32_t& FCodLogica;
        ScanAnswers& answers;
        const Clock& clock;
    };

    PriceQuery(Lent lent, NumberSeparators separators);

    // Sends exactly one answer to the terminal. Ends with SilentAbort after a plain
    // answer and returns after a rule-path answer; raises DatabaseError or
    // ConversionError, without an answer, when the database fails.
    void ConsultarPreco(int32_t terminal, const std::string& barcode);

    // The price of the product with its branch's overrides, a current promotion or the
    // cash discount, or the not-found answer. Returns normally.
    void answerPrice(int32_t terminal, int32_t produtoId);

private:
    void findDefaultTable();
    // Leaves QPesquisaProd open on the rows of the first look-up that finds any.
    bool findRule(const std::string& quotedBarcode);
    std::optional<int32_t> identifyProduct(const std::string& quotedBarcode);
    // QPesquisaProd holds the rule rows: the rule engine prices the first row's product,
    // falling back to the plain price when it gives none.
    void answerRulePath(int32_t terminal);
    bool promotionCurrent() const;

    Lent lent_;
    NumberSeparators separators_;
};

} // namespace precivox
