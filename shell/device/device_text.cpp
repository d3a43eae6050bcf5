#include "shell/device/device_text.h"

#include "machine/cp1251.h"

namespace zr::shell {

QString FromDevice(std::string_view bytes) {
    return QString::fromStdString(machine::Cp1251ToUtf8(bytes));
}

std::string ToDevice(const QString& text) {
    return machine::Utf8ToCp1251(text.toStdString());
}

}  // namespace zr::shell
