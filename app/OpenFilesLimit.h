#pragma once

namespace precivox {

// Every connected terminal holds a descriptor: with the usual soft limit of 1024 the last
// of the 1024 terminal slots could never be reached. Raises the soft limit towards 4096,
// within the hard limit; nothing happens where it is already higher.
void raiseOpenFilesLimit();

} // namespace precivox
