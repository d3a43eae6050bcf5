// Number reading: any text reads without fault, and a numeric text's value
// agrees with the definition (exactly "0", or a non-zero reading).
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "machine/numbers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double value = zr::machine::ReadNumber(text);
    if (std::isnan(value)) std::abort();
    if (zr::machine::IsNumericText(text) != (text == "0" || value != 0)) std::abort();
    return 0;
}
