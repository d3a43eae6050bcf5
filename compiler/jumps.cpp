// Conditions, IF / ELSE / THEN, GoTo / Call / Ret, and the pass that fills in
// names used before their declaration.
#include "compiler/compiler.h"
#include "compiler/messages.h"
#include "machine/opcodes.h"

namespace zr::compiler {

bool Compiler::CompileJumpStatement(const std::string&) {
    return Fail(messages::kSyntaxError);
}
bool Compiler::CompileJumpTarget(int, bool) {
    return Fail(messages::kSyntaxError);
}
bool Compiler::CompileCondition(const std::string&) {
    return Fail(messages::kSyntaxError);
}
bool Compiler::CompileElse(const std::string&) {
    return Fail(messages::kSyntaxError);
}
bool Compiler::CompileThen(const std::string&) {
    return Fail(messages::kSyntaxError);
}

bool Compiler::ResolveForwardReferences() {
    for (const ForwardReference& reference : forwardReferences_) {
        const int slot = names.FindName(reference.name);
        if (slot == 0) {
            errorStart = reference.lineStart;
            errorLength = reference.column;
            return Fail(messages::kLabelNotFound);
        }
        const NameRecord& record = names[slot];
        switch (reference.form) {
            case ForwardReference::kAbsolute:
                PatchInteger(reference.slot, record.address);
                break;
            case ForwardReference::kVariableWord:
                PatchInteger(reference.slot, 32500 + VariableOperand(record));
                break;
            case ForwardReference::kShortOffset: {
                // The jump instruction stands one byte before its offset byte.
                const int distance = record.address - reference.slot + 1;
                if (distance < -127 || distance > 128) {
                    errorStart = reference.lineStart;
                    errorLength = reference.column;
                    return Fail(messages::kShortAddressOnly);
                }
                programImage[reference.slot] = static_cast<std::uint8_t>(distance + 127);
                break;
            }
        }
    }
    return true;
}

bool Compiler::CheckOpenIf() {
    if (ifStack_.empty()) return true;
    errorStart = ifStack_.back().lineStart;
    errorLength = 6;
    return Fail(messages::kIfWithoutThen);
}

}  // namespace zr::compiler
