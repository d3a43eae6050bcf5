// Collects decoded characters with their colours into a RichText.
#pragma once

#include "formats/rich_text.h"

namespace zr::formats {

class TextBuilder {
  public:
    // Runs come out canonical: colour 0 makes no run and same-colour neighbours merge.
    void Append(char32_t codePoint, Colour colour);
    int length() const { return length_; }
    RichText Take() { return std::move(result_); }

  private:
    RichText result_;
    int length_ = 0;
};

}  // namespace zr::formats
