#include "cli/listing_output.h"

#include <ostream>

#include "cli/visible_text.h"

namespace zr::cli {
void PrintListing(const std::vector<ListingEntry>& listing, std::ostream& out) {
    int shownSource = -1, shownLine = -1;
    for (const ListingEntry& entry : listing) {
        if (entry.line != 0 && (entry.sourceIndex != shownSource || entry.line != shownLine)) {
            out << "; " << (entry.file.empty() ? "" : entry.file + " ") << entry.line << ": "
                << EscapeControls(entry.lineText) << '\n';
            shownSource = entry.sourceIndex;
            shownLine = entry.line;
        }
        out << EscapeControls(machine::FormatInstruction(entry.instruction)) << '\n';
    }
}

nlohmann::json ListingJson(const std::vector<ListingEntry>& listing) {
    nlohmann::json result = nlohmann::json::array();
    for (const ListingEntry& entry : listing) {
        nlohmann::json line = nullptr;
        if (entry.sourceIndex == 0 && entry.line != 0) line = entry.line;
        result.push_back({{"address", entry.instruction.address},
                          {"bytes", entry.instruction.bytes},
                          {"name", entry.instruction.name},
                          {"operands", entry.instruction.operands},
                          {"line", line}});
    }
    return result;
}

}  // namespace zr::cli
