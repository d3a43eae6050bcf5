// .zrt source files: RTF with the colours of the words, or plain text.
//
//   RichText doc = ReadZrt(bytesOfTheFile);            // open
//   std::string error;                                 // save
//   if (!SaveFileAtomically(path, WriteZrt(doc)).ok()) ShowTheUser(...);
#pragma once

#include <string>
#include <string_view>

#include "formats/rich_text.h"

namespace zr::formats {

// True when the bytes start with "{\rtf" (after a UTF-8 byte-order mark, if any).
bool IsRtf(std::string_view bytes);

// True when RTF bytes close the group they open: a file cut short (by a full disk or a
// broken copy) ends inside it.
bool IsCompleteRtf(std::string_view bytes);

// True when a file's bytes are RTF (after a byte-order mark, UTF-16 decoded) that ends in
// the middle, inside the group it opens: the one test of a damaged .zrt. The environment
// opens what can be read and says the file is damaged; keltoc refuses the file.
bool IsCutShort(std::string_view fileBytes);

// Reads any bytes: RTF (see ReadRtf) or else plain text (see ReadPlainText), after dropping
// a byte-order mark (UTF-16 is decoded). Never fails.
RichText ReadZrt(std::string_view bytes);

// The RTF this editor saves (see WriteRtf); ReadZrt(WriteZrt(d)) gives back d's text and its
// runs in canonical form.
std::string WriteZrt(const RichText& document);

}  // namespace zr::formats
