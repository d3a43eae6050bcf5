// Reads a source saved as plain text.
#pragma once

#include <string_view>

#include "formats/rich_text.h"

namespace zr::formats {

// UTF-8 (a leading byte-order mark is dropped; UTF-16 with its mark is decoded); bytes that are not
// valid UTF-8 mean the file is Windows-1251 instead. CR LF and lone CR become LF. No colours.
RichText ReadPlainText(std::string_view bytes);

}  // namespace zr::formats
