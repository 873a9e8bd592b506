#include "ManagerDataModule.h"

#include "ConnectionSettings.h"
#include "ErrorReporting.h"
#include "Errors.h"
#include "Latin1.h"
#include "Prompter.h"

namespace precivox {

class TdmGerente::Provider : public ClientDataSetProvider {
public:
    explicit Provider(TdmGerente& module) : module_(module) {}

    ResultSet fetch(const ClientDataSet& dataSet) override {
        module_.ClientDataSetBeforeOpen(dataSet);
        module_.QDSP->open();
        return module_.QDSP->takeResult();
    }
    void beforeApplyUpdates(const ClientDataSet&) override { module_.DSPBeforeApplyUpdates(); }

private:
    TdmGerente& module_;
};

TdmGerente::TdmGerente(Prompter& prompter, std::filesystem::path settingsFile)
    : prompter_(prompter), settingsFile_(std::move(settingsFile)),
      BancodeDados(initialConnectionParameters()), DSP(std::make_unique<Provider>(*this)) {}

TdmGerente::~TdmGerente() = default;

void TdmGerente::DataModuleCreate() {
    readConnectionSettings(settingsFile_, BancodeDados.parameters());
    BancodeDados.open();
}

void TdmGerente::bindQDSP(Connection& CONEXAO) {
    QDSP = std::make_unique<Query>(CONEXAO);
}

std::unique_ptr<Query> TdmGerente::NewQuery() {
    return std::make_unique<Query>(BancodeDados);
}

Variant TdmGerente::ExecuteScalar(const std::string& sql) {
    std::unique_ptr<Query> query = NewQuery();
    query->setSql(sql);
    try {
        query->open();
    } catch (const Error& error) {
        // Server messages and statements are Latin-1; the box takes UTF-8.
        prompter_.showMessage("Erro...",
                              "Erro no método executescalar, erro: " + latin1ToUtf8(error.what()) +
                                  "\r\nComando: " + latin1ToUtf8(sql),
                              MessageIcon::error);
        throw;
    }
    return query->isEmpty() ? Variant() : query->field(0).value();
}

Variant TdmGerente::ExecuteScalarDef(const std::string& sql, const Variant& defaultValue) {
    Variant value = ExecuteScalar(sql);
    return value.isNull() ? defaultValue : value;
}

std::unique_ptr<ClientDataSet> TdmGerente::NewClientDataSet() {
    return std::make_unique<ClientDataSet>(*DSP);
}

void TdmGerente::ClientDataSetBeforeOpen(const ClientDataSet& dataSet) {
    if (!QDSP)
        throw DatabaseError("QDSP: the main connection is not bound yet");
    QDSP->setSql(dataSet.commandText());
    if (!dataSet.params().empty())
        QDSP->params() = dataSet.params();
}

std::unique_ptr<ClientDataSet> TdmGerente::OpenClientDataSet(const std::string& sql,
                                                             const std::vector<Variant>& values) {
    std::unique_ptr<ClientDataSet> dataSet = NewClientDataSet();
    dataSet->setCommandText(sql);
    try {
        SqlParameters& params = dataSet->params();
        for (size_t i = 0; i < values.size(); ++i) {
            if (i >= params.size())
                throw DatabaseError("List index out of bounds (" + std::to_string(i) + ")");
            params[i].value = values[i];
        }
        dataSet->open();
    } catch (const Error& error) {
        prompter_.showMessage(kApplicationTitle, latin1ToUtf8(error.what()), MessageIcon::none);
    }
    return dataSet;
}

void TdmGerente::DSPBeforeApplyUpdates() {
    throw DatabaseError("Não é possivel salvar essas alterações para o banco de dados");
}

} // namespace precivox
