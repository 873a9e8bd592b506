#include "OpenFilesLimit.h"
#include "PrecivoxProgram.h"

int main(int argc, char** argv) {
    precivox::raiseOpenFilesLimit();
    return precivox::runPrecivox(argc, argv);
}
