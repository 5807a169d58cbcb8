#pragma once
// The folders tests read. The built programs (game, wdmtool) and the drawn
// content pack "data" sit beside the test executables; the source folders
// reach the tests through CTest's environment. No folder name is compiled in,
// so a test file compiles to the same object in every checkout and comes out
// of the compiler cache.

#include "shared/paths.h"

#include <cstdlib>
#include <string>

namespace test_dirs {

// The folder of the running test executable, where the build puts every program.
inline std::string Bin() { return paths::ProgramFolder(); }

// The drawn content pack beside the programs.
inline std::string Pack() { return Bin() + "/data"; }

// The source tree's content folder (content/): maps, sources of the pack.
// Empty when the test runs outside CTest.
inline std::string ContentSource() {
    const char* dir = std::getenv("LUMO_CONTENT_SOURCE");
    return dir ? dir : "";
}

}  // namespace test_dirs
