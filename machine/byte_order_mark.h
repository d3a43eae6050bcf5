// The byte-order mark that some editors put at the start of a text file.
#pragma once

#include <string>
#include <string_view>

namespace zr::machine {

// The text of a file without its byte-order mark: after a UTF-8 mark the
// bytes that follow; after a UTF-16 mark (little- or big-endian) the text
// decoded to UTF-8, a lone surrogate and a stray last byte (an odd byte count)
// each becoming U+FFFD; without a mark the bytes as they stand. Every reader of text files calls it
// first, so a mark never becomes part of the first word.
std::string WithoutByteOrderMark(std::string_view bytes);

}  // namespace zr::machine
