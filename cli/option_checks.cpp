#include <charconv>
#include <cstdint>

#include "cli/commands.h"

namespace zr::cli {

CLI::Validator NonEmptyFileName() {
    return CLI::Validator(
        [](std::string& value) { return value.empty() ? std::string("empty file name") : ""; },
        "FILE");
}

// CLI11 alone would take "-1" as 2^64 - 1 for an unsigned option.
CLI::Validator PositiveCount() {
    return CLI::Validator(
        [](std::string& value) -> std::string {
            std::uint64_t count = 0;
            const char* end = value.data() + value.size();
            const auto parsed = std::from_chars(value.data(), end, count);
            if (value.empty() || parsed.ec != std::errc() || parsed.ptr != end || count == 0)
                return "must be a whole number from 1 to 18446744073709551615, not '" + value + "'";
            return "";
        },
        "N>=1");
}

// A source line for --break: CLI11's own range check would print the largest
// double as its upper bound.
CLI::Validator LineNumber() {
    return CLI::Validator(
        [](std::string& value) -> std::string {
            int line = 0;
            const char* end = value.data() + value.size();
            const auto parsed = std::from_chars(value.data(), end, line);
            if (value.empty() || parsed.ec != std::errc() || parsed.ptr != end || line < 1)
                return "must be a source line number from 1, not '" + value + "'";
            return "";
        },
        "LINE>=1");
}

}  // namespace zr::cli
