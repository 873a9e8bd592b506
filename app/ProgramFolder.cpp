#include "ProgramFolder.h"

#include "Errors.h"

#include <filesystem>
#include <system_error>

namespace precivox {

std::string programFolder() {
    std::error_code error;
    // The link resolves any symbolic links on the way; a replaced program file gets
    // " (deleted)" after its name, which leaves the folder as it is.
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        throw Error("The program's folder cannot be found: " + error.message());
    std::string folder = program.parent_path().string();
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

} // namespace precivox
