// Where the example programs shipped with the environment are.
#pragma once

#include <QString>

namespace zr::shell {

// The "examples" folder beside the program file (the build places a copy of
// the examples there); the environment variable ZR7340_EXAMPLES_DIR names
// another folder.
QString ExamplesFolder();

}  // namespace zr::shell
