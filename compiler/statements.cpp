// Statements the driver compiles itself: number literals, e and pi, DupN and
// SwapN, $Adres, Rol, Timer, Series and Send, and address-of.
#include <cmath>

#include "compiler/compiler.h"
#include "compiler/messages.h"
#include "machine/cp1251.h"
#include "machine/numbers.h"
#include "machine/opcodes.h"

namespace zr::compiler {

using machine::ReadNumber;
using machine::RoundHalfEven;

bool Compiler::CompileSingleByte(const std::string& word) {
    Emit(machine::LowerCase(word) == "e" ? machine::kE : machine::kPi);
    return true;
}

// Number literal: PushByte for 0..255, PushInt for other whole numbers within
// +-32766, PushSingle for the rest (so 255 takes two bytes, 256 three, 2.5 five).
bool Compiler::CompileNumber(const std::string& word) {
    const double value = ReadNumber(word);
    const bool whole = std::isfinite(value) && value == std::trunc(value);
    if (whole && value >= 0 && value <= 255) {
        Emit(machine::kPushByte);
        Emit(static_cast<int>(value));
    } else if (whole && value >= -32766 && value <= 32766) {
        Emit(machine::kPushInt);
        EmitInteger(value);
    } else {
        Emit(machine::kPushSingle);
        EmitSingle(value);
    }
    return true;
}

// DupN n and SwapN n: the count 2..32 as one byte.
bool Compiler::CompileCountedByte(const std::string& word) {
    Emit(machine::LowerCase(word) == "dupn" ? machine::kDupN : machine::kSwapN);
    const double count = ReadNumber(Next());
    if (!(count >= 2 && count <= 32)) return Fail(messages::kStackOverflow);
    Emit(static_cast<int>(RoundHalfEven(count)));
    return true;
}

// $Adres n: the next statement compiles at address n; writes nothing.
bool Compiler::CompileAdres(const std::string&) {
    const double address = ReadNumber(Next());
    if (!(address >= 1 && address <= machine::kProgramSize))
        return Fail(messages::kBadCompileAddress);
    compileAddress = static_cast<int>(RoundHalfEven(address));
    return true;
}

// Rol p q: rotate slots p..X |q| times, backwards when q < 0.
// Parameter byte: p OR ((|q| - 1) * 16) OR (128 when q < 0); p = 16 merges its
// bit 4 into the count field.
bool Compiler::CompileRol(const std::string&) {
    Emit(machine::kRol);
    const double p = ReadNumber(Next());
    if (!(p >= 3 && p <= 16)) return Fail(messages::kBadParameter);
    const double q = ReadNumber(Next());
    if (!(q >= -8 && q <= 8) || q == 0) return Fail(messages::kBadParameter);
    const int slot = static_cast<int>(RoundHalfEven(p));
    const int times = static_cast<int>(RoundHalfEven(std::fabs(q)));
    Emit(slot | ((times - 1) * 16) | (q < 0 ? 128 : 0));
    return true;
}

// Timer label / Events label: the instruction and the handler's program address.
// (Events takes its address here too: standing alone, its operand would be
// whatever the next statement happens to write.)
bool Compiler::CompileTimer(const std::string& word) {
    Emit(machine::LowerCase(word) == "timer" ? machine::kTimer : machine::kEvents);
    return EmitLabelAddress(Next());
}

// Series (c) array / Send array: the operands of the array's first and last element.
bool Compiler::CompileBlockTransfer(const std::string& word) {
    const bool series = machine::LowerCase(word) == "series";
    int channel = 0;
    if (series) {
        if (Next() != "(") return Fail(messages::kSyntaxError);
        const double value = ReadNumber(Next());
        if (Next() != ")") return Fail(messages::kSyntaxError);
        const auto rounded = machine::RoundToRange(value, 1, 4);
        if (!rounded) return Fail(messages::kBadChannel);
        channel = static_cast<int>(*rounded);
    }
    const int slot = LookUpName(Next());
    if (slot == 0) return Fail(messages::kArrayNameExpected);
    const NameRecord& record = names[slot];
    if (record.kind != NameKind::SingleArray && record.kind != NameKind::IntegerArray &&
        record.kind != NameKind::ByteArray)
        return Fail(messages::kNotAnArray);
    const int first = VariableOperand(record);
    Emit(series ? machine::kSeries : machine::kSend);
    if (series) Emit(channel);
    Emit(first);
    Emit(first + record.size - 1);
    return true;
}

// name#: PushInt with a label's program address, or a variable's area index
// (+128 for Integer kinds); a name declared later is filled in at the end.
// iM name: the load of a simple variable, written with its instruction word.
bool Compiler::CompileExplicitLoad(const std::string&) {
    const int slot = LookUpName(Next());
    if (slot == 0 || names[slot].kind == NameKind::Label) return Fail(messages::kSyntaxError);
    const NameRecord& record = names[slot];
    if (ElementCount(record) != 1) return Fail(messages::kSimpleVariableOrConstant);
    Emit(machine::kiM);
    Emit(VariableOperand(record));
    return true;
}

bool Compiler::CompileAddressOf(const std::string& word) {
    const std::string name = word.substr(0, word.size() - 1);
    Emit(machine::kPushInt);
    const int slot = FindNameOrDeferWord(name);
    if (slot == 0) return true;
    const NameRecord& record = names[slot];
    const bool integerKind =
        record.kind == NameKind::Integer || record.kind == NameKind::IntegerArray;
    EmitInteger(record.address + (integerKind ? machine::kIntegerOperandBase : 0));
    return true;
}

}  // namespace zr::compiler
