#include "formats/rtf_reader.h"

#include <algorithm>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "formats/code_pages.h"
#include "formats/text_builder.h"
#include "machine/numbers.h"

namespace zr::formats {
namespace {

// Real documents nest a few dozen groups deep; deeper groups are counted but share the state
// of the deepest kept one, so hostile nesting costs no memory.
constexpr std::size_t kMaxGroupDepth = 256;
constexpr char32_t kReplacement = 0xFFFD;

enum class Destination : unsigned char { Body, FontTable, ColourTable, Skipped };

// Character properties a group inherits from its parent and restores at its end.
struct GroupState {
    Destination destination = Destination::Body;
    int font = -1;         // -1: the default font (\deff)
    int colourIndex = 0;   // index into \colortbl; 0 is the automatic colour
    int fallbackSize = 1;  // \uc: characters that stand in for each \u
    bool hidden = false;   // \v
};

enum class Action : unsigned char {
    Character,        // inserts `value`
    Destination,      // the group holds `value` (a Destination), not body text
    KeepDestination,  // a \* destination whose text we keep (nested table rows hold cells)
    AnsiCodePage,     // \ansicpgN
    FixedCodePage,    // \ansi, \mac, \pc, \pca: code page `value`
    DefaultFont,      // \deffN
    Font,             // \fN
    FontCharset,      // \fcharsetN
    FontCodePage,     // \cpgN
    Colour,           // \cfN
    Red,
    Green,
    Blue,
    Plain,         // \plain: reset character properties
    Hidden,        // \v, \v0
    Unicode,       // \uN
    FallbackSize,  // \ucN
    Binary,        // \binN: N raw bytes follow
};

struct ControlWord {
    std::string_view name;
    Action action;
    char32_t value = 0;
};

constexpr char32_t kSkipped = static_cast<char32_t>(Destination::Skipped);

// Sorted by name for binary search.
constexpr ControlWord kControlWords[] = {
    {"annotation", Action::Destination, kSkipped},
    {"ansi", Action::FixedCodePage, 1252},
    {"ansicpg", Action::AnsiCodePage},
    {"atnauthor", Action::Destination, kSkipped},
    {"atnid", Action::Destination, kSkipped},
    {"bin", Action::Binary},
    {"blue", Action::Blue},
    {"bullet", Action::Character, 0x2022},
    {"cell", Action::Character, '\t'},
    {"cf", Action::Colour},
    {"colortbl", Action::Destination, static_cast<char32_t>(Destination::ColourTable)},
    {"cpg", Action::FontCodePage},
    {"deff", Action::DefaultFont},
    {"emdash", Action::Character, 0x2014},
    {"emspace", Action::Character, 0x2003},
    {"endash", Action::Character, 0x2013},
    {"enspace", Action::Character, 0x2002},
    {"f", Action::Font},
    {"fcharset", Action::FontCharset},
    {"fldinst", Action::Destination, kSkipped},
    {"fonttbl", Action::Destination, static_cast<char32_t>(Destination::FontTable)},
    {"footer", Action::Destination, kSkipped},
    {"footerf", Action::Destination, kSkipped},
    {"footerl", Action::Destination, kSkipped},
    {"footerr", Action::Destination, kSkipped},
    {"footnote", Action::Destination, kSkipped},
    {"green", Action::Green},
    {"header", Action::Destination, kSkipped},
    {"headerf", Action::Destination, kSkipped},
    {"headerl", Action::Destination, kSkipped},
    {"headerr", Action::Destination, kSkipped},
    {"info", Action::Destination, kSkipped},
    {"ldblquote", Action::Character, 0x201C},
    {"line", Action::Character, '\n'},
    {"listtext", Action::Destination, kSkipped},
    {"lquote", Action::Character, 0x2018},
    {"mac", Action::FixedCodePage, 10000},
    {"nestcell", Action::Character, '\t'},
    {"nestrow", Action::Character, '\n'},
    {"nesttableprops", Action::KeepDestination},
    {"nonshppict", Action::Destination, kSkipped},
    {"objdata", Action::Destination, kSkipped},
    {"page", Action::Character, '\n'},
    {"par", Action::Character, '\n'},
    {"pc", Action::FixedCodePage, 437},
    {"pca", Action::FixedCodePage, 850},
    {"pict", Action::Destination, kSkipped},
    {"plain", Action::Plain},
    {"pntext", Action::Destination, kSkipped},
    {"rdblquote", Action::Character, 0x201D},
    {"red", Action::Red},
    {"row", Action::Character, '\n'},
    {"rquote", Action::Character, 0x2019},
    {"sect", Action::Character, '\n'},
    {"stylesheet", Action::Destination, kSkipped},
    {"tab", Action::Character, '\t'},
    {"tc", Action::Destination, kSkipped},
    {"txe", Action::Destination, kSkipped},
    {"u", Action::Unicode},
    {"uc", Action::FallbackSize},
    {"v", Action::Hidden},
    {"xe", Action::Destination, kSkipped},
};

static_assert(std::ranges::is_sorted(kControlWords, {}, &ControlWord::name));

const ControlWord* FindControlWord(std::string_view name) {
    const auto* it = std::ranges::lower_bound(kControlWords, name, {}, &ControlWord::name);
    return it != std::end(kControlWords) && it->name == name ? it : nullptr;
}

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

class RtfReader {
  public:
    explicit RtfReader(std::string_view rtf) : in_(rtf) {}

