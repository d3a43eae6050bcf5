// $Lib and the linking of libraries: each library's code and names are added
// behind the main program's, in the same name table, so the main program can
// call a library's labels and a library can name further libraries.
#include <fstream>
#include <sstream>

#include "compiler/compiler.h"
#include "compiler/internal.h"
#include "compiler/messages.h"
#include "compiler/source_text.h"
#include "machine/cp1251.h"

namespace zr::compiler {
namespace {

std::optional<std::string> ReadPlainFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return PlainBytesToCompilerText(bytes.str());
}

// NAME.bib in the first library folder that holds it. In each folder the
// file name is looked up in lower case first (library files are kept in lower
// case), then as written. When no folder holds it, the lower-case name in the
// first folder, so the read fails there.
std::filesystem::path LibraryPath(const std::filesystem::path& folder,
                                  const std::vector<std::filesystem::path>& laterFolders,
                                  const std::string& name) {
    const std::string lowerName = machine::Cp1251ToUtf8(machine::LowerCase(name)) + ".bib";
    const std::string asWritten = machine::Cp1251ToUtf8(name) + ".bib";
    std::error_code ec;
    for (std::size_t i = 0; i <= laterFolders.size(); ++i) {
        const auto& candidate = i == 0 ? folder : laterFolders[i - 1];
        if (std::filesystem::exists(candidate / lowerName, ec)) return candidate / lowerName;
        if (std::filesystem::exists(candidate / asWritten, ec)) return candidate / asWritten;
    }
    return folder / lowerName;
}

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code ec;
    return a == b || std::filesystem::equivalent(a, b, ec);
}

}  // namespace

// $Lib name: read the library now (so a missing file fails here); its code is
// compiled after the main text. A library named again is linked only once.
bool Compiler::CompileLibDirective(const std::string&) {
    const std::string name = Next();
    if (name.empty() || name == "\r") return Fail(messages::kSyntaxError);
    const auto path = LibraryPath(libraryFolder, extraLibraryFolders, name);
    for (const Library& library : libraries)
        if (SameFile(library.path, path)) return true;
    if (static_cast<int>(libraries.size()) >= kMaxLibraries)
        throw InternalFault("too many libraries");

    const auto text = readFile ? readFile(path) : ReadPlainFile(path);
    if (!text) return Fail(messages::kFileReadError, MessageStyle::Plain);
    libraries.push_back({name, path, *text, errorStart, errorLength, sourceIndex_});
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
