// The framing of Language Server Protocol messages on a byte stream: a header
// block ("Content-Length: N", then an empty line, each line ended by CR LF)
// and N bytes of JSON.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>

namespace zr::cli {

struct IncomingMessage {
    enum class Kind { Message, Malformed, End };
    Kind kind = Kind::End;
    std::string body;     // Message: the JSON text
    std::string problem;  // Malformed: what was wrong with the header block
};

// A body may be at most this long; a longer one is refused unread.
inline constexpr std::size_t kMaxMessageBytes = 64 * 1024 * 1024;

// Reads the next message. A header block without a usable Content-Length is
// Malformed (and consumed, so the next read starts after it); End comes at
// the end of the stream, also in the middle of a message.
IncomingMessage ReadMessage(std::istream& in);

void WriteMessage(std::ostream& out, std::string_view body);

}  // namespace zr::cli
