// Reading and writing the editor's files: .zrt sources (RTF with colours, or
// plain text) and .bib libraries (plain Kelto lines). No windows here: every
// failure comes back as a readable reason for the caller to show.
#pragma once

#include <QDate>
#include <QString>
#include <optional>

#include "formats/rich_text.h"

namespace zr::shell {

struct ReadResult {
    std::optional<formats::RichText> document;  // empty on failure
    QString error;                              // why, when it failed
};

// A .zrt source or a .bib library; either may be RTF or plain text.
ReadResult ReadSourceFile(const QString& path);

// Writes the document as .zrt RTF through a temporary file renamed over the old
// one; on failure the old file is untouched and `error` says why.
bool SaveSourceFile(const QString& path, const formats::RichText& document, QString* error);

// Writes plain text (UTF-8, CR LF line ends), as $Lib reads libraries, the same
// safe way.
bool SaveLibraryFile(const QString& path, const QString& plainText, QString* error);

// The first line of a new source: "'---Project: DATE---" and a line end.
QString NewSourceText(const QDate& date);

}  // namespace zr::shell
