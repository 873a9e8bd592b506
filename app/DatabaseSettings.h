#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace precivox {

// The parameters of a database connection that the settings file's section "ip" sets.
// A connection is made with these initial values; readDatabaseSettings replaces them.
// The key with which the "senha" value is scrambled and unscrambled.
inline constexpr const char* kPasswordKey = "QXW";

struct DatabaseSettings {
    std::string database = "gerente";
    std::string host = "192.168.0.3";
    std::string password = "907381kzt";
};

// Reads "database", "local" and "senha" of section "ip" in that order, each replacing its
// field (cut to 255 characters) as soon as it is read; missing keys give their defaults.
// A "senha" that does not unscramble raises ConversionError after database and host have
// been replaced, with the password left as it was.
void readDatabaseSettings(const std::filesystem::path& settingsFile, DatabaseSettings& settings);

// The stored "senha" text turned into the password (Latin-1 bytes). Raises
// ConversionError.
std::string unscrambleDatabasePassword(std::string_view senha);

} // namespace precivox
