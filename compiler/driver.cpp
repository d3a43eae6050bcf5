// CompileSource: one forward pass over the words of the source, each
// statement dispatched on its first word, then the finishing steps.
#include <algorithm>

#include "compiler/compiler.h"
#include "compiler/internal.h"
#include "compiler/messages.h"
#include "machine/cp1251.h"
#include "machine/numbers.h"

namespace zr::compiler {

Compiler::Compiler(const KeywordTable& keywords) : keywords_(keywords) {
    InitCompiler();
}

void Compiler::InitCompiler() {
    programImage.fill(0);
    compileAddress = 1;
    compileFailed = false;
    errorStart = 0;
    errorLength = 0;
    messages.clear();
    statementMap.clear();
    names.Reset();
    libraries.clear();
    sourceIndex_ = 0;
    position_ = 1;
    stringLiteral_ = false;
    forwardReferences_.clear();
    ifStack_.clear();
    loopStack_.clear();
    dataLists_.clear();
}

const std::string& Compiler::TextOf(int sourceIndex) const {
    return sourceIndex == 0 ? sourceText : libraries.at(sourceIndex - 1).text;
}

const std::string& Compiler::CurrentText() const {
    return TextOf(sourceIndex_);
}

bool Compiler::CompileSource(std::string source) {
    InitCompiler();
    sourceText = std::move(source);
    try {
        if (!CompileText() || !RunFinishingSteps()) compileFailed = true;
    } catch (const std::exception&) {
        FailIn(sourceIndex_, messages::kInternalError);
    }
    return !compileFailed;
}

// Statement words dispatched before the keyword table, in lower case. Their
// order does not matter: no word is a prefix rule of another.
const std::vector<std::pair<std::string_view, Compiler::Handler>>& Compiler::DispatchTable() {
    static const std::vector<std::pair<std::string_view, Handler>> table = {
        {"e", &Compiler::CompileSingleByte},
        {"dupn", &Compiler::CompileCountedByte},
        {"swapn", &Compiler::CompileCountedByte},
        {"pi", &Compiler::CompileSingleByte},
        {"$adres", &Compiler::CompileAdres},
        {"$lib", &Compiler::CompileLibDirective},
        {"rol", &Compiler::CompileRol},
        {"else", &Compiler::CompileElse},
        {"then", &Compiler::CompileThen},
        {"series", &Compiler::CompileBlockTransfer},
        {"send", &Compiler::CompileBlockTransfer},
        {"timer", &Compiler::CompileTimer},
        {"events", &Compiler::CompileTimer},
        {"im", &Compiler::CompileExplicitLoad},
        {"onx", &Compiler::CompileOnX},
        {"?", &Compiler::CompileInputPrompt},
        {"!", &Compiler::CompilePrintList},
        {"do", &Compiler::CompileDo},
        {"loop", &Compiler::CompileLoop},
        {"<0", &Compiler::CompileCondition},
        {"<=0", &Compiler::CompileCondition},
        {"=0", &Compiler::CompileCondition},
        {">0", &Compiler::CompileCondition},
        {">=0", &Compiler::CompileCondition},
        {"<>0", &Compiler::CompileCondition},
        {"><0", &Compiler::CompileCondition},
        {"=", &Compiler::CompileCondition},
        {"<", &Compiler::CompileCondition},
        {"<=", &Compiler::CompileCondition},
        {">", &Compiler::CompileCondition},
        {">=", &Compiler::CompileCondition},
        {"<>", &Compiler::CompileCondition},
        {"><", &Compiler::CompileCondition},
        {"stack>x", &Compiler::CompileCondition},
        {"port>0", &Compiler::CompileCondition},
        {"dimb", &Compiler::CompileDeclaration},
        {"dimi", &Compiler::CompileDeclaration},
        {"dims", &Compiler::CompileDeclaration},
        {"goto", &Compiler::CompileJumpStatement},
        {"call", &Compiler::CompileJumpStatement},
        {"ret", &Compiler::CompileJumpStatement},
        {"segm", &Compiler::CompileSegm},
        {"mv", &Compiler::CompileStore},
        {"->", &Compiler::CompileStore},
        {"bytes", &Compiler::CompileDataListDeclaration},
        {"integers", &Compiler::CompileDataListDeclaration},
        {"messanges", &Compiler::CompileDataListDeclaration},
    };
    return table;
}

bool Compiler::CompileText() {
    const std::string& text = CurrentText();
    const auto length = static_cast<std::int64_t>(text.size());
    position_ = 1;
    while (true) {
        errorStart = position_;
        std::string word = Next();
        const bool isStatement = !word.empty() && word != "\r";
        if (isStatement) {
            // Only a real statement needs room: a line end or comment after a
            // program that fills the memory exactly is fine.
            if (compileAddress > machine::kProgramSize) return Fail(messages::kOutOfMemory);
            const std::int32_t start = errorStart;
            AddStatement(start, word);
            const bool compiled = CompileStatement(std::move(word));
            if (observer) observer->StatementRead(sourceIndex_, start, position_);
            if (!compiled) return false;
        }
        if (position_ > length) return true;
    }
}

bool Compiler::CompileStatement(std::string word) {
    // "^" is a separator, so "^2" and "^X" arrive as "^" and a word: join them.
    if (word == "^" && !stringLiteral_) {
        const std::string& text = CurrentText();
        const char next =
            position_ <= static_cast<std::int64_t>(text.size()) ? text[position_ - 1] : 0;
        const std::string following = machine::LowerCase(PeekNext());
        if ((following == "2" || following == "x") &&
            machine::LowerCaseByte(next) == following[0]) {
            word += Next();
            statementMap.back().word = word;
        }
    }

    const std::string lower = machine::LowerCase(word);
    for (const auto& [statementWord, handler] : DispatchTable())
        if (lower == statementWord) return (this->*handler)(word);

    if (lower.back() == ':') return DeclareLabel(word);
    if (lower.back() == '#') return CompileAddressOf(word);
    if (const KeywordRecord* keyword = keywords_.FindKeyword(word);
        keyword && keyword->opcode != 0) {
        Emit(keyword->opcode);
        return true;
    }
    if (machine::IsNumericText(word)) return CompileNumber(word);
    return CompileLoad(word);
}

bool Compiler::RunFinishingSteps() {
    if (!LinkLibraries()) return false;
    bool ok = EmitDataLists();
    ok = ResolveForwardReferences() && ok;
    ok = CheckOpenIf() && ok;
    return ok;
}

}  // namespace zr::compiler