    RichText Read() {
        while (pos_ < in_.size() && !finished_) Step();
        Flush();
        if (highSurrogate_ != 0) builder_.Append(kReplacement, CurrentColour());
        return builder_.Take();
    }

  private:
    GroupState& state() { return groups_.back(); }

    void Step() {
        const bool afterStar = afterStar_;
        afterStar_ = false;
        const char c = in_[pos_++];
        switch (c) {
            case '{':
                return OpenGroup();
            case '}':
                return CloseGroup();
            case '\\':
                return ReadControl(afterStar);
            case '\r':
            case '\n':
                afterStar_ = afterStar;
                return;  // line breaks in the file are not text
            default:
                return Literal(static_cast<unsigned char>(c));
        }
    }

    void OpenGroup() {
        Flush();
        fallbackLeft_ = 0;
        if (groups_.size() >= kMaxGroupDepth) {
            ++groupsBeyondLimit_;
        } else {
            groups_.push_back(groups_.empty() ? GroupState{} : groups_.back());
        }
    }

    void CloseGroup() {
        Flush();
        fallbackLeft_ = 0;
        if (groupsBeyondLimit_ > 0) {
            --groupsBeyondLimit_;
            return;
        }
        if (groups_.size() > 1) groups_.pop_back();
        // The document's own group has ended; what follows (often a NUL byte) is not RTF.
        if (groups_.size() == 1) finished_ = true;
    }

    void Literal(unsigned char c) {
        if (fallbackLeft_ > 0) {
            --fallbackLeft_;
            return;
        }
        if (c < 0x20 && c != '\t') return;  // stray control bytes (a trailing NUL, say)
        Byte(c);
    }

    // A text byte in the current code page; double-byte pages need both halves together, so
    // bytes wait in `pending_` until a control word or group boundary.
    void Byte(unsigned char c) {
        switch (state().destination) {
            case Destination::Body:
                if (!state().hidden) pending_ += static_cast<char>(c);
                break;
            case Destination::ColourTable:
                if (c == ';') {
                    colourTable_.push_back(colourSet_ ? colour_ : 0);
                    colour_ = 0;
                    colourSet_ = false;
                }
                break;
            case Destination::FontTable:
            case Destination::Skipped:
                break;
        }
    }

