// .zrt source files: RTF with the colours of the words, or plain text.
//
//   RichText doc = ReadZrt(bytesOfTheFile);            // open
//   std::string error;                                 // save
//   if (!SaveFileAtomically(path, WriteZrt(doc), &error)) ShowTheUser(error);
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

// Reads any bytes: RTF (see ReadRtf) or else plain text (see ReadPlainText). Never fails.
// Reads any bytes: RTF (see ReadRtf) or else plain text (see ReadPlainText), after dropping
// a byte-order mark (UTF-16 is decoded). Never fails.
RichText ReadZrt(std::string_view bytes);

// The RTF this editor saves (see WriteRtf); ReadZrt(WriteZrt(d)) gives back d's text and its
// runs in canonical form.
std::string WriteZrt(const RichText& document);

}  // namespace zr::formats
