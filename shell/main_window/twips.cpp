#include "shell/main_window/twips.h"

#include <QWidget>
#include <cmath>

namespace zr::shell {

int TwipsToPixels(int twips, double dotsPerInch) {
    return static_cast<int>(std::lround(twips * dotsPerInch / 1440.0));
}

QRect TwipsRect(const QWidget& widget, int left, int top, int width, int height) {
    const double x = widget.logicalDpiX();
    const double y = widget.logicalDpiY();
    return QRect(TwipsToPixels(left, x), TwipsToPixels(top, y), TwipsToPixels(width, x),
                 TwipsToPixels(height, y));
}

}  // namespace zr::shell
