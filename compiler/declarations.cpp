// Declarations: DimS, DimI and DimB with array sizes and initial values, the
// data lists Bytes, Integers and Messanges, and labels.
#include <algorithm>

#include "compiler/compiler.h"
#include "compiler/internal.h"
#include "compiler/messages.h"
#include "machine/cp1251.h"
#include "machine/numbers.h"
#include "machine/opcodes.h"

namespace zr::compiler {
namespace {

struct Area {
    int capacity;
    int operandBase;
    std::string_view fullMessage;
};

Area AreaOf(NameKind kind) {
    switch (kind) {
        case NameKind::Integer:
            return {machine::kIntegerCount, machine::kIntegerOperandBase,
                    messages::kTooManyIntegers};
        case NameKind::Byte:  // the Byte area shares the Integer area's message
            return {machine::kByteCount, machine::kByteOperandBase, messages::kTooManyIntegers};
        default:
            return {machine::kSingleCount, 0, messages::kTooManySingles};
    }
}

int& NextIndex(NameTable& names, NameKind kind) {
    return kind == NameKind::Integer ? names.nextInteger
           : kind == NameKind::Byte  ? names.nextByte
                                     : names.nextSingle;
}

// An initialisation table holds at most 63 entries: its header keeps the
// count in six bits and 192 OR 64 would read as an empty table.
constexpr int kMaxTableEntries = 63;
constexpr int kMaxInitialValues = 64;

}  // namespace

bool Compiler::CompileDeclaration(const std::string& word) {
    const std::string lower = machine::LowerCase(word);
    return DeclareNames(lower == "dims"   ? NameKind::Single
                        : lower == "dimi" ? NameKind::Integer
                                          : NameKind::Byte);
}

bool Compiler::CompileDataListDeclaration(const std::string& word) {
    const std::string lower = machine::LowerCase(word);
    return DeclareDataList(lower == "bytes"      ? NameKind::BytesList
                           : lower == "integers" ? NameKind::IntegersList
                                                 : NameKind::MessagesList);
}

// DimS / DimI / DimB name [size or initial values], name ... up to the line end.
bool Compiler::DeclareNames(NameKind kind) {
    const Area area = AreaOf(kind);
    int& next = NextIndex(names, kind);
    while (true) {
        errorStart = position_;
        std::string name;
        do name = Next();
        while (name == ",");
        const std::int32_t nameFrom = tokenFrom_;
        if (name.empty() || name == "\r" || name == "\n") return true;

        if (names.NameExists(name)) return Fail(messages::kNameDeclared);
        if (names.Full()) return Fail(messages::kNameTableFull);
        if (next > area.capacity) return Fail(area.fullMessage);

        int count = 1;
        if (!ParseArraySize(kind, count)) return false;
        if (count < 1 || count > 100) return Fail(messages::kBadArrayIndex);
        if (next + count - 1 > area.capacity) return Fail(messages::kArrayDoesNotFit);

        const auto declared = count == 1 ? kind : static_cast<NameKind>(static_cast<int>(kind) + 1);
        DeclareName({name, declared, next, count, {}, 0, sourceIndex_}, nameFrom);
        next += count;
        if (AtEnd()) return true;
    }
}

// After a declared name: "(n)" gives the element count, "= v" or "[v, ...]"
// initial values (compiled at once), anything else a simple variable.
bool Compiler::ParseArraySize(NameKind kind, int& count) {
    const std::string next = PeekNext();
    if (next == "(") {
        Next();
        const double size = machine::ReadNumber(Next());
        if (Next() != ")") {
            count = 0;
            return true;
        }
        const auto rounded = machine::RoundToRange(size, 0, 1000);
        count = rounded ? static_cast<int>(*rounded) : 0;
        return true;
    }
    if (next == "=" || next == "[") return CompileInitialValues(kind, Next() == "=", count);
    count = 1;
    return true;
}

// Initial values as one or more initialisation tables:
//   70, header (192 OR k), then k entries of VariableOperand + value
// with operands counting up from the first element's.
bool Compiler::CompileInitialValues(NameKind kind, bool single, int& count) {
    const Area area = AreaOf(kind);
    const int firstOperand = NextIndex(names, kind) + area.operandBase;
    int header = 0;  // address of the open table's header byte
    int entries = 0;
    auto closeTable = [&] {
        if (header != 0)
            programImage[header] =
                static_cast<std::uint8_t>(machine::kTableInitialisation | entries);
    };
    count = 0;
    while (true) {
        const std::string token = Next();
        if (token == ",") continue;
        if (token == "]" && !single) break;
        if (token.empty() || token == "\r") return Fail(messages::kSyntaxError);

        const double value = machine::ReadNumber(token);
        if (++count > kMaxInitialValues) return Fail(messages::kArrayTooBig);
        if (header == 0 || entries == kMaxTableEntries) {
            closeTable();
            Emit(machine::kTable);
            header = compileAddress;
            Emit(0);
            entries = 0;
        }
        Emit(firstOperand + count - 1);
        ++entries;
        if (kind == NameKind::Integer) {
            if (!machine::RoundToRange(value, -32766, 32766)) return Fail(messages::kOverflow);
            EmitInteger(value);
        } else if (kind == NameKind::Byte) {
            const auto byte = machine::RoundToRange(value, 0, 255);
            if (!byte) return Fail(messages::kOverflow);
            Emit(static_cast<int>(*byte));
        } else {
            EmitSingle(value);
        }
        if (single) break;
    }
    if (header == 0) {  // "[]": an empty table
        Emit(machine::kTable);
        Emit(machine::kTableInitialisation);
    }
    closeTable();
    return true;
}

// Bytes / Integers / Messanges name [ values up to the line end: stored now,
// placed behind the code by the finishing steps.
bool Compiler::DeclareDataList(NameKind kind) {
    const std::string name = Next();
    const std::int32_t nameFrom = tokenFrom_;
    if (names.NameExists(name)) return Fail(messages::kNameDeclared);
    if (names.Full()) return Fail(messages::kNameTableFull);
    if (Next() != "[") return Fail(messages::kSyntaxError);

    const std::string& text = CurrentText();
    const auto lineEnd = text.find('\r', position_ - 1);
    if (lineEnd == std::string::npos) {
        errorLength += 16;
        return Fail(messages::kSyntaxError);
    }
    const std::int32_t dataPosition = position_;
    std::string dataText = text.substr(position_ - 1, lineEnd - (position_ - 1));
    position_ = static_cast<std::int32_t>(lineEnd + 2);

    if (static_cast<int>(dataLists_.size()) >= kMaxDataLists)
        throw InternalFault("too many data lists");
    dataLists_.push_back(DeclareName(
        {name, kind, 0, 64, std::move(dataText), dataPosition, sourceIndex_}, nameFrom));
    return true;
}

// name: marks the address of the next statement.
bool Compiler::DeclareLabel(const std::string& word) {
    const std::string name = word.substr(0, word.size() - 1);
    if (names.NameExists(name)) return Fail(messages::kNameDeclared);
    if (names.Full()) return Fail(messages::kNameTableFull);
    DeclareName({name, NameKind::Label, compileAddress, 0, {}, 0, sourceIndex_}, tokenFrom_);
    return true;
}

}  // namespace zr::compiler
