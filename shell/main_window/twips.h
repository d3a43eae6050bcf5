// Window geometry is given in twips (1/1440 inch); pixels follow the screen's
// resolution.
#pragma once

#include <QRect>

class QWidget;

namespace zr::shell {

int TwipsToPixels(int twips, double dotsPerInch);
// A rectangle in twips (left, top, width, height) in the pixels of `widget`'s screen.
QRect TwipsRect(const QWidget& widget, int left, int top, int width, int height);

}  // namespace zr::shell
