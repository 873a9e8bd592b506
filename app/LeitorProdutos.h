#pragma once

#include "ConfigEditing.h"
#include "Connection.h"
#include "DateTime.h"
#include "DiscountTableChoice.h"
#include "ManagerDataModule.h"
#include "PriceQuery.h"
#include "Query.h"
#include "ScanAnswers.h"
#include "TerminalLibrary.h"
#include "TerminalPolling.h"
#include "TerminalViews.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

namespace precivox {

class Prompter;

// The main window's behaviour and state, apart from its widgets: it owns the main
// database connection and the manager data module, and drives the terminals.
class TFLeitorProdutos {
public:
    struct Services {
        TerminalLibrary& library;
        TerminalPanel& panel;
        Prompter& prompter;
        std::ostream& log;
        const Clock& clock;
        std::filesystem::path settingsFile;
        std::function<void()> endApplication;
        // The discount table box and its dialog; headless mode has neither.
        DiscountTableView* tableView = nullptr;
        DiscountTableDialogFactory* tableDialogs = nullptr;
    };

    TFLeitorProdutos(std::unique_ptr<TdmGerente> dmGerente, Services services);
    ~TFLeitorProdutos();

    // Starts the terminal server, reads the settings and opens CONEXAO. Raises what went
    // wrong; the steps after it are skipped.
    void FormCreate();
    // Runs on every way of closing: data module first, then the main connection.
    void FormClose();

    void ConsultarPreco(int32_t terminal, const std::string& barcode);

    // The operator's handlers; each may raise, to be reported at the event's edge.
    void ListBConecClick() { configEditing_.ListBConecClick(); }
    void bConfigurClick() { configEditing_.bConfigurClick(); }
    void bSalvarClick() { configEditing_.bSalvarClick(); }
    void checkTabelaClick();

    TerminalPolling& polling() { return polling_; }
    Connection* conexao() { return CONEXAO.get(); }
    TdmGerente* dmGerente() { return dmGerente_.get(); }

    int32_t FTabelaDesconto = 0;
    int32_t FCodLogica = 0;
    int32_t FTerminalConfig = -1;

private:
    // In the order the close handler releases them: the data module (its QDSP runs on
    // CONEXAO), then the queries on CONEXAO, then CONEXAO itself.
    void releaseDatabase();
    std::optional<DiscountTableChoice> makeTableChoice();

    std::unique_ptr<TdmGerente> dmGerente_;
    Services services_;
    std::unique_ptr<Connection> CONEXAO;
    std::unique_ptr<Query> QPesquisaProd, QTemp, QTemp2;
    ScanAnswers answers_;
    std::unique_ptr<PriceQuery> priceQuery_;
    TerminalPolling polling_;
    ConfigEditing configEditing_{services_.library, services_.panel, services_.prompter,
                                 polling_.tabConectados(), FTerminalConfig};
    std::optional<DiscountTableChoice> tableChoice_ = makeTableChoice();
};

} // namespace precivox
