// The compile command without its window: editor text in, messages, the
// editor range of the failing statement and the memory report out. Keeps the
// compiler of the last compile for the emulator and the trace window.
#pragma once

#include <QString>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "compiler/compiler.h"
#include "compiler/memory_report.h"
#include "language/analysis.h"

namespace zr::shell {

// A range of the editor, in its own positions (UTF-16 units, a line end is one).
struct EditorRange {
    int start = 0;
    int length = 0;
    friend bool operator==(const EditorRange&, const EditorRange&) = default;
};

// Where an error inside a library lies, to show and to open.
struct LibraryErrorPlace {
    QString path;       // the library file
    int line = 1;       // 1-based
    EditorRange range;  // the failing statement, in the library's own text
};

struct CompileOutcome {
    bool succeeded = false;
    std::optional<LibraryErrorPlace> libraryError;  // the first error was in a library
    std::vector<compiler::Message> messages;        // to show one by one, in order
    std::optional<EditorRange> errorSelection;
    compiler::MemoryReport report;
};

// The editor range of the statement the compiler failed at: from its first
// character (blanks and line ends before it skipped) to the end of the last
// word read. `editorText` is the text `compilerText` was made from.
EditorRange ErrorSelectionOf(const QString& editorText, const std::string& compilerText,
                             std::int32_t errorStart, std::int32_t errorLength);

class CompileSession {
  public:
    // `libraryFolder`: where $Lib finds NAME.bib; the user's own library
    // folder is searched after it.
    explicit CompileSession(std::filesystem::path libraryFolder);

    // `sourceFolder`: the folder of the main source, searched for libraries
    // after the library folder (empty for a text that has no file yet).
    CompileOutcome Compile(const QString& editorText,
                           const std::filesystem::path& sourceFolder = {});

    // Where $Lib looks for a text in `sourceFolder`, exactly as Compile's does.
    language::LibrarySearch LibrarySearchFor(const std::filesystem::path& sourceFolder) const;

    // The last compile, successful or not (a fresh compiler before the first).
    const compiler::Compiler& lastCompile() const { return *compiler_; }
    bool hasCompiled() const { return hasCompiled_; }

  private:
    std::unique_ptr<compiler::Compiler> compiler_;
    bool hasCompiled_ = false;
};

}  // namespace zr::shell
