// DO / LOOP in their counted, compare and criteria-list forms, OnX, and the
// bracketed parameter lists both carry.
#include <algorithm>

#include "compiler/compiler.h"
#include "compiler/internal.h"
#include "compiler/messages.h"
#include "machine/cp1251.h"
#include "machine/encodings.h"
#include "machine/numbers.h"
#include "machine/opcodes.h"

namespace zr::compiler {
namespace {

using machine::kVariableWordBase;  // limits and parameters naming a variable

// The predeclared loop variables i..o sit in name-table slots 5..11.
constexpr int kFirstLoopVariableSlot = 5;
constexpr int kLastLoopVariableSlot = 11;

constexpr long kMinWord = -32766;
constexpr long kMaxWord = 32766;
constexpr long kMaxLimit = kVariableWordBase;  // anything above reads as a variable
constexpr long kMinOnXEntry = -32760;

// Loop, 7B d b (d: machine/encodings.h); b is the body length + 1, the back
// jump landing at (address of 7B) + 1 - b; then a limit word (counted,
// compare) or n words (criteria, the value-list form).
constexpr int kModeEqual = machine::kLoopDownOrEqual;
constexpr int kModeStepDown = machine::kLoopDownOrEqual;
constexpr int kModeCriteria = machine::kLoopValueList;
constexpr int kMaxCriteria = machine::kLoopListCountBits;

// OnX, 75 h (machine/encodings.h), then n words. Longer lists would spill
// into the mode bits.
constexpr int kMaxOnXEntries = machine::kOnXCountBits;

struct OnXMode {
    std::string_view word;
    int bits;
};
constexpr OnXMode kOnXModes[] = {
    {"x", 0 << machine::kOnXModeShift},     // search the list for X
    {"call", 1 << machine::kOnXModeShift},  // call the address in entry X
    {"ret", 2 << machine::kOnXModeShift},   // push entry X
    {"goto", 3 << machine::kOnXModeShift},  // jump to the address in entry X
};

bool IsLoopLimitKind(NameKind kind) {
    return kind == NameKind::Single || kind == NameKind::SingleArray || kind == NameKind::Integer ||
           kind == NameKind::IntegerArray;
}

}  // namespace

// ---- DO ----

// do + v = start >> limit | do - v = ... | do = limit | do <> limit | do [n, ...]
bool Compiler::CompileDo(const std::string&) {
    if (static_cast<int>(loopStack_.size()) >= kMaxLoopDepth) return Fail(messages::kTooManyLoops);
    LoopRecord loop;
    const std::string form = Next();
    bool compiled = false;
    if (form == "+" || form == "-") {
        compiled = CompileCountedDo(loop, form == "-");
    } else if (form == "=" || form == "<>" || form == "><") {
        loop.form = form == "=" ? LoopRecord::kEqual : LoopRecord::kNotEqual;
        loop.name = form;
        compiled = ReadLoopLimit(loop);
        loop.start = compileAddress;
    } else if (form == "[") {
        compiled = CompileCriteriaDo(loop);
    } else {
        return Fail(messages::kSyntaxErrorSign);
    }
    if (!compiled) return false;
    // The statement as read so far: forward references of a criteria list
    // point back here when LOOP records them.
    loop.lineStart = errorStart;
    loop.column = errorLength;
    loopStack_.push_back(std::move(loop));
    return true;
}

// v = start >> limit: the start value goes into v now (PushInt or iM, then Mv);
// the limit is written by LOOP.
bool Compiler::CompileCountedDo(LoopRecord& loop, bool stepDown) {
    loop.form = LoopRecord::kCounted;
    loop.stepDown = stepDown;
    loop.name = Next();
    const int slot = LookUpName(loop.name);
    if (slot < kFirstLoopVariableSlot || slot > kLastLoopVariableSlot)
        return Fail(messages::kLoopVariableExpected);
    if (Next() != "=") return Fail(messages::kSyntaxError);
    if (!CompileLoopStartValue()) return false;
    Emit(machine::kMv);
    Emit(VariableOperand(names[slot]));

    loop.start = compileAddress;
    errorStart = position_;  // errors from here on select the limit part alone
    if (Next() != ">>") return Fail(messages::kSyntaxError);
    return ReadLoopLimit(loop);
}

bool Compiler::CompileLoopStartValue() {
    const std::string start = Next();
    if (machine::IsNumericText(start)) {
        const auto value = machine::RoundToRange(machine::ReadNumber(start), kMinWord, kMaxWord);
        if (!value) return Fail(messages::kOptionOverflow);
        Emit(machine::kPushInt);
        EmitInteger(static_cast<double>(*value));
        return true;
    }
    const int slot = LookUpName(start);
    if (slot == 0) return Fail(messages::kVariableRequired);
    if (names[slot].kind == NameKind::Label) return Fail(messages::kSyntaxError);
    Emit(machine::kiM);
    Emit(VariableOperand(names[slot]));
    return true;
}

// The limit word is kept for LOOP; a number is range-checked there, a name
// must already be a Single or Integer variable or array.
bool Compiler::ReadLoopLimit(LoopRecord& loop) {
    loop.limit = Next();
    if (machine::IsNumericText(loop.limit)) return true;
    const int slot = LookUpName(loop.limit);
    if (slot == 0) return Fail(messages::kVariableOrNumberRequired);
    if (!IsLoopLimitKind(names[slot].kind)) return Fail(messages::kBadParameter);
    return true;
}

// [first, p1, p2, ...]: the first number is pushed before the loop; the rest
// stay with this loop's record until its LOOP writes them.
bool Compiler::CompileCriteriaDo(LoopRecord& loop) {
    loop.form = LoopRecord::kCriteria;
    const std::string first = Next();
    if (!machine::IsNumericText(first)) return Fail(messages::kSyntaxError);
    const auto value = machine::RoundToRange(machine::ReadNumber(first), kMinWord, kMaxWord);
    if (!value) return Fail(messages::kOverflow);
    Emit(machine::kPushInt);
    EmitInteger(static_cast<double>(*value));

    if (!ParseParameterList(loop.parameters, kMaxCriteria)) return false;
    for (const Parameter& parameter : loop.parameters)
        if (parameter.name.empty() && !machine::RoundToRange(parameter.value, kMinWord, kMaxWord))
            return Fail(messages::kOverflow);
    loop.start = compileAddress;
    return true;
}

// ---- LOOP ----

// loop w: closes the innermost DO. The word after LOOP is always read; only a
// counted loop requires it to name its variable.
bool Compiler::CompileLoop(const std::string&) {
    const std::string word = Next();
    if (loopStack_.empty()) throw InternalFault("LOOP without DO");
    const LoopRecord loop = std::move(loopStack_.back());
    loopStack_.pop_back();

    int mode = 0;
    switch (loop.form) {
        case LoopRecord::kNotEqual:
            break;
        case LoopRecord::kEqual:
            mode = kModeEqual;
            break;
        case LoopRecord::kCriteria:
            mode = kModeCriteria + static_cast<int>(loop.parameters.size());
            break;
        case LoopRecord::kCounted: {
            if (machine::LowerCase(word) != machine::LowerCase(loop.name))
                return Fail(messages::kDoLoopMismatch);
            mode = names[LookUpName(word)].address;  // 1..7 for i..o
            break;
        }
    }
    if (loop.stepDown) mode += kModeStepDown;

    const int bodyLength = compileAddress - loop.start;  // the 7B follows the body
    Emit(machine::kLoop);
    Emit(mode);
    Emit(bodyLength + 1);

    if (loop.form != LoopRecord::kCriteria) return EmitLoopLimit(loop.limit);
    // Names still undeclared are filled in here, where their words stand, and
    // "Label not found!" selects the DO that named them.
    const std::size_t firstReference = forwardReferences_.size();
    EmitParameters(loop.parameters);
    for (std::size_t i = firstReference; i < forwardReferences_.size(); ++i) {
        forwardReferences_[i].lineStart = loop.lineStart;
        forwardReferences_[i].column = loop.column;
    }
    return true;
}

bool Compiler::EmitLoopLimit(const std::string& limit) {
    if (machine::IsNumericText(limit)) {
        const auto value = machine::RoundToRange(machine::ReadNumber(limit), kMinWord, kMaxLimit);
        if (!value) return Fail(messages::kNumericOverflow);
        EmitInteger(static_cast<double>(*value));
        return true;
    }
    const int slot = names.FindName(limit);  // checked by DO; names are never removed
    if (slot == 0) throw InternalFault("loop limit no longer declared");
    EmitInteger(kVariableWordBase + VariableOperand(names[slot]));
    return true;
}

// ---- OnX ----

// onx mode [p1, p2, ...]: 75, header, one word per entry.
bool Compiler::CompileOnX(const std::string&) {
    const std::string modeWord = machine::LowerCase(Next());
    const auto mode = std::find_if(std::begin(kOnXModes), std::end(kOnXModes),
                                   [&](const OnXMode& m) { return m.word == modeWord; });
    if (mode == std::end(kOnXModes)) return Fail(messages::kSyntaxError);
    if (Next() != "[") return Fail(messages::kSyntaxError);

    std::vector<Parameter> entries;
    if (!ParseParameterList(entries, kMaxOnXEntries)) return false;
    // Variables are refused: OnX compares and jumps on the words as written.
    for (const Parameter& entry : entries)
        if (entry.name.empty() && !machine::RoundToRange(entry.value, kMinOnXEntry, kMaxLimit))
            return Fail(messages::kBadParameter);

    Emit(machine::kOnX);
    Emit(mode->bits | static_cast<int>(entries.size()));
    EmitParameters(entries);
    return true;
}

// ---- Parameter lists ----

// After "[": numbers and names, commas optional, up to "]" on the same line.
bool Compiler::ParseParameterList(std::vector<Parameter>& parameters, int maxCount) {
    parameters.clear();
    while (true) {
        const std::string token = Next();
        if (token == ",") continue;
        if (token == "]") return true;
        // A line end or the end of the source cuts the list.
        if (token.empty() || token == "\r") return Fail(messages::kSyntaxError);
        // The header keeps the count in a few bits: a longer list would read
        // as another mode.
        if (static_cast<int>(parameters.size()) == maxCount) return Fail(messages::kOverflow);
        Parameter parameter;
        if (!ReadParameter(token, parameter)) return false;
        parameters.push_back(std::move(parameter));
    }
}

// A number, a label (its address), a variable (32500 + its VariableOperand), or
// a name declared further down (kept by name, filled in at the end).
bool Compiler::ReadParameter(const std::string& token, Parameter& parameter) {
    if (machine::IsNumericText(token)) {
        parameter.value = machine::ReadNumber(token);
        return true;
    }
    const int slot = LookUpName(token);
    if (slot == 0) {
        parameter.name = token;
        return true;
    }
    const NameRecord& record = names[slot];
    if (record.kind == NameKind::SingleArray || record.kind == NameKind::IntegerArray)
        return Fail(messages::kNumericParameterExpected);
    parameter.value = record.kind == NameKind::Label ? record.address
                                                     : kVariableWordBase + VariableOperand(record);
    return true;
}

void Compiler::EmitParameters(const std::vector<Parameter>& parameters) {
    for (const Parameter& parameter : parameters) {
        if (!parameter.name.empty())
            AddForwardReference(parameter.name, ForwardReference::kParameter, compileAddress);
        EmitInteger(parameter.value);
    }
}

}  // namespace zr::compiler