    void ReadControl(bool afterStar) {
        if (pos_ >= in_.size()) return;
        const char c = in_[pos_];
        if (!IsLetter(c)) {
            ++pos_;
            return ControlSymbol(c);
        }
        const std::size_t nameStart = pos_;
        while (pos_ < in_.size() && IsLetter(in_[pos_])) ++pos_;
        const std::string_view name = in_.substr(nameStart, pos_ - nameStart);
        const std::optional<int> parameter = ReadParameter();
        if (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;  // the delimiting space

        const ControlWord* word = FindControlWord(name);
        if (word != nullptr && word->action == Action::Binary)
            return SkipBinary(parameter.value_or(0));
        Flush();
        fallbackLeft_ = 0;
        if (afterStar && (word == nullptr || word->action != Action::KeepDestination)) {
            state().destination = Destination::Skipped;
            return;
        }
        if (word != nullptr) ControlWordAction(*word, parameter);
    }

    // Digits after a control word, optionally negative; clamped so that huge numbers neither
    // overflow nor get misread.
    std::optional<int> ReadParameter() {
        const bool negative = pos_ + 1 < in_.size() && in_[pos_] == '-' && IsDigit(in_[pos_ + 1]);
        if (negative) ++pos_;
        if (pos_ >= in_.size() || !IsDigit(in_[pos_])) return std::nullopt;
        long long value = 0;
        for (; pos_ < in_.size() && IsDigit(in_[pos_]); ++pos_)
            value = std::min(value * 10 + (in_[pos_] - '0'), 1LL << 32);
        value = negative ? -value : value;
        return static_cast<int>(std::clamp<long long>(value, INT32_MIN, INT32_MAX));
    }

    void ControlSymbol(char c) {
        switch (c) {
            case '\'':
                return HexByte();
            case '*':
                afterStar_ = true;
                return;
            case '\\':
            case '{':
            case '}':
                return Literal(static_cast<unsigned char>(c));
        }
        Flush();
        fallbackLeft_ = 0;
        switch (c) {
            case '~':
                return Emit(0x00A0);
            case '_':
                return Emit(0x2011);
            case '\r':
            case '\n':
                return Emit('\n');  // a backslash before a line break is \par
            case '\t':
                return Emit('\t');
            default:
                return;  // \- optional hyphen, \: index subentry, \| formula and others
        }
    }

    void HexByte() {
        int value = 0;
        int digits = 0;
        for (; digits < 2 && pos_ < in_.size(); ++digits, ++pos_) {
            const int digit = machine::HexDigitValue(in_[pos_]);
            if (digit < 0) break;
            value = value * 16 + digit;
        }
        if (fallbackLeft_ > 0) {
            --fallbackLeft_;
            return;
        }
        if (digits > 0) Byte(static_cast<unsigned char>(value));
    }

    void SkipBinary(int length) {
        pos_ += std::min<std::size_t>(std::max(length, 0), in_.size() - pos_);
        if (fallbackLeft_ > 0) --fallbackLeft_;  // the data stands as one fallback character
    }

    void ControlWordAction(const ControlWord& word, std::optional<int> parameter) {
        GroupState& group = state();
        const int value = parameter.value_or(0);
        if (group.destination == Destination::Skipped) return;
        if (group.destination == Destination::FontTable) return FontTableWord(word, value);
        if (group.destination == Destination::ColourTable) return ColourTableWord(word, value);
        switch (word.action) {
            case Action::Character:
                return Emit(word.value);
            case Action::Destination:
                group.destination = static_cast<Destination>(word.value);
                return;
            case Action::AnsiCodePage:
                ansiCodePage_ = value;
                return;
            case Action::FixedCodePage:
                ansiCodePage_ = static_cast<int>(word.value);
                return;
            case Action::DefaultFont:
                defaultFont_ = value;
                return;
            case Action::Font:
                group.font = value;
                return;
            case Action::Colour:
                group.colourIndex = value;
                return;
            case Action::Plain:
                group.font = -1;
                group.colourIndex = 0;
                group.hidden = false;
                return;
            case Action::Hidden:
                group.hidden = parameter.value_or(1) != 0;
                return;
            case Action::Unicode:
                if (!parameter) return;
                // Values past 32767 are written negative, as signed 16-bit numbers.
                Emit(static_cast<char32_t>(value < 0 ? value + 0x10000 : value));
                fallbackLeft_ = group.fallbackSize;
                return;
            case Action::FallbackSize:
                group.fallbackSize = std::clamp(value, 0, 16);
                return;
            default:
                return;
        }
    }

    void FontTableWord(const ControlWord& word, int value) {
        switch (word.action) {
            case Action::Font:
                fontBeingDefined_ = value;
                return;
            case Action::FontCharset:
                if (const int page = CodePageOfCharset(value))
                    fontCodePages_[fontBeingDefined_] = page;
                return;
            case Action::FontCodePage:
                fontCodePages_[fontBeingDefined_] = value;
                return;
            default:
                return;
        }
    }

    void ColourTableWord(const ControlWord& word, int value) {
        const Colour component = std::clamp(value, 0, 255);
        switch (word.action) {
            case Action::Red:
                colour_ = (colour_ & 0xFFFF00) | component;
                break;
            case Action::Green:
                colour_ = (colour_ & 0xFF00FF) | component << 8;
                break;
            case Action::Blue:
                colour_ = (colour_ & 0x00FFFF) | component << 16;
                break;
            default:
                return;
        }
        colourSet_ = true;
    }

    int CurrentCodePage() {
        const int font = state().font >= 0 ? state().font : defaultFont_;
        const auto it = fontCodePages_.find(font);
        return it != fontCodePages_.end() ? it->second : ansiCodePage_;
    }

    Colour CurrentColour() {
        const int index = state().colourIndex;
        return index > 0 && index < static_cast<int>(colourTable_.size()) ? colourTable_[index] : 0;
    }

    // Decodes the bytes waiting since the last control word; called before anything that can
    // change the code page, the colour or the destination.
    void Flush() {
        if (pending_.empty()) return;
        decoded_.clear();
        decoder_.Decode(CurrentCodePage(), pending_, decoded_);
        pending_.clear();
        for (char32_t cp : decoded_) Emit(cp);
    }

    // Appends one character to the body text, pairing UTF-16 surrogates from \u.
    void Emit(char32_t cp) {
        if (state().destination != Destination::Body || state().hidden) return;
        const bool high = cp >= 0xD800 && cp <= 0xDBFF;
        const bool low = cp >= 0xDC00 && cp <= 0xDFFF;
        if (low && highSurrogate_ != 0) {
            cp = 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (cp - 0xDC00);
        } else {
            if (highSurrogate_ != 0) builder_.Append(kReplacement, CurrentColour());
            if (low || cp > 0x10FFFF) cp = kReplacement;
        }
        highSurrogate_ = 0;
        if (high) {
            highSurrogate_ = cp;
            return;
        }
        builder_.Append(cp, CurrentColour());
    }

    std::string_view in_;
    std::size_t pos_ = 0;
    bool finished_ = false;
    bool afterStar_ = false;
    int fallbackLeft_ = 0;  // fallback characters still to skip after a \u

    std::vector<GroupState> groups_{GroupState{}};
    std::size_t groupsBeyondLimit_ = 0;

    int ansiCodePage_ = kWindowsLatin1;
    int defaultFont_ = 0;
    int fontBeingDefined_ = 0;
    std::unordered_map<int, int> fontCodePages_;  // only fonts whose charset names a page

    std::vector<Colour> colourTable_;
    Colour colour_ = 0;  // the \colortbl entry being read
    bool colourSet_ = false;

    CodePageDecoder decoder_;
    std::string pending_;
    std::u32string decoded_;
    char32_t highSurrogate_ = 0;
    TextBuilder builder_;
};

}  // namespace

RichText ReadRtf(std::string_view rtf) {
    constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
    if (rtf.starts_with(kUtf8Mark)) rtf.remove_prefix(kUtf8Mark.size());
    return RtfReader(rtf).Read();
}

}  // namespace zr::formats
