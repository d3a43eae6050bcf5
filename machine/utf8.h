// UTF-8 helpers shared by the readers and the writer.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zr::machine {

void AppendUtf8(std::string& out, char32_t codePoint);

// Decodes the sequence at `pos` and advances past it. Returns nothing (and advances one byte)
// for anything that is not well-formed UTF-8: overlong forms, surrogates, values past U+10FFFF.
std::optional<char32_t> DecodeUtf8(std::string_view text, std::size_t& pos);

// Like DecodeUtf8, but a malformed byte decodes as U+FFFD.
char32_t NextCodePoint(std::string_view text, std::size_t& pos);

bool IsValidUtf8(std::string_view text);
int CodePointCount(std::string_view text);

}  // namespace zr::machine
