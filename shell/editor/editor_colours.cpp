#include "shell/editor/editor_colours.h"

#include <QTextCharFormat>
#include <QTextCursor>

namespace zr::shell {

QColor ToQColor(std::uint32_t windowsColour) {
    return QColor(windowsColour & 0xFF, (windowsColour >> 8) & 0xFF, (windowsColour >> 16) & 0xFF);
}

std::uint32_t ToWindowsColour(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return static_cast<std::uint32_t>(rgb.red()) | static_cast<std::uint32_t>(rgb.green()) << 8 |
           static_cast<std::uint32_t>(rgb.blue()) << 16;
}

std::uint32_t WindowsColourOf(const QTextCharFormat& format) {
    if (!format.hasProperty(QTextFormat::ForegroundBrush)) return 0;
    return ToWindowsColour(format.foreground().color());
}

bool HasUniformColour(const QTextCursor& selection, const QColor& colour) {
    const std::uint32_t wanted = ToWindowsColour(colour);
    QTextCursor probe(selection.document());
    for (int pos = selection.selectionStart(); pos < selection.selectionEnd(); ++pos) {
        // The format of a character is the one reported just after it.
        probe.setPosition(pos + 1);
        if (WindowsColourOf(probe.charFormat()) != wanted) return false;
    }
    return true;
}

}  // namespace zr::shell
