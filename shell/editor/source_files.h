// Reading and writing the editor's files: .zrt sources (RTF with colours, or
// plain text), .kel sources (plain UTF-8 text, for version control and other
// editors) and .bib libraries (plain Kelto lines). No windows here: every
// failure comes back as a readable reason for the caller to show.
#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <optional>

#include "formats/rich_text.h"
#include "machine/file_read.h"

namespace zr::shell {

// Files larger than this are refused on open. A device program fits 1024
// bytes, so no real source comes near it; the editor lays out every line of a
// text to know its width, which takes seconds per megabyte, so larger files
// are left to keltoc (which reads up to machine::kMaxTextFileSize).
inline constexpr std::uintmax_t kLargestSourceFile = std::uintmax_t{4} << 20;

struct ReadResult {
    std::optional<formats::RichText> document;  // empty on failure
    QString error;                              // why, when it failed
    bool plainText = false;                     // came without colours: to be coloured as if typed
    bool damaged = false;                       // RTF cut short: `document` is what could be read
    bool binary = false;                        // NUL bytes or other binary content: not a source
};

// A .zrt source or a .bib library; either may be RTF or plain text. Folders,
// pipes, devices and files over kLargestSourceFile are refused.
ReadResult ReadSourceFile(const QString& path);

// True for bytes that are not text: a NUL byte, or more than a few control
// characters that no text file holds.
bool LooksBinary(const QByteArray& bytes);

// True for a .kel path: a source kept as plain text.
bool IsPlainSourcePath(const QString& path);

// Writes the document through a temporary file renamed over the old one: as
// .zrt RTF, or for a .kel path as plain UTF-8 text with LF line ends (its
// colours are made again when it is opened). On failure the old file is
// untouched and `error` says why.
bool SaveSourceFile(const QString& path, const formats::RichText& document, QString* error);

// Writes plain text (UTF-8, CR LF line ends), as $Lib reads libraries, the same
// safe way.
bool SaveLibraryFile(const QString& path, const QString& plainText, QString* error);

// The first line of a new source: "'---Project: DATE---" and a line end.
QString NewSourceText(const QDate& date);

}  // namespace zr::shell
