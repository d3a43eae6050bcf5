// The keypad as a picture: the legends of the 16 keys, which key a point of
// the picture belongs to, and which PC key stands for which device key.
#pragma once

#include <QString>
#include <array>

namespace zr::shell {

enum class KeyFace { Grey, YellowF, LeftArrow, RightArrow, GreenEnter };

struct KeyLegend {
    QString main;  // large black legend (empty for the arrows, which are drawn)
    QString blue;  // meaning after F
    QString red;   // meaning at the function level
    KeyFace face = KeyFace::Grey;
};

inline constexpr int kKeypadKeys = 16;

// Row-major: index 0 is the top-left key, 15 (Enter) the bottom-right one.
const std::array<KeyLegend, kKeypadKeys>& KeypadLegends();

// The key released at (x, y) on a picture of `width` x `height` shown
// stretched: the quarter of the current width and height decides. -1 when the
// point lies outside the picture.
int KeyIndexAt(double x, double y, double width, double height);

// The device key a PC key stands for (Qt::Key value), or -1.
int KeyIndexForPcKey(int qtKey);

// The tooltip that tells which PC keys work the keypad.
QString PcKeyMappingHint();

}  // namespace zr::shell
