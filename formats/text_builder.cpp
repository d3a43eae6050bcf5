#include "formats/text_builder.h"

#include "machine/utf8.h"

namespace zr::formats {

void TextBuilder::Append(char32_t codePoint, Colour colour) {
    machine::AppendUtf8(result_.text, codePoint);
    if (colour != 0) {
        auto& runs = result_.runs;
        if (!runs.empty() && runs.back().colour == colour &&
            runs.back().start + runs.back().length == length_) {
            ++runs.back().length;
        } else {
            runs.push_back({length_, 1, colour});
        }
    }
    ++length_;
}

}  // namespace zr::formats
