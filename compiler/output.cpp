// Text output statements "?" and "!", Segm, and the placing of data lists.
#include "compiler/compiler.h"
#include "compiler/messages.h"

namespace zr::compiler {

bool Compiler::CompileInputPrompt(const std::string&) {
    return Fail(messages::kSyntaxError);
}
bool Compiler::CompilePrintList(const std::string&) {
    return Fail(messages::kSyntaxError);
}
bool Compiler::CompileSegm(const std::string&) {
    return Fail(messages::kSyntaxError);
}
bool Compiler::EmitDataLists() {
    return true;
}

}  // namespace zr::compiler
