// DO / LOOP with their criteria, and OnX.
#include "compiler/compiler.h"
#include "compiler/messages.h"

namespace zr::compiler {

bool Compiler::CompileDo(const std::string&) {
    return Fail(messages::kSyntaxError);
}
bool Compiler::CompileLoop(const std::string&) {
    return Fail(messages::kSyntaxError);
}
bool Compiler::CompileOnX(const std::string&) {
    return Fail(messages::kSyntaxError);
}

}  // namespace zr::compiler
