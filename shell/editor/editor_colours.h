// The editor's text colours: Windows colour values (0x00BBGGRR) as the
// keyword table and the .zrt files hold them, and their Qt form.
#pragma once

#include <QColor>
#include <cstdint>

class QTextCharFormat;
class QTextCursor;

namespace zr::shell {

// Quoted texts and comments are not Kelto words: they keep what was typed and
// show in colours of their own, apart from every keyword group.
inline constexpr std::uint32_t kQuotedTextColour = 0x004080;  // brown
inline constexpr std::uint32_t kCommentColour = 0x808080;     // grey

QColor ToQColor(std::uint32_t windowsColour);
std::uint32_t ToWindowsColour(const QColor& colour);

// The colour of text in `format`; text without a colour of its own is black (0).
std::uint32_t WindowsColourOf(const QTextCharFormat& format);

// True when every character of the cursor's selection is drawn in `colour`.
bool HasUniformColour(const QTextCursor& selection, const QColor& colour);

}  // namespace zr::shell
