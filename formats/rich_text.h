// A source document as the editor holds it: text plus colour runs.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zr::formats {

// Colours are Windows colour values 0x00BBGGRR; 0 (black) is the default text colour.
using Colour = std::uint32_t;

// Offsets and lengths count Unicode code points of RichText::text (not bytes, not UTF-16
// units); ToUtf16Runs and FromUtf16Runs convert for editors that count UTF-16 units.
struct ColourRun {
    int start = 0;
    int length = 0;
    Colour colour = 0;

    friend bool operator==(const ColourRun&, const ColourRun&) = default;
};

// text is UTF-8 with LF line ends (one line end is one character). Characters covered by no
// run have colour 0. The readers return runs in canonical form (see NormalizeRuns).
struct RichText {
    std::string text;
    std::vector<ColourRun> runs;

    friend bool operator==(const RichText&, const RichText&) = default;
};

// Canonical runs: sorted, non-overlapping, non-empty, inside the text, no colour 0, and no two
// adjacent runs of the same colour (they are merged). Where input runs overlap, the one later
// in the list wins.
std::vector<ColourRun> NormalizeRuns(std::span<const ColourRun> runs, int textLength);

// Run offsets in code points <-> offsets in UTF-16 units of the same text.
std::vector<ColourRun> ToUtf16Runs(std::string_view text, std::span<const ColourRun> runs);
std::vector<ColourRun> FromUtf16Runs(std::string_view text, std::span<const ColourRun> runs);

}  // namespace zr::formats
