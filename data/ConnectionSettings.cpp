#include "ConnectionSettings.h"

#include "DatabaseSettings.h"

namespace precivox {

namespace {

void apply(const DatabaseSettings& settings, ConnectionParameters& parameters) {
    parameters.database = settings.database;
    parameters.host = settings.host;
    parameters.password = settings.password;
}

} // namespace

ConnectionParameters initialConnectionParameters() {
    ConnectionParameters parameters;
    apply(DatabaseSettings{}, parameters);
    return parameters;
}

void readConnectionSettings(const std::filesystem::path& settingsFile,
                            ConnectionParameters& parameters) {
    DatabaseSettings settings;
    settings.password = parameters.password;
    try {
        readDatabaseSettings(settingsFile, settings);
    } catch (...) {
        apply(settings, parameters);
        throw;
    }
    apply(settings, parameters);
}

} // namespace precivox
