#include "PrecivoxProgram.h"

int main(int argc, char** argv) {
    return precivox::runPrecivox(argc, argv);
}
