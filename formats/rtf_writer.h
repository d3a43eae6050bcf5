// Writes a source as RTF that rich-text editors open with its colours.
#pragma once

#include <string>

#include "formats/rich_text.h"

namespace zr::formats {

// Windows-1251 RTF: a one-font table (Courier New, Cyrillic charset), a \colortbl of the run
// colours in order of first use, \cfN around each run, LF as \par. Characters in
// Windows-1251 are \'xx (bytes from 80) or plain ASCII, others \uN with "?" as fallback.
// Runs need not be canonical (NormalizeRuns is applied), so the written file reads back as
// the same text with canonical runs. `document.text` must be valid UTF-8.
std::string WriteRtf(const RichText& document);

}  // namespace zr::formats
