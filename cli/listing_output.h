// The listing of a compile: decoded instructions grouped under the source
// lines that produced them; as text and as JSON.
#pragma once

#include <iosfwd>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "compiler/program_listing.h"

namespace zr::cli {

using compiler::ListingEntry;
using compiler::MakeListing;

// Each group under its source line as a comment: "; LINE: TEXT".
void PrintListing(const std::vector<ListingEntry>& listing, std::ostream& out);

// [{address, bytes, name, operands, line}]; line is null outside the main text.
nlohmann::json ListingJson(const std::vector<ListingEntry>& listing);

}  // namespace zr::cli
