#include "cli/source_file.h"

#include <ostream>

#include "cli/visible_text.h"
#include "compiler/source_text.h"
#include "formats/atomic_save.h"
#include "formats/zrt.h"
#include "machine/file_read.h"

namespace zr::cli {

std::optional<std::string> ReadInputFile(const std::filesystem::path& path, std::uintmax_t maxBytes,
                                         std::ostream& err) {
    auto read = machine::ReadRegularFile(path, maxBytes);
    if (read.ok()) return std::move(read.bytes);
    Complain(err, "cannot read " + path.string() + ": " + read.Reason());
    return std::nullopt;
}

std::optional<std::string> ReadSourceFile(const std::filesystem::path& path, std::ostream& err) {
    auto bytes = ReadInputFile(path, machine::kMaxTextFileSize, err);
    if (bytes && formats::IsCutShort(*bytes)) {
        Complain(err,
                 "cannot read " + path.string() + ": the file is damaged: it ends in the middle");
        return std::nullopt;
    }
    return bytes;
}

std::string SourceBytesToCompilerText(std::string_view bytes) {
    return compiler::ToCompilerText(formats::ReadZrt(bytes).text);
}

std::filesystem::path SourceFolder(const std::filesystem::path& source) {
    std::error_code ec;
    const auto absolute = std::filesystem::absolute(source, ec);
    return ec ? source.parent_path() : absolute.parent_path();
}

bool WriteOutputFile(const std::filesystem::path& path, std::string_view bytes, std::ostream& err) {
    const auto saved =
        formats::SaveFileAtomically(path, bytes, formats::SpecialTargets::WriteDevicesAndFifos);
    if (saved.ok()) return true;
    const bool refused = saved.failure == formats::SaveResult::Failure::NotRegular;
    Complain(err,
             "cannot write " + path.string() + ": " +
                 (refused ? "not a regular file, a character device or a FIFO" : saved.Reason()));
    return false;
}

void Complain(std::ostream& err, std::string_view text) {
    err << "keltoc: " << EscapeControls(text) << '\n';
}

}  // namespace zr::cli
