// The Kelto vocabulary: words, the instruction byte each compiles to when it
// stands alone (0: handled by a statement of the compiler), the editor colour
// and the status-bar hint. The compiler and the editor both read it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zr::compiler {

struct KeywordRecord {
    std::string word;          // canonical spelling, UTF-8
    std::uint8_t opcode = 0;   // 0: not a single instruction
    std::uint32_t colour = 0;  // Windows colour 0x00BBGGRR
    std::string hint;          // UTF-8, often empty
};

class KeywordTable {
  public:
    static constexpr int kCapacity = 255;

    // Appends an entry. A given colour becomes the current colour; every entry
    // takes the current colour. Entries beyond the capacity are ignored.
    void AddKeyword(std::string word, std::uint8_t opcode, std::uint32_t colour,
                    std::string hint = {});
    void AddKeyword(std::string word, std::uint8_t opcode);

    // The first entry whose word equals `word` ignoring ASCII case, or nullptr.
    // A later duplicate is never found.
    const KeywordRecord* FindKeyword(std::string_view word) const;

    const std::vector<KeywordRecord>& entries() const { return entries_; }

    // The table the environment fills at start-up.
    static const KeywordTable& Standard();

  private:
    std::vector<KeywordRecord> entries_;
    std::uint32_t currentColour_ = 0;
};

// Colours of the word groups (0x00BBGGRR).
namespace colours {
inline constexpr std::uint32_t kRed = 0x0000FF;
inline constexpr std::uint32_t kMagenta = 0xFF00FF;
inline constexpr std::uint32_t kLightMagenta = 0xFF80FF;
inline constexpr std::uint32_t kBlue = 0xFF0000;
inline constexpr std::uint32_t kGreen = 0x008000;
inline constexpr std::uint32_t kOrange = 0x0080FF;
inline constexpr std::uint32_t kTeal = 0xC0C000;
inline constexpr std::uint32_t kOlive = 0x008080;
inline constexpr std::uint32_t kDarkYellow = 0x00C0C0;
}  // namespace colours

}  // namespace zr::compiler
