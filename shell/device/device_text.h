// Device text (Windows-1251 bytes) to and from the strings Qt widgets show.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace zr::shell {

QString FromDevice(std::string_view bytes);

// Characters outside the code page become '?'.
std::string ToDevice(const QString& text);

}  // namespace zr::shell
