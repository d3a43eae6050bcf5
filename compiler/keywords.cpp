#include "compiler/keywords.h"

#include <algorithm>

namespace zr::compiler {
namespace {

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
    t.AddKeyword("+", 18, kRed);
    t.AddKeyword("-", 1);
    t.AddKeyword("*", 2);
    t.AddKeyword("/", 3);
    t.AddKeyword("Neg", 46);
    t.AddKeyword("[", 0);
    t.AddKeyword("]", 0);
    t.AddKeyword("Or", 4);
    t.AddKeyword("And", 6);
    t.AddKeyword("XOr", 5);
    t.AddKeyword("Not", 39);
    // Conditions.
    t.AddKeyword("=0", 55, kMagenta, "Call; Ret; GoTo");
    t.AddKeyword(">>", 0);
    t.AddKeyword(">=0", 57);
    t.AddKeyword("<=0", 54);
    t.AddKeyword(">0", 56);
    t.AddKeyword("<0", 53);
    t.AddKeyword("<>0", 0);
    t.AddKeyword("><0", 0);
    t.AddKeyword("<>", 10);
    t.AddKeyword("><", 10);
    t.AddKeyword("<", 7);
    t.AddKeyword("<=", 8);
    t.AddKeyword("=", 9);
    t.AddKeyword(">", 11);
    t.AddKeyword(">=", 12);
    t.AddKeyword("Steck>=X", 0);
    t.AddKeyword("PORT>0", 0);
    t.AddKeyword("&", 17);
    t.AddKeyword("<<", 0);
    // Declarations.
    t.AddKeyword("DimS", 0, kLightMagenta, "Var1, Var2, ...VarN");
    t.AddKeyword("DimI", 0, kLightMagenta, "Var1, Var2, ...VarN");
    t.AddKeyword("DimB", 0, kLightMagenta, "Var1, Var2, ...VarN");
    t.AddKeyword("Bytes", 0);
    t.AddKeyword("Integers", 0);
    t.AddKeyword("Messanges", 0);
    // Stack and loop words.
    t.AddKeyword("Do", 0, kBlue,
                 "\\Criteria\\ +- [Var >> Criteria] \\ [Value1, Value2,..ValueN] \\");
    t.AddKeyword("Loop", 123, kBlue, "\\Var\\");
    t.AddKeyword("Drop", 104);
    t.AddKeyword("End", 102);
    t.AddKeyword("X1", 50);
    t.AddKeyword("Swap", 14);
    t.AddKeyword("Cls", 103);
    t.AddKeyword("Dup", 105);
    t.AddKeyword("Dup2", 65);
    t.AddKeyword("Over", 122);
    t.AddKeyword("DupN", 106);
    t.AddKeyword("Wait", 107);
    t.AddKeyword("Rol", 64);
    t.AddKeyword("BynRol", 15);
    t.AddKeyword("PrtX", 124);
    t.AddKeyword("OutS", 0);
    // Control flow.
    t.AddKeyword("Call", 0, kGreen, "Label");
    t.AddKeyword("GoTo", 0, kGreen, "Label");
    t.AddKeyword("Segm", 119, kGreen, "StartLabel, RetLabel");
    t.AddKeyword("Ret", 108);
    t.AddKeyword("RetN", 120);
    t.AddKeyword("iM", 96);
    t.AddKeyword("Mv", 98);
    t.AddKeyword("->", 98);
    t.AddKeyword("Events", 118);
    t.AddKeyword("Timer", 116);
    t.AddKeyword("\u2116", 0);  // the numero sign
    t.AddKeyword("OnX", 117);
    t.AddKeyword("IF", 0);
    t.AddKeyword("THEN", 0);
    t.AddKeyword("ELSE", 0);
    // Keypad and display.
    t.AddKeyword("KeyCod", 135, kOrange);
    t.AddKeyword("KeyReg", 136);
    t.AddKeyword("Edit", 137);
    t.AddKeyword("?", 110);
    t.AddKeyword("!", 111);
    // Functions.
    t.AddKeyword("RetN", 120, kTeal);  // shadowed by the first RetN
    t.AddKeyword("Sqr", 36);
    t.AddKeyword("1\\x", 37);
    t.AddKeyword("Int", 49);
    t.AddKeyword("Abs", 58);
    t.AddKeyword("Mod", 16);
    t.AddKeyword("^2", 38);
    t.AddKeyword("^X", 13);
    t.AddKeyword("Rnd", 51);
    t.AddKeyword("Log", 59);
    t.AddKeyword("Rn", 0);
    t.AddKeyword("Sin", 40);
    t.AddKeyword("Cos", 41);
    t.AddKeyword("Tan", 42);
    t.AddKeyword("ASin", 43);
    t.AddKeyword("ACos", 44);
    t.AddKeyword("ATan", 45);
    t.AddKeyword("e", 32);
    t.AddKeyword("pi", 33);
    t.AddKeyword("Decr", 47);
    t.AddKeyword("Incr", 48);
    // Hardware.
    t.AddKeyword("ADC", 0, kOlive, "(0..3)");
    t.AddKeyword("PORT", 0, kOlive);
    t.AddKeyword("RX", 0);
    t.AddKeyword("MODE", 126);
    t.AddKeyword("I2C", 0, kOlive, "(0..127)");
    t.AddKeyword("SERIES", 128);
    t.AddKeyword("SEND", 129);
    t.AddKeyword("PRINT", 130);
    t.AddKeyword("INPUT", 131);
    t.AddKeyword("LOAD", 132);
    t.AddKeyword("PEEK", 52);
    t.AddKeyword("PEEK2", 61);
    t.AddKeyword("POKE", 66);
    t.AddKeyword("POKE2", 67);
    t.AddKeyword("STACK", 0);
    t.AddKeyword("#16", 133);
    t.AddKeyword("#10", 134);
    // Directives.
    t.AddKeyword("$Adres", 0, kDarkYellow);
    t.AddKeyword("$Lib", 0, kDarkYellow);
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
