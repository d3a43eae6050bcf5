// $Lib and the linking of libraries: each library's code and names are added
// behind the main program's, in the same name table, so the main program can
// call a library's labels and a library can name further libraries.
#include <algorithm>
#include <cerrno>

#include "compiler/compiler.h"
#include "compiler/internal.h"
#include "compiler/messages.h"
#include "compiler/source_text.h"
#include "machine/cp1251.h"
#include "machine/file_read.h"

namespace zr::compiler {
namespace {

// NAME.bib in the first folder that has it; in each folder the file name is
// looked up in lower case first (library files are kept in lower case), then
// as written.
std::optional<std::filesystem::path> FindLibrary(const std::vector<std::filesystem::path>& folders,
                                                 const std::string& name) {
    std::error_code ec;
    for (const auto& folder : folders) {
        for (const auto& file : {machine::LowerCase(name), name}) {
            const auto path = folder / (machine::Cp1251ToUtf8(file) + ".bib");
            if (std::filesystem::exists(path, ec)) return path;
        }
    }
    return std::nullopt;
}

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code ec;
    return a == b || std::filesystem::equivalent(a, b, ec);
}

// A control character (a NUL above all) would cut the file name short or
// hide part of it in every message that shows it.
bool HasControlCharacter(std::string_view name) {
    return std::any_of(name.begin(), name.end(),
                       [](unsigned char c) { return c < 0x20 || c == 0x7F; });
}

std::string FolderList(const std::vector<std::filesystem::path>& folders) {
    std::string list;
    for (const auto& folder : folders) list += (list.empty() ? "" : "; ") + folder.string();
    return list;
}

// Why a library file that exists was not read, in the user's language.
std::string ReadFailureText(const machine::FileRead& read) {
    using Failure = machine::FileRead::Failure;
    if (read.failure == Failure::NotRegular) return "это не обычный файл";
    if (read.failure == Failure::TooLarge) return "файл больше 64 МБ";
    if (read.failure == Failure::System && read.errorNumber == EISDIR) return "это папка";
    return read.Reason();
}

}  // namespace

std::vector<std::filesystem::path> Compiler::LibraryFolders() const {
    std::vector<std::filesystem::path> folders{libraryFolder};
    const auto addOnce = [&folders](const std::filesystem::path& folder) {
        if (folder.empty()) return;
        for (const auto& known : folders)
            if (SameFile(folder, known)) return;
        folders.push_back(folder);
    };
    for (const auto& folder : extraLibraryFolders) addOnce(folder);
    addOnce(sourceFolder);
    return folders;
}

// $Lib name: read the library now (so a missing file fails here); its code is
// compiled after the main text. A library named again is linked only once.
// A failure to read gives the read-error message, then a second one that says
// what went wrong.
bool Compiler::CompileLibDirective(const std::string&) {
    const std::string name = Next();
    if (name.empty() || name == "\r") return Fail(messages::kSyntaxError);
    if (HasControlCharacter(name)) {
        Fail(messages::kFileReadError, MessageStyle::Plain);
        return Fail(messages::kLibraryNameHasControls, MessageStyle::Plain);
    }
    const auto folders = LibraryFolders();
    const auto found = FindLibrary(folders, name);
    const std::string fileName = machine::Cp1251ToUtf8(machine::LowerCase(name)) + ".bib";
    const auto path = found ? *found : libraryFolder / fileName;
    for (const Library& library : libraries)
        if (SameFile(library.path, path)) return true;
    if (static_cast<int>(libraries.size()) >= kMaxLibraries)
        throw InternalFault("too many libraries");

    std::optional<std::string> text;
    std::string failure;
    if (readFile) {
        text = readFile(path);
    } else if (found) {
        auto read = machine::ReadRegularFile(path, machine::kMaxTextFileSize);
        if (read.ok())
            text = PlainBytesToCompilerText(read.bytes);
        else
            failure = std::string(messages::kLibraryNotRead) + path.string() + " (" +
                      ReadFailureText(read) + ")";
    }
    if (!text) {
        Fail(messages::kFileReadError, MessageStyle::Plain);
        if (failure.empty())
            failure = std::string(messages::kLibraryNotFound) + fileName +
                      "; просмотрены папки: " + FolderList(folders);
        return Fail(failure, MessageStyle::Plain);
    }
    libraries.push_back({name, path, std::move(*text), errorStart, errorLength, sourceIndex_});
    return true;
}

// Compiles every library behind the code so far, each with its own IF and
// loop nesting. Libraries named by libraries join the list as it is walked.
bool Compiler::LinkLibraries() {
    auto mainIfs = std::move(ifStack_);
    auto mainLoops = std::move(loopStack_);
    bool ok = true;
    for (std::size_t i = 0; ok && i < libraries.size(); ++i) {
        sourceIndex_ = static_cast<int>(i) + 1;
        ifStack_.clear();
        loopStack_.clear();
        ok = CompileText() && CheckOpenIf();
        if (!ok) ReportLibraryFailure(sourceIndex_);
    }
    sourceIndex_ = 0;
    ifStack_ = std::move(mainIfs);
    loopStack_ = std::move(mainLoops);
    return ok;
}

bool Compiler::FailIn(int sourceIndex, std::string_view message) {
    const int saved = sourceIndex_;
    sourceIndex_ = sourceIndex;
    Fail(message);
    sourceIndex_ = saved;
    ReportLibraryFailure(sourceIndex);
    return false;
}

// After a library's own message: the failure of each library up the chain of
// $Lib statements, ending with the selection on the one in the main text.
void Compiler::ReportLibraryFailure(int sourceIndex) {
    while (sourceIndex > 0) {
        const Library& library = libraries[sourceIndex - 1];
        errorStart = library.directiveStart;
        errorLength = library.directiveLength;
        messages.push_back(
            {std::string(messages::kLibraryFailed) + machine::Cp1251ToUtf8(library.name),
             MessageStyle::Plain, errorStart, errorLength, library.namedFrom});
        sourceIndex = library.namedFrom;
    }
}

}  // namespace zr::compiler
