#pragma once

#include "Connection.h"

#include <filesystem>

namespace precivox {

// What a connection is made with before the settings are read: user "root", port 3306,
// and the components' initial host, database and password.
ConnectionParameters initialConnectionParameters();

// Replaces database, host and password from the settings file's section "ip". When the
// password does not unscramble, database and host are already replaced, the password
// keeps its value, and the ConversionError is raised.
void readConnectionSettings(const std::filesystem::path& settingsFile,
                            ConnectionParameters& parameters);

} // namespace precivox
