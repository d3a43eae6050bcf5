// Text output statements "?" and "!", Segm, and the placing of the data lists
// behind the code.
#include <algorithm>
#include <cmath>
#include <optional>

#include "compiler/compiler.h"
#include "compiler/internal.h"
#include "compiler/messages.h"
#include "compiler/scanner.h"
#include "machine/cp1251.h"
#include "machine/encodings.h"
#include "machine/numbers.h"
#include "machine/opcodes.h"

namespace zr::compiler {
namespace {

// Print list, the operand of ? (6E) and ! (6F), and its cursor byte:
// machine/encodings.h.
constexpr int kItemNumber = machine::kPrintItemNumber;
constexpr int kItemCursor = machine::kPrintItemCursor;
constexpr int kMaxCountByte = 255;
constexpr int kCursorClear = machine::kCursorClear;
constexpr int kCursorLine1 = machine::kCursorLine1;
constexpr int kDisplayColumns = 16;

// Data list, placed behind the code:
//   70 h e...   h bits 7-6 the kind (00 Bytes, 01 Integers, 10 Messages),
//               bits 5-0 the element count; Bytes one byte each, Integers a
//               word each, Messages each text followed by a 0 byte.
// Six bits could count 64, but a Table header of 64 reads as an empty list.
constexpr int kMaxListElements = 63;
constexpr int kMaxMessageLength = kDisplayColumns;                // one display line
constexpr long kMaxListInteger = machine::kVariableWordBase - 1;  // the base and up: variables
// Data may not reach the last program cell.
constexpr int kDataEnd = machine::kProgramSize;

// A whole number lo..hi written as the token, or nothing.
std::optional<int> WholeNumberIn(const std::string& token, int lo, int hi) {
    if (!machine::IsNumericText(token)) return std::nullopt;
    const double value = machine::ReadNumber(token);
    if (value != std::floor(value) || value < lo || value > hi) return std::nullopt;
    return static_cast<int>(value);
}

std::optional<int> TableKindBits(NameKind kind) {
    switch (kind) {
        case NameKind::BytesList:
            return machine::kTableBytes;
        case NameKind::IntegersList:
            return machine::kTableIntegers;
        case NameKind::MessagesList:
            return machine::kTableMessages;
        default:
            return std::nullopt;
    }
}

}  // namespace

void Compiler::EmitTextBytes(std::string_view text) {
    for (const char c : text) Emit(static_cast<unsigned char>(c));
}

// ---- ? ----

// ? "prompt": 6E, then a print list of the prompt's characters alone. The
// length byte takes up to 255; a longer prompt overflows it (internal error).
bool Compiler::CompileInputPrompt(const std::string&) {
    Emit(machine::kInput);
    std::string prompt = Next();
    if (prompt == "\r" && !stringLiteral_) prompt.clear();  // "?" alone: no prompt
    Emit(static_cast<int>(std::min<std::size_t>(prompt.size(), kMaxCountByte + 1)));
    EmitTextBytes(prompt);
    return true;
}

// ---- ! ----

// ! item item ...: quoted texts, variables and [row, column(, clr)] cursor
// items, with no separators, up to the line end, ";" or the end of the source.
bool Compiler::CompilePrintList(const std::string&) {
    Emit(machine::kPrint);
    const int countSlot = compileAddress;
    Emit(0);
    while (true) {
        const std::string token = Next();
        // An empty or ";" quoted text ends the list too.
        if (token.empty() || token == "\r" || token == ";") break;
        if (stringLiteral_) {
            EmitTextBytes(token);
        } else if (token == "[") {
            if (!CompileCursorItem()) return false;
        } else if (!CompilePrintedVariable(token)) {
            return false;
        }
    }
    const int count = compileAddress - countSlot - 1;
    if (count > kMaxCountByte) throw InternalFault("print list longer than its count byte");
    programImage[countSlot] = static_cast<std::uint8_t>(count);
    return true;
}

bool Compiler::CompilePrintedVariable(const std::string& name) {
    const int slot = LookUpName(name);
    if (slot == 0) return Fail(messages::kVariableOrNumberRequired);
    const NameRecord& record = names[slot];
    if (record.kind != NameKind::Single && record.kind != NameKind::Integer)
        return Fail(messages::kSyntaxError);
    Emit(kItemNumber);
    Emit(VariableOperand(record));
    return true;
}

// After "[": row "," column ["," clr | c] "]".
bool Compiler::CompileCursorItem() {
    const auto row = WholeNumberIn(Next(), 1, 2);
    if (!row) return Fail(messages::kSyntaxError);
    if (Next() != ",") return Fail(messages::kSyntaxError);
    const auto column = WholeNumberIn(Next(), 1, kDisplayColumns);
    if (!column) return Fail(messages::kSyntaxError);
    int cursor = (*row == 1 ? kCursorLine1 : 0) | *column;

    std::string close = Next();
    if (close == ",") {
        const std::string option = machine::LowerCase(Next());
        if (option != "clr" && option != "c") return Fail(messages::kSyntaxError);
        cursor |= kCursorClear;
        close = Next();
    }
    if (close != "]") return Fail(messages::kSyntaxError);
    Emit(kItemCursor);
    Emit(cursor);
    return true;
}

// ---- Segm ----

// segm start, end: 77, then the address execution continues at and the
// address at which the segment returns, each a word.
bool Compiler::CompileSegm(const std::string&) {
    Emit(machine::kSegm);
    if (!CompileSegmAddress()) return false;
    if (Next() != ",") return Fail(messages::kSyntaxError);
    return CompileSegmAddress();
}

// A declared name gives its address whatever its kind; a name declared
// further down is filled in at the end.
bool Compiler::CompileSegmAddress() {
    const std::string name = Next();
    if (name.empty() || name == "\r") return Fail(messages::kSyntaxError);
    if (const int slot = FindNameOrDeferWord(name)) EmitInteger(names[slot].address);
    return true;
}

// ---- Data lists ----

// Places every declared list behind the code, the last declared first, and
// gives each name its address and real size.
bool Compiler::EmitDataLists() {
    const int currentSource = sourceIndex_;
    while (!dataLists_.empty()) {
        NameRecord& list = names[dataLists_.back()];
        dataLists_.pop_back();
        // Messages refer to the text that declared the list.
        sourceIndex_ = list.sourceIndex;
        const bool placed = PlaceDataList(list);
        sourceIndex_ = currentSource;
        if (!placed) {
            ReportLibraryFailure(list.sourceIndex);
            return false;
        }
    }
    return true;
}

bool Compiler::PlaceDataList(NameRecord& list) {
    list.address = compileAddress;
    errorStart = list.dataPosition;  // an error selects the list's values
    errorLength = static_cast<std::int32_t>(list.dataText.size());
    const auto kindBits = TableKindBits(list.kind);
    if (!kindBits) return Fail(messages::kSyntaxError);

    if (!RoomForData(1)) return false;
    Emit(machine::kTable);
    const int header = compileAddress;
    Emit(0);
    if (!RoomForData(1)) return false;

    const bool messagesList = list.kind == NameKind::MessagesList;
    std::int32_t position = 1;
    bool quoted = false;
    int count = 0;
    while (true) {
        const std::string token = ScanToken(list.dataText, position, quoted);
        // A quoted text is always a message, even "", "," or "]".
        if (!(quoted && messagesList)) {
            if (token == ",") continue;
            if (token == "]") break;
            if (token.empty() || token == "\r") return Fail(messages::kSyntaxError);
        }
        if (!EmitDataElement(list.kind, token)) return false;
        ++count;
    }
    if (count > kMaxListElements) return Fail(messages::kTooManyElements);
    programImage[header] = static_cast<std::uint8_t>(*kindBits | count);
    list.size = count;
    return true;
}

bool Compiler::EmitDataElement(NameKind kind, const std::string& token) {
    if (kind == NameKind::MessagesList) {
        if (static_cast<int>(token.size()) > kMaxMessageLength) return Fail(messages::kOverflow);
        if (!RoomForData(static_cast<int>(token.size()) + 1)) return false;
        EmitTextBytes(token);
        Emit(0);
        return true;
    }
    const double value = machine::ReadNumber(token);
    if (kind == NameKind::BytesList) {
        const auto byte = machine::RoundToRange(value, 0, 255);
        if (!byte) return Fail(messages::kOverflow);
        if (!RoomForData(1)) return false;
        Emit(static_cast<int>(*byte));
        return true;
    }
    const auto word = machine::RoundToRange(value, -32766, kMaxListInteger);
    if (!word) return Fail(messages::kOverflow);
    if (!RoomForData(2)) return false;
    EmitInteger(static_cast<double>(*word));
    return true;
}

bool Compiler::RoomForData(int bytes) {
    if (compileAddress + bytes > kDataEnd) return Fail(messages::kOutOfMemory);
    return true;
}

}  // namespace zr::compiler
