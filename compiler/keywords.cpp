#include "compiler/keywords.h"

#include <algorithm>

#include "machine/opcodes.h"

namespace zr::compiler {
namespace {

// A word that is no single instruction.
constexpr std::uint8_t kNoInstruction = 0;

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; };
               return lower(x) == lower(y);
           });
}

KeywordTable BuildStandardTable() {
    using namespace colours;
    KeywordTable t;
    // Arithmetic and logic.
    t.AddKeyword("+", machine::kAdd, kRed);
    t.AddKeyword("-", machine::kSubtract);
    t.AddKeyword("*", machine::kMultiply);
    t.AddKeyword("/", machine::kDivide);
    t.AddKeyword("Neg", machine::kNeg);
    t.AddKeyword("[", kNoInstruction);
    t.AddKeyword("]", kNoInstruction);
    t.AddKeyword("Or", machine::kOr);
    t.AddKeyword("And", machine::kAnd);
    t.AddKeyword("XOr", machine::kXOr);
    t.AddKeyword("Not", machine::kNot);
    // Conditions.
    t.AddKeyword("=0", machine::kEqualZero, kMagenta, "Call; Ret; GoTo");
    t.AddKeyword(">>", kNoInstruction);
    t.AddKeyword(">=0", machine::kGreaterEqualZero);
    t.AddKeyword("<=0", machine::kLessEqualZero);
    t.AddKeyword(">0", machine::kGreaterZero);
    t.AddKeyword("<0", machine::kLessZero);
    t.AddKeyword("<>0", kNoInstruction);
    t.AddKeyword("><0", kNoInstruction);
    t.AddKeyword("<>", machine::kNotEqual);
    t.AddKeyword("><", machine::kNotEqual);
    t.AddKeyword("<", machine::kLess);
    t.AddKeyword("<=", machine::kLessEqual);
    t.AddKeyword("=", machine::kEqual);
    t.AddKeyword(">", machine::kGreater);
    t.AddKeyword(">=", machine::kGreaterEqual);
    t.AddKeyword("Steck>=X", kNoInstruction);
    t.AddKeyword("PORT>0", kNoInstruction);
    t.AddKeyword("&", machine::kBetween);
    t.AddKeyword("<<", kNoInstruction);
    // Declarations.
    t.AddKeyword("DimS", kNoInstruction, kLightMagenta, "Var1, Var2, ...VarN");
    t.AddKeyword("DimI", kNoInstruction, kLightMagenta, "Var1, Var2, ...VarN");
    t.AddKeyword("DimB", kNoInstruction, kLightMagenta, "Var1, Var2, ...VarN");
    t.AddKeyword("Bytes", kNoInstruction);
    t.AddKeyword("Integers", kNoInstruction);
    t.AddKeyword("Messanges", kNoInstruction);
    // Stack and loop words.
    t.AddKeyword("Do", kNoInstruction, kBlue,
                 "\\Criteria\\ +- [Var >> Criteria] \\ [Value1, Value2,..ValueN] \\");
    t.AddKeyword("Loop", machine::kLoop, kBlue, "\\Var\\");
    t.AddKeyword("Drop", machine::kDrop);
    t.AddKeyword("End", machine::kEnd);
    t.AddKeyword("X1", machine::kX1);
    t.AddKeyword("Swap", machine::kSwap);
    t.AddKeyword("Cls", machine::kCls);
    t.AddKeyword("Dup", machine::kDup);
    t.AddKeyword("Dup2", machine::kDup2);
    t.AddKeyword("Over", machine::kOver);
    t.AddKeyword("DupN", machine::kDupN);
    t.AddKeyword("Wait", machine::kWait);
    t.AddKeyword("Rol", machine::kRol);
    t.AddKeyword("BynRol", machine::kBynRol);
    t.AddKeyword("PrtX", machine::kPrtX);
    t.AddKeyword("OutS", kNoInstruction);
    // Control flow.
    t.AddKeyword("Call", kNoInstruction, kGreen, "Label");
    t.AddKeyword("GoTo", kNoInstruction, kGreen, "Label");
    t.AddKeyword("Segm", machine::kSegm, kGreen, "StartLabel, RetLabel");
    t.AddKeyword("Ret", machine::kRet);
    t.AddKeyword("RetN", machine::kRetN);
    t.AddKeyword("iM", machine::kiM);
    t.AddKeyword("Mv", machine::kMv);
    t.AddKeyword("->", machine::kMv);
    t.AddKeyword("Events", machine::kEvents);
    t.AddKeyword("Timer", machine::kTimer);
    t.AddKeyword("\u2116", kNoInstruction);  // the numero sign
    t.AddKeyword("OnX", machine::kOnX);
    t.AddKeyword("IF", kNoInstruction);
    t.AddKeyword("THEN", kNoInstruction);
    t.AddKeyword("ELSE", kNoInstruction);
    // Keypad and display.
    t.AddKeyword("KeyCod", machine::kKeyCod, kOrange);
    t.AddKeyword("KeyReg", machine::kKeyReg);
    t.AddKeyword("Edit", machine::kEdit);
    t.AddKeyword("?", machine::kInput);
    t.AddKeyword("!", machine::kPrint);
    // Functions.
    t.AddKeyword("RetN", machine::kRetN, kTeal);  // shadowed by the first RetN
    t.AddKeyword("Sqr", machine::kSqr);
    t.AddKeyword("1\\x", machine::kReciprocal);
    t.AddKeyword("Int", machine::kInt);
    t.AddKeyword("Abs", machine::kAbs);
    t.AddKeyword("Mod", machine::kMod);
    t.AddKeyword("^2", machine::kSquare);
    t.AddKeyword("^X", machine::kPower);
    t.AddKeyword("Rnd", machine::kRnd);
    t.AddKeyword("Log", machine::kLog);
    t.AddKeyword("Rn", kNoInstruction);
    t.AddKeyword("Sin", machine::kSin);
    t.AddKeyword("Cos", machine::kCos);
    t.AddKeyword("Tan", machine::kTan);
    t.AddKeyword("ASin", machine::kASin);
    t.AddKeyword("ACos", machine::kACos);
    t.AddKeyword("ATan", machine::kATan);
    t.AddKeyword("e", machine::kE);
    t.AddKeyword("pi", machine::kPi);
    t.AddKeyword("Decr", machine::kDecr);
    t.AddKeyword("Incr", machine::kIncr);
    // Hardware.
    t.AddKeyword("ADC", kNoInstruction, kOlive, "(0..3)");
    t.AddKeyword("PORT", kNoInstruction, kOlive);
    t.AddKeyword("RX", kNoInstruction);
    t.AddKeyword("MODE", machine::kMode);
    t.AddKeyword("I2C", kNoInstruction, kOlive, "(0..127)");
    t.AddKeyword("SERIES", machine::kSeries);
    t.AddKeyword("SEND", machine::kSend);
    t.AddKeyword("PRINT", machine::kSerialPrint);
    t.AddKeyword("INPUT", machine::kSerialInput);
    t.AddKeyword("LOAD", machine::kSerialLoad);
    t.AddKeyword("PEEK", machine::kPeek);
    t.AddKeyword("PEEK2", machine::kPeek2);
    t.AddKeyword("POKE", machine::kPoke);
    t.AddKeyword("POKE2", machine::kPoke2);
    t.AddKeyword("STACK", kNoInstruction);
    t.AddKeyword("#16", machine::kHex16);
    t.AddKeyword("#10", machine::kHex10);
    // Directives.
    t.AddKeyword("$Adres", kNoInstruction, kDarkYellow);
    t.AddKeyword("$Lib", kNoInstruction, kDarkYellow);
    return t;
}

}  // namespace

void KeywordTable::AddKeyword(std::string word, std::uint8_t opcode, std::uint32_t colour,
                              std::string hint) {
    currentColour_ = colour;
    if (entries_.size() >= kCapacity) return;
    entries_.push_back({std::move(word), opcode, colour, std::move(hint)});
}

void KeywordTable::AddKeyword(std::string word, std::uint8_t opcode) {
    AddKeyword(std::move(word), opcode, currentColour_);
}

const KeywordRecord* KeywordTable::FindKeyword(std::string_view word) const {
    for (const auto& entry : entries_)
        if (EqualsIgnoringAsciiCase(entry.word, word)) return &entry;
    return nullptr;
}

const KeywordTable& KeywordTable::Standard() {
    static const KeywordTable table = BuildStandardTable();
    return table;
}

}  // namespace zr::compiler
