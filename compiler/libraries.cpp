// $Lib and the linking of libraries behind the main program.
#include "compiler/compiler.h"
#include "compiler/messages.h"

namespace zr::compiler {

bool Compiler::CompileLibDirective(const std::string&) {
    return Fail(messages::kSyntaxError);
}
bool Compiler::LinkLibraries() {
    return true;
}

}  // namespace zr::compiler
