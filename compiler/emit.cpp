// Reading words, writing bytes and recording messages: the primitives every
// statement handler uses.
#include <cmath>

#include "compiler/compiler.h"
#include "compiler/internal.h"
#include "compiler/scanner.h"
#include "machine/numbers.h"

namespace zr::compiler {

std::string Compiler::Next() {
    tokenFrom_ = position_;
    std::string token = ScanToken(CurrentText(), position_, stringLiteral_);
    errorLength = position_ - errorStart;
    return token;
}

std::string Compiler::PeekNext() const {
    std::int32_t position = position_;
    bool stringLiteral = false;
    return ScanToken(CurrentText(), position, stringLiteral);
}

bool Compiler::AtEnd() const {
    return position_ > static_cast<std::int64_t>(CurrentText().size());
}

void Compiler::Emit(int byte) {
    if (compileAddress < 1 || compileAddress > machine::kProgramSize)
        throw InternalFault("write beyond the program memory");
    if (byte < 0 || byte > 255) throw InternalFault("value too large for a byte");
    programImage[compileAddress++] = static_cast<std::uint8_t>(byte);
}

void Compiler::PatchInteger(int address, double value) {
    const auto whole = machine::RoundToRange(value, -32767, 32767);
    if (!whole || address < 1) throw InternalFault("value too large for a word");
    machine::StoreInteger(programImage, address, static_cast<int>(*whole));
}

void Compiler::EmitInteger(double value) {
    if (compileAddress < 1) throw InternalFault("write outside the program memory");
    PatchInteger(compileAddress, value);
    compileAddress += 2;
}

void Compiler::EmitSingle(double value) {
    const auto single = static_cast<float>(value);
    if (!std::isfinite(single)) throw InternalFault("value too large for a Single");
    if (compileAddress < 1) throw InternalFault("write outside the program memory");
    machine::StoreSingle(programImage, compileAddress, single);
    compileAddress += 4;
}

bool Compiler::Fail(std::string_view message, MessageStyle style) {
    messages.push_back({std::string(message), style, errorStart, errorLength, sourceIndex_});
    compileFailed = true;
    return false;
}

void Compiler::AddStatement(std::int32_t position, const std::string& word) {
    if (static_cast<int>(statementMap.size()) >= kStatementMapSize)
        throw InternalFault("statement map full");
    statementMap.push_back({position, word, compileAddress, sourceIndex_});
}

int Compiler::LookUpName(const std::string& name) {
    if (observer) observer->NameUsed(name, sourceIndex_, tokenFrom_, position_);
    return names.FindName(name);
}

int Compiler::DeclareName(NameRecord record, std::int32_t scanFrom) {
    const int slot = names.Add(std::move(record));
    if (observer) observer->NameDeclared(slot, names[slot], scanFrom, position_);
    return slot;
}

int Compiler::FindNameOrDeferWord(const std::string& name) {
    const int slot = LookUpName(name);
    if (slot == 0) {
        AddForwardReference(name, ForwardReference::kAbsolute, compileAddress);
        EmitInteger(0);
    }
    return slot;
}

void Compiler::AddForwardReference(const std::string& name, ForwardReference::Form form, int slot) {
    if (static_cast<int>(forwardReferences_.size()) >= kMaxForwardReferences)
        throw InternalFault("forward reference table full");
    forwardReferences_.push_back({name, form, slot, errorStart, errorLength, sourceIndex_});
}

}  // namespace zr::compiler
