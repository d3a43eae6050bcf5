#include "language/analysis.h"

#include <algorithm>

#include "compiler/source_text.h"
#include "machine/cp1251.h"

namespace zr::language {
namespace {

// What the compiler says while it works, kept raw: places are worked out
// once the compile is over and every text is known.
class Recorder : public compiler::CompileObserver {
  public:
    struct Scan {
        std::string name;  // Windows-1251
        int sourceIndex = 0;
        std::int32_t from = 0;
        std::int32_t to = 0;
    };
    struct Read {
        int sourceIndex = 0;
        std::int32_t start = 0;
        std::int32_t end = 0;
    };
    std::vector<std::pair<int, Scan>> declared;  // slot, scan
    std::vector<Scan> used;
    std::vector<Read> statements;

    void NameDeclared(int slot, const compiler::NameRecord& record, std::int32_t scanFrom,
                      std::int32_t scanTo) override {
        declared.push_back({slot, {record.name, record.sourceIndex, scanFrom, scanTo}});
    }
    void NameUsed(std::string_view name, int sourceIndex, std::int32_t scanFrom,
                  std::int32_t scanTo) override {
        used.push_back({std::string(name), sourceIndex, scanFrom, scanTo});
    }
    void StatementRead(int sourceIndex, std::int32_t start, std::int32_t end) override {
        statements.push_back({sourceIndex, start, end});
    }
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The name inside the words scanned from `from` to `to`: the scan may start
// with blanks and the word carry "@", ":", "#" around the name.
std::optional<Span> NameSpan(const std::string& text, const Recorder::Scan& scan) {
    const std::int32_t first = compiler::SkipBlanks(text, scan.from);
    const auto size = static_cast<std::int32_t>(text.size());
    const std::int32_t to = std::min(std::max(scan.to, first), size + 1);
    const std::string window = machine::LowerCase(text.substr(first - 1, to - first));
    const auto at = window.find(machine::LowerCase(scan.name));
    if (scan.name.empty() || at == std::string::npos) return std::nullopt;
    return Span{scan.sourceIndex, first + static_cast<std::int32_t>(at),
                static_cast<std::int32_t>(scan.name.size())};
}

DeclarationKind KindOf(const compiler::NameRecord& record, bool predeclared) {
    using compiler::NameKind;
    if (predeclared) return DeclarationKind::Predeclared;
    switch (record.kind) {
        case NameKind::SingleArray:
        case NameKind::IntegerArray:
        case NameKind::ByteArray:
            return DeclarationKind::Array;
        case NameKind::BytesList:
        case NameKind::IntegersList:
        case NameKind::MessagesList:
            return DeclarationKind::DataList;
        case NameKind::Label:
            return record.sourceIndex == 0 ? DeclarationKind::Label : DeclarationKind::Routine;
        default:
            return DeclarationKind::Variable;
    }
}

Span ExtentSpan(const std::string& text, int sourceIndex, std::int32_t start, std::int32_t length) {
    const auto extent = compiler::ErrorExtentOf(text, start, length);
    return {sourceIndex, extent.first, extent.end - extent.first};
}

std::optional<Diagnostic> FirstError(const compiler::Compiler& compiler) {
    if (!compiler.compileFailed || compiler.messages.empty()) return std::nullopt;
    const compiler::Message& first = compiler.messages.front();
    Diagnostic diagnostic;
    diagnostic.message = first.text;
    for (std::size_t i = 1; i < compiler.messages.size(); ++i)
        diagnostic.laterMessages.push_back(compiler.messages[i].text);
    diagnostic.span = ExtentSpan(compiler.TextOf(first.sourceIndex), first.sourceIndex,
                                 first.errorStart, first.errorLength);
    if (first.sourceIndex != 0) {
        // The last message names the $Lib statement of the main text.
        const compiler::Message& last = compiler.messages.back();
        if (last.sourceIndex == 0)
            diagnostic.libraryStatement =
                ExtentSpan(compiler.sourceText, 0, last.errorStart, last.errorLength);
    }
    return diagnostic;
}

// A statement's extent without the blanks the scanner read past its last word.
Span StatementSpan(const std::string& text, const Recorder::Read& read) {
    const std::int32_t first = compiler::SkipBlanks(text, read.start);
    std::int32_t end = std::min<std::int32_t>(read.end, static_cast<std::int32_t>(text.size()) + 1);
    while (end > first && IsBlank(text[end - 2])) --end;
    return {read.sourceIndex, first, std::max(end - first, 0)};
}

}  // namespace

Analysis Analysis::Of(std::string compilerText, const LibrarySearch& search) {
    Analysis analysis;
    analysis.search_ = search;
    auto compiler = std::make_shared<compiler::Compiler>();
    compiler->libraryFolder = search.libraryFolder;
    compiler->extraLibraryFolders = search.extraFolders;
    compiler->sourceFolder = search.sourceFolder;
    Recorder recorder;
    compiler->observer = &recorder;
    compiler->CompileSource(std::move(compilerText));
    compiler->observer = nullptr;

    analysis.error = FirstError(*compiler);

    const auto& records = compiler->names.records();
    std::vector<std::optional<Span>> declaredAt(records.size());
    for (const auto& [slot, scan] : recorder.declared)
        declaredAt[slot - 1] = NameSpan(compiler->TextOf(scan.sourceIndex), scan);
    for (std::size_t i = 0; i < records.size(); ++i) {
        const compiler::NameRecord& record = records[i];
        const bool predeclared = !declaredAt[i].has_value();
        analysis.declarations.push_back({machine::Cp1251ToUtf8(record.name), record.kind,
                                         KindOf(record, predeclared), record.address, record.size,
                                         declaredAt[i]});
    }
    for (const Recorder::Scan& scan : recorder.used) {
        const int slot = compiler->names.FindName(scan.name);
        if (slot == 0) continue;  // never declared
        if (auto span = NameSpan(compiler->TextOf(scan.sourceIndex), scan))
            analysis.references.push_back({slot - 1, *span});
    }

    // The statement map holds each statement read, in the same order, and
    // the goto / call / if after a condition as one more.
    std::size_t next = 0;
    for (const Recorder::Read& read : recorder.statements) {
        Statement statement;
        statement.span = StatementSpan(compiler->TextOf(read.sourceIndex), read);
        while (next < compiler->statementMap.size() &&
               !(compiler->statementMap[next].position == read.start &&
                 compiler->statementMap[next].sourceIndex == read.sourceIndex))
            ++next;
        if (next < compiler->statementMap.size()) {
            statement.word = machine::Cp1251ToUtf8(compiler->statementMap[next].word);
            statement.address = compiler->statementMap[next].address;
        }
        analysis.statements.push_back(std::move(statement));
    }
    analysis.compiler_ = std::move(compiler);
    return analysis;
}

std::filesystem::path Analysis::PathOf(int sourceIndex) const {
    return sourceIndex == 0 ? std::filesystem::path{}
                            : compiler_->libraries.at(sourceIndex - 1).path;
}

std::optional<int> Analysis::DeclarationAt(int sourceIndex, std::int32_t position) const {
    for (std::size_t i = 0; i < declarations.size(); ++i)
        if (declarations[i].span && declarations[i].span->Holds(sourceIndex, position))
            return static_cast<int>(i);
    for (const Reference& reference : references)
        if (reference.span.Holds(sourceIndex, position)) return reference.declaration;
    return std::nullopt;
}

std::vector<Span> Analysis::ReferencesTo(int declaration) const {
    std::vector<Span> spans;
    for (const Reference& reference : references)
        if (reference.declaration == declaration) spans.push_back(reference.span);
    return spans;
}

const Statement* Analysis::StatementAt(int sourceIndex, std::int32_t position) const {
    const Statement* found = nullptr;
    for (const Statement& statement : statements)
        if (statement.span.sourceIndex == sourceIndex && statement.span.start <= position &&
            position < statement.span.end() &&
            (!found || statement.span.length < found->span.length))
            found = &statement;
    return found;
}

std::optional<int> Analysis::Find(std::string_view name) const {
    const int slot = compiler_->names.FindName(machine::Utf8ToCp1251(name));
    if (slot == 0) return std::nullopt;
    return slot - 1;
}

std::string KindText(const Declaration& declaration) {
    using compiler::NameKind;
    switch (declaration.nameKind) {
        case NameKind::Single:
            return "переменная Single";
        case NameKind::SingleArray:
            return "массив Single";
        case NameKind::Integer:
            return "переменная Integer";
        case NameKind::IntegerArray:
            return "массив Integer";
        case NameKind::Byte:
            return "переменная Byte";
        case NameKind::ByteArray:
            return "массив Byte";
        case NameKind::Label:
            return declaration.kind == DeclarationKind::Routine ? "подпрограмма библиотеки"
                                                                : "метка";
        case NameKind::Hardware:
            return "имя устройства";
        case NameKind::BytesList:
            return "список данных Bytes";
        case NameKind::IntegersList:
            return "список данных Integers";
        case NameKind::MessagesList:
            return "список данных Messanges";
        case NameKind::Stack:
            return "стек значений";
    }
    return "имя";
}

}  // namespace zr::language
