// Reads RTF written by this editor or by other rich-text editors.
#pragma once

#include <string_view>

#include "formats/rich_text.h"

namespace zr::formats {

// The visible text and its \cf colours. Paragraph and line breaks (\par, \line, \row, \sect,
// \page) become LF, \tab and \cell a tab. Destinations that are not body text (font, colour
// and style tables, \info, pictures, field instructions, list numbering text, every unknown
// \* group) are skipped; a field shows its result. \'xx bytes decode in the code page of the
// current font's \fcharset (or \cpg), else in \ansicpg (1252 when absent). Never fails: any
// input gives some text, bad nesting and truncation included, in time linear in its size.
RichText ReadRtf(std::string_view rtf);

}  // namespace zr::formats
