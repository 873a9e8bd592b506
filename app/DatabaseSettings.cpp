#include "DatabaseSettings.h"

#include "Cipher.h"
#include "IniProfile.h"

namespace precivox {

namespace {

constexpr size_t kParameterLimit = 255;

std::string firstCharacters(std::string text) {
    if (text.size() > kParameterLimit)
        text.resize(kParameterLimit);
    return text;
}

} // namespace

std::string unscrambleDatabasePassword(std::string_view senha) {
    return CifraSenha("D", senha, kPasswordKey);
}

void readDatabaseSettings(const std::filesystem::path& settingsFile, DatabaseSettings& settings) {
    settings.database =
        firstCharacters(readProfileString(settingsFile, "ip", "database", "gerente"));
    settings.host = firstCharacters(readProfileString(settingsFile, "ip", "local", "192.168.0.3"));
    settings.password = firstCharacters(unscrambleDatabasePassword(
        readProfileString(settingsFile, "ip", "senha", "7E90C55B1AD8F3E06B2C")));
}

} // namespace precivox
