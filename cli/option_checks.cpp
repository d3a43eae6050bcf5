#include <charconv>
#include <cstdint>

#include "cli/commands.h"
#include "cli/run_debugging.h"

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

// A --break item, LINE[#HITS][:CONDITION]; the condition's names are
// checked once the program is compiled.
CLI::Validator BreakpointItem() {
    return CLI::Validator(
        [](std::string& value) -> std::string {
            std::string error;
            return ParseBreakItem(value, error) ? "" : error;
        },
        "LINE[#HITS][:COND]");
}

}  // namespace zr::cli
