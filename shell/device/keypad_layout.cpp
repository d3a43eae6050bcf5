#include "shell/device/keypad_layout.h"

#include <QObject>
#include <cmath>

namespace zr::shell {

const std::array<KeyLegend, kKeypadKeys>& KeypadLegends() {
    static const std::array<KeyLegend, kKeypadKeys> legends = {{
        {"0", "A", "Load"},
        {"1", "B", "ADC"},
        {"2", "C", "Sound"},
        {"3", "D", "In"},
        {"4", "E", "Out"},
        {"5", "F", ""},
        {"6", "Integer", "H\\D"},
        {"7", "Single", ""},
        {"8", "Adres", ""},
        {"9", "Function", ""},
        {",", "Start", ""},
        {"-", "Mem", ""},
        {"F", "", "", KeyFace::YellowF},
        {"Stop", "", "", KeyFace::LeftArrow},
        {"", "", "", KeyFace::RightArrow},
        {"Enter", "", "", KeyFace::GreenEnter},
    }};
    return legends;
}

int KeyIndexAt(double x, double y, double width, double height) {
    if (x < 0 || y < 0 || x >= width || y >= height) return -1;
    // Rounding half to even, then whole quarters: the quarter decides.
    const long cellWidth = std::lrint(width) / 4;
    const long cellHeight = std::lrint(height) / 4;
    if (cellWidth <= 0 || cellHeight <= 0) return -1;
    // When the size is no multiple of 4 the last pixels would make a fifth
    // column or row, which the index would take for the next row's first key.
    const long row = std::min(std::lrint(y) / cellHeight, 3L);
    const long column = std::min(std::lrint(x) / cellWidth, 3L);
    return static_cast<int>(4 * row + column);
}

int KeyIndexForPcKey(int qtKey) {
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return qtKey - Qt::Key_0;
    switch (qtKey) {
        case Qt::Key_Comma:
        case Qt::Key_Period:
            return 10;
        case Qt::Key_Minus:
            return 11;
        case Qt::Key_F:
            return 12;
        case Qt::Key_Left:
            return 13;
        case Qt::Key_Right:
            return 14;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 15;
        default:
            return -1;
    }
}

QString PcKeyMappingHint() {
    return QObject::tr(
        "Клавиатура ПК: 0-9 - цифры, «,» или «.» - запятая, «-» - минус, F - клавиша F, "
        "← - стрелка влево (Stop), → - стрелка вправо, Enter - Enter");
}

}  // namespace zr::shell
