#pragma once

#include "ClientDataSet.h"
#include "Connection.h"
#include "Query.h"
#include "Variant.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace precivox {

class Prompter;

// The manager data module: the rule engine's database toolbox, with a connection of its
// own. Exactly one exists while the program runs, made before the main window.
// Scalar queries run on BancodeDados; client data sets are filled through QDSP, which
// runs on the main window's connection once bindQDSP has been called.
class TdmGerente {
public:
    TdmGerente(Prompter& prompter, std::filesystem::path settingsFile);
    ~TdmGerente();
    TdmGerente(const TdmGerente&) = delete;
    TdmGerente& operator=(const TdmGerente&) = delete;

    // Reads the database settings and connects BancodeDados. Raises what went wrong;
    // whatever was read before the error stays in force, and the first statement that
    // needs the connection opens it.
    void DataModuleCreate();

    // Binds QDSP to the main window's connection, which must outlive this module.
    void bindQDSP(Connection& CONEXAO);

    // A closed query on BancodeDados, owned by the caller.
    std::unique_ptr<Query> NewQuery();
    // The first column of the first row; null without rows. On failure shows the error
    // box "Erro..." with the statement, then raises the error once the box is closed.
    Variant ExecuteScalar(const std::string& sql);
    // As ExecuteScalar, with the default in place of null (only of null).
    Variant ExecuteScalarDef(const std::string& sql, const Variant& defaultValue);

    // A closed client data set filled through QDSP, owned by the caller.
    std::unique_ptr<ClientDataSet> NewClientDataSet();
    // Runs right before a client data set opens: QDSP takes its command and parameters.
    void ClientDataSetBeforeOpen(const ClientDataSet& dataSet);
    // The data set of the statement with the i-th value in its i-th ":name" parameter.
    // On failure the error's message is shown and the data set comes back closed.
    std::unique_ptr<ClientDataSet> OpenClientDataSet(const std::string& sql,
                                                     const std::vector<Variant>& values);
    // Refuses every write-back of a client data set.
    [[noreturn]] void DSPBeforeApplyUpdates();

    Connection& bancodeDados() { return BancodeDados; }

private:
    class Provider;

    Prompter& prompter_;
    std::filesystem::path settingsFile_;
    Connection BancodeDados;
    std::unique_ptr<Query> QDSP;
    std::unique_ptr<Provider> DSP;
};

} // namespace precivox
