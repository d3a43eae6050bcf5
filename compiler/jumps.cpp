// Conditions, IF / ELSE / THEN, GoTo / Call / Ret, and the pass that fills in
// names used before their declaration.
#include "compiler/compiler.h"
#include "compiler/messages.h"
#include "machine/cp1251.h"
#include "machine/encodings.h"
#include "machine/opcodes.h"

namespace zr::compiler {
namespace {

enum JumpKind { kCall = 1, kRet = 2, kGoTo = 3 };

// The test instruction of each condition word; 0 for the words whose
// conditional instruction takes the value already on the stack.
int ConditionOpcode(const std::string& lower) {
    static const std::pair<std::string_view, int> kConditions[] = {
        {"<0", machine::kLessZero},
        {"<=0", machine::kLessEqualZero},
        {"=0", machine::kEqualZero},
        {">0", machine::kGreaterZero},
        {">=0", machine::kGreaterEqualZero},
        {"<>0", machine::kNotEqualZero},
        {"><0", machine::kNotEqualZero},
        {"=", machine::kEqual},
        {"<>", machine::kNotEqual},
        {"><", machine::kNotEqual},
        {"<", machine::kLess},
        {"<=", machine::kLessEqual},
        {">", machine::kGreater},
        {">=", machine::kGreaterEqual},
    };
    for (const auto& [word, opcode] : kConditions)
        if (lower == word) return opcode;
    return 0;  // "stack>x", "port>0"
}

// ShortOffset of a jump at `jumpAddress` to `target`: the offset byte stands
// after the jump and the interpreter adds it to the address after itself - 129.
constexpr int kShortBias = 127;
bool FitsShortJump(int distance) {
    return distance >= -127 && distance <= 128;
}

}  // namespace

bool Compiler::CompileJumpStatement(const std::string& word) {
    const std::string lower = machine::LowerCase(word);
    return CompileJumpTarget(lower == "call" ? kCall : lower == "ret" ? kRet : kGoTo, false);
}

// The target forms: "@ L" or "@L" (short relative), "L" (absolute word), "x"
// (from X), "r@ v" (from a variable). Ret takes no target.
bool Compiler::CompileJumpTarget(int kind, bool conditional) {
    if (kind == kRet) {
        Emit(conditional ? machine::kRetIf : machine::kRet);
        return true;
    }
    const int base = kind == kCall ? (conditional ? machine::kCallIfBase : machine::kCallBase)
                                   : (conditional ? machine::kGoToIfBase : machine::kGoToBase);
    const std::string target = Next();
    const std::string lower = machine::LowerCase(target);

    if (lower == "x") {
        Emit(base | static_cast<int>(machine::AddressMode::FromX));
        return true;
    }
    if (lower == "r@") {
        Emit(base | static_cast<int>(machine::AddressMode::FromVariable));
        const int slot = LookUpName(Next());
        if (slot == 0) return Fail(messages::kReferenceExpected);
        const NameRecord& record = names[slot];
        if (static_cast<int>(record.kind) > static_cast<int>(NameKind::IntegerArray))
            return Fail(messages::kVariableExpected);
        Emit(VariableOperand(record));
        return true;
    }
    if (!target.empty() && target[0] == '@') {
        const int jumpAddress = compileAddress;
        Emit(base | static_cast<int>(machine::AddressMode::Short));
        const std::string name = target.size() > 1 ? target.substr(1) : Next();
        const int slot = LookUpName(name);
        if (slot == 0) {
            AddForwardReference(name, ForwardReference::kShortOffset, compileAddress);
            Emit(0);
            return true;
        }
        if (names[slot].kind != NameKind::Label) return Fail(messages::kNotAProgram);
        const int distance = names[slot].address - jumpAddress;
        if (!FitsShortJump(distance)) return Fail(messages::kShortAddressOnly);
        Emit(distance + kShortBias);
        return true;
    }

    Emit(base | static_cast<int>(machine::AddressMode::Absolute));
    return EmitLabelAddress(target);
}

// A label's program address as a word; a name not declared yet is filled in
// at the end.
bool Compiler::EmitLabelAddress(const std::string& name) {
    const int slot = FindNameOrDeferWord(name);
    if (slot == 0) return true;
    const NameRecord& record = names[slot];
    if (record.kind != NameKind::Label) return Fail(messages::kNotAProgram);
    if (record.address < 1 || record.address > 32000) return Fail(messages::kBadAddress);
    EmitInteger(record.address);
    return true;
}

// A condition word, then goto / call / ret or IF. The word after the condition
// counts as a statement of its own in the statement map.
bool Compiler::CompileCondition(const std::string& word) {
    if (const int opcode = ConditionOpcode(machine::LowerCase(word))) Emit(opcode);

    const std::int32_t position = position_;
    const std::string next = Next();
    AddStatement(position, next);
    const std::string lower = machine::LowerCase(next);
    if (lower == "goto") return CompileJumpTarget(kGoTo, true);
    if (lower == "call") return CompileJumpTarget(kCall, true);
    if (lower == "ret") return CompileJumpTarget(kRet, true);
    if (lower != "if") return Fail(messages::kSyntaxError);

    // IF: SkipIfZero and its skip byte, filled in by ELSE or THEN.
    Emit(machine::kSkipIfZero);
    if (static_cast<int>(ifStack_.size()) >= kMaxIfDepth) return Fail(messages::kTooManyNestedIfs);
    ifStack_.push_back({compileAddress, errorStart, false});
    Emit(0);
    return true;
}

// ELSE: the IF's skip byte jumps past the goto written here; that goto's
// offset byte is filled in by THEN.
bool Compiler::CompileElse(const std::string&) {
    if (ifStack_.empty()) return Fail(messages::kElseWithoutIf);
    IfRecord& record = ifStack_.back();
    // From the byte after the skip byte to the byte after the two-byte goto.
    const int skip = compileAddress - record.slot + 1;
    if (skip < 2 || skip > 128) return Fail(messages::kShortAddressOnly);
    programImage[record.slot] = static_cast<std::uint8_t>(skip);

    Emit(machine::kGoToBase | static_cast<int>(machine::AddressMode::Short));
    record = {compileAddress, errorStart, true};
    Emit(0);
    return true;
}

// THEN: the construct ends here; the open slot lands on this position.
bool Compiler::CompileThen(const std::string&) {
    if (ifStack_.empty()) return Fail(messages::kThenWithoutIf);
    const IfRecord record = ifStack_.back();
    ifStack_.pop_back();
    // An ELSE goto's ShortOffset counts from the goto; the IF's skip byte
    // counts from the byte after itself.
    const int value =
        record.elseJump ? compileAddress - record.slot + 128 : compileAddress - record.slot - 1;
    if (value < 0 || value > 255) return Fail(messages::kShortAddressOnly);
    programImage[record.slot] = static_cast<std::uint8_t>(value);
    return true;
}

bool Compiler::ResolveForwardReferences() {
    for (const ForwardReference& reference : forwardReferences_) {
        const int slot = names.FindName(reference.name);
        if (slot == 0) {
            errorStart = reference.lineStart;
            errorLength = reference.column;
            return FailIn(reference.sourceIndex, messages::kLabelNotFound);
        }
        const NameRecord& record = names[slot];
        switch (reference.form) {
            case ForwardReference::kAbsolute:
                PatchInteger(reference.slot, record.address);
                break;
            case ForwardReference::kParameter:
                PatchInteger(reference.slot,
                             record.kind == NameKind::Label
                                 ? record.address
                                 : machine::kVariableWordBase + VariableOperand(record));
                break;
            case ForwardReference::kShortOffset: {
                // The jump instruction stands one byte before its offset byte.
                const int distance = record.address - (reference.slot - 1);
                if (!FitsShortJump(distance)) {
                    errorStart = reference.lineStart;
                    errorLength = reference.column;
                    return FailIn(reference.sourceIndex, messages::kShortAddressOnly);
                }
                programImage[reference.slot] = static_cast<std::uint8_t>(distance + kShortBias);
                break;
            }
        }
    }
    return true;
}

// An IF still open at the end of a text: select the statement that opened it.
bool Compiler::CheckOpenIf() {
    if (ifStack_.empty()) return true;
    errorStart = ifStack_.back().lineStart;
    errorLength = 6;
    return Fail(messages::kIfWithoutThen);
}

}  // namespace zr::compiler
