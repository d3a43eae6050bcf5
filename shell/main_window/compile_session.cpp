#include "shell/main_window/compile_session.h"

#include <algorithm>

#include "compiler/source_text.h"
#include "shell/device/device_text.h"
#include "shell/main_window/data_folders.h"

namespace zr::shell {
namespace {

// Editor offsets from the compiler count characters (code points); the editor
// counts UTF-16 units, two for a character beyond the basic plane.
int Utf16IndexOf(const QString& text, int codePoints) {
    int index = 0;
    for (int n = 0; n < codePoints && index < text.size(); ++n)
        index += (text[index].isHighSurrogate() && index + 1 < text.size() &&
                  text[index + 1].isLowSurrogate())
                     ? 2
                     : 1;
    return index;
}

}  // namespace

EditorRange ErrorSelectionOf(const QString& editorText, const std::string& compilerText,
                             std::int32_t errorStart, std::int32_t errorLength) {
    const auto extent = compiler::ErrorExtentOf(compilerText, errorStart, errorLength);
    const int start =
        Utf16IndexOf(editorText, compiler::EditorOffsetOf(compilerText, extent.first));
    const int stop = Utf16IndexOf(editorText, compiler::EditorOffsetOf(compilerText, extent.end));
    return {start, std::max(stop - start, 0)};
}

CompileSession::CompileSession(std::filesystem::path libraryFolder)
    : compiler_(std::make_unique<compiler::Compiler>()) {
    compiler_->libraryFolder = std::move(libraryFolder);
    compiler_->extraLibraryFolders = {UserLibraryFolder().toStdU16String()};
}

language::LibrarySearch CompileSession::LibrarySearchFor(
    const std::filesystem::path& sourceFolder) const {
    return {compiler_->libraryFolder, compiler_->extraLibraryFolders, sourceFolder};
}

// The place of the first message raised inside a library, if any.
std::optional<LibraryErrorPlace> LibraryErrorOf(const compiler::Compiler& compiler) {
    for (const compiler::Message& message : compiler.messages) {
        if (message.sourceIndex <= 0 ||
            message.sourceIndex > static_cast<int>(compiler.libraries.size()))
            continue;
        const std::string& text = compiler.TextOf(message.sourceIndex);
        LibraryErrorPlace place;
        place.path =
            QString::fromStdU16String(compiler.libraries[message.sourceIndex - 1].path.u16string());
        place.line =
            compiler::LineColumnOf(text, compiler::SkipBlanks(text, message.errorStart)).line;
        const QString editorText = FromDevice(text).remove(u'\r');
        place.range = ErrorSelectionOf(editorText, text, message.errorStart, message.errorLength);
        return place;
    }
    return std::nullopt;
}

CompileOutcome CompileSession::Compile(const QString& editorText,
                                       const std::filesystem::path& sourceFolder) {
    const std::string source = compiler::ToCompilerText(editorText.toStdString());
    compiler_->sourceFolder = sourceFolder;
    compiler_->CompileSource(source);
    hasCompiled_ = true;

    CompileOutcome outcome;
    outcome.succeeded = !compiler_->compileFailed;
    outcome.messages = compiler_->messages;
    outcome.report = compiler::MakeMemoryReport(*compiler_);
    // The selection refers to the main text; a library's failure has already
    // moved it to the $Lib statement. If the last message still belongs to a
    // library, the position is not one of the editor's and nothing is selected.
    const bool inMainText =
        compiler_->messages.empty() || compiler_->messages.back().sourceIndex == 0;
    if (!outcome.succeeded && inMainText)
        outcome.errorSelection =
            ErrorSelectionOf(editorText, source, compiler_->errorStart, compiler_->errorLength);
    if (!outcome.succeeded) outcome.libraryError = LibraryErrorOf(*compiler_);
    return outcome;
}

}  // namespace zr::shell
