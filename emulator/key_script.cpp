#include "emulator/key_script.h"

#include <charconv>

#include "emulator/emulator.h"

namespace zr::emulator {
namespace {

struct TokenName {
    std::string_view name;
    ScriptAction action;
    std::uint8_t keyIndex;
};

// Keypad indices run row by row: 0-3, 4-7, 8 9 comma minus, F left right Enter.
constexpr TokenName kTokenNames[] = {
    {"0", ScriptAction::Key, 0},         {"1", ScriptAction::Key, 1},
    {"2", ScriptAction::Key, 2},         {"3", ScriptAction::Key, 3},
    {"4", ScriptAction::Key, 4},         {"5", ScriptAction::Key, 5},
    {"6", ScriptAction::Key, 6},         {"7", ScriptAction::Key, 7},
    {"8", ScriptAction::Key, 8},         {"9", ScriptAction::Key, 9},
    {"comma", ScriptAction::Key, 10},    {"minus", ScriptAction::Key, 11},
    {"F", ScriptAction::Key, 12},        {"left", ScriptAction::Key, 13},
    {"right", ScriptAction::Key, 14},    {"enter", ScriptAction::Key, 15},
    {"run1", ScriptAction::RunFrom1, 0}, {"run", ScriptAction::Run, 0},
    {"stop", ScriptAction::Stop, 0},     {"adr1", ScriptAction::Address1, 0},
    {"end", ScriptAction::End, 0},       {"tick", ScriptAction::Tick, 0},
};

std::string_view Trim(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

}  // namespace

std::optional<std::vector<KeyToken>> ParseKeyTokens(std::string_view list, std::string& error) {
    const std::string_view whole = list;
    std::vector<KeyToken> tokens;
    for (bool more = !Trim(list).empty(); more;) {
        const auto comma = list.find(',');
        std::string_view item = Trim(list.substr(0, comma));
        more = comma != std::string_view::npos;
        list = more ? list.substr(comma + 1) : std::string_view{};
        KeyToken token;
        if (!item.empty() && item.front() == '@') {
            const auto colon = item.find(':');
            std::uint64_t at = 0;
            const auto digits = item.substr(1, colon == std::string_view::npos ? 0 : colon - 1);
            const auto parsed = std::from_chars(digits.data(), digits.data() + digits.size(), at);
            if (colon == std::string_view::npos || digits.empty() || parsed.ec != std::errc() ||
                parsed.ptr != digits.data() + digits.size()) {
                error = "bad timed token '" + std::string(item) +
                        "' (expected @N:TOKEN, N a whole number below 2^64)";
                return std::nullopt;
            }
            token.at = at;
            item = Trim(item.substr(colon + 1));
        }
        // "enter,,enter" and "@5:" alike: a token left out is a mistake, not a pause.
        if (item.empty()) {
            error = "empty key token in '" + std::string(whole) + "'";
            return std::nullopt;
        }
        bool known = false;
        for (const auto& name : kTokenNames) {
            if (name.name == item) {
                token.action = name.action;
                token.keyIndex = name.keyIndex;
                known = true;
                break;
            }
        }
        if (!known) {
            error = "unknown key token '" + std::string(item) + "'";
            return std::nullopt;
        }
        tokens.push_back(token);
    }
    return tokens;
}

void DeliverToken(Emulator& emulator, const KeyToken& token) {
    switch (token.action) {
        case ScriptAction::Key:
            emulator.PressKey(token.keyIndex);
            break;
        case ScriptAction::RunFrom1:
            emulator.CommandRunFrom1();
            break;
        case ScriptAction::Run:
            emulator.CommandRun();
            break;
        case ScriptAction::Stop:
            emulator.CommandStop();
            break;
        case ScriptAction::Address1:
            emulator.CommandAddress1();
            break;
        case ScriptAction::End:
            emulator.RequestEnd();
            break;
        case ScriptAction::Tick:
            emulator.TimerTick();
            break;
    }
}

}  // namespace zr::emulator
