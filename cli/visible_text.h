// Device bytes, file names and library names reach the terminal through
// keltoc's text reports; control characters in them must not drive it (set
// its title, clear the screen). These helpers make them visible instead.
#pragma once

#include <string>
#include <string_view>

namespace zr::cli {

// UTF-8 text with each control character (below 0x20, 0x7F, and the C1
// controls U+0080..U+009F) and each byte that is not UTF-8 written as \xNN.
std::string EscapeControls(std::string_view utf8);

// The same, but each such character becomes one "·", so columns stay put
// (the display box).
std::string MaskControls(std::string_view utf8);

}  // namespace zr::cli
