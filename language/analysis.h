// One compile of a text, observed: its first error with the extent F9
// selects, every declaration and every use of each name, and the statements,
// each with its place in the main text or in one of its libraries.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "compiler/compiler.h"

namespace zr::language {

// A range of one of the compile's texts (0: the main text; k: library k), in
// 1-based compiler positions.
struct Span {
    int sourceIndex = 0;
    std::int32_t start = 1;
    std::int32_t length = 0;
    std::int32_t end() const { return start + length; }
    // True for a position inside the span or just after it (a caret after a word).
    bool Holds(int source, std::int32_t position) const {
        return source == sourceIndex && start <= position && position <= end();
    }
    friend bool operator==(const Span&, const Span&) = default;
};

enum class DeclarationKind : std::uint8_t {
    Variable,
    Array,
    DataList,
    Label,        // a label or program name of the main text
    Routine,      // a label of a library
    Predeclared,  // RX, PORT, ADC, I2C, i..o, Stack
};

struct Declaration {
    std::string name;  // UTF-8, as declared
    compiler::NameKind nameKind = compiler::NameKind::Single;
    DeclarationKind kind = DeclarationKind::Variable;
    int address = 0;           // area index or program address
    int size = 1;              // element count (0 for a label)
    std::optional<Span> span;  // the name where it is declared; none for the predeclared
};

struct Reference {
    int declaration = 0;  // index into Analysis::declarations
    Span span;
};

struct Diagnostic {
    std::string message;                     // the first message, as F9 shows it
    std::vector<std::string> laterMessages;  // the messages F9 shows after it
    Span span;                               // where it lies (a library's text for its errors)
    // For an error inside a library: the $Lib statement of the main text that
    // linked it, where F9 leaves the selection.
    std::optional<Span> libraryStatement;
};

struct Statement {
    Span span;         // from its first word to the end of the last word read
    std::string word;  // its first word, UTF-8
    int address = 0;   // where its code starts
};

// Where $Lib looks: the library folder, further folders, then the main
// source's folder (empty: none), as F9 and keltoc search.
struct LibrarySearch {
    std::filesystem::path libraryFolder;
    std::vector<std::filesystem::path> extraFolders;
    std::filesystem::path sourceFolder;
};

class Analysis {
  public:
    // Compiles `compilerText` (Windows-1251, CR LF) with the libraries it names.
    static Analysis Of(std::string compilerText, const LibrarySearch& search);

    std::optional<Diagnostic> error;
    std::vector<Declaration> declarations;  // the name table in order: predeclared first
    std::vector<Reference> references;      // in the order the compiler read them
    std::vector<Statement> statements;      // in the order the compiler read them

    // The text of source `sourceIndex`, the path of a library (empty for the
    // main text) and the compile itself (image, name table, libraries).
    const std::string& TextOf(int sourceIndex) const { return compiler_->TextOf(sourceIndex); }
    std::filesystem::path PathOf(int sourceIndex) const;
    const compiler::Compiler& compiler() const { return *compiler_; }
    const LibrarySearch& search() const { return search_; }

    // The declaration whose name (declared or used) stands at `position` of
    // text `sourceIndex`; nullopt when none does.
    std::optional<int> DeclarationAt(int sourceIndex, std::int32_t position) const;
    // Every use of a declaration, in reading order.
    std::vector<Span> ReferencesTo(int declaration) const;
    // The innermost statement holding `position`, if any.
    const Statement* StatementAt(int sourceIndex, std::int32_t position) const;
    // The declaration of `name` (UTF-8, any case), if declared.
    std::optional<int> Find(std::string_view name) const;

  private:
    std::shared_ptr<compiler::Compiler> compiler_;
    LibrarySearch search_;
};

// Russian words for a declaration's kind ("переменная Single", "метка", ...).
std::string KindText(const Declaration& declaration);

}  // namespace zr::language
