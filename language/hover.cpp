#include "language/hover.h"

#include <array>
#include <cstdio>
#include <filesystem>

#include "compiler/source_text.h"
#include "language/tokens.h"
#include "machine/cp1251.h"

namespace zr::language {
namespace {

// help/instruction_effects.txt, as the help build reads it: "0xNN<tab>text".
constexpr std::string_view kEffectsFile =
#include "language/instruction_effects.inc"
    ;

std::array<std::string_view, 256> ReadEffects() {
    std::array<std::string_view, 256> effects{};
    std::size_t at = 0;
    while (at < kEffectsFile.size()) {
        auto end = kEffectsFile.find('\n', at);
        if (end == std::string_view::npos) end = kEffectsFile.size();
        const std::string_view line = kEffectsFile.substr(at, end - at);
        at = end + 1;
        if (line.size() < 6 || line.substr(0, 2) != "0x" || line[4] != '\t') continue;
        const int value = std::stoi(std::string(line.substr(2, 2)), nullptr, 16);
        effects[value] = line.substr(5);
    }
    return effects;
}

std::string PlaceText(const Analysis& analysis, const Span& span) {
    const auto at = compiler::LineColumnOf(analysis.TextOf(span.sourceIndex), span.start);
    std::string text = "строка " + std::to_string(at.line);
    if (span.sourceIndex != 0)
        text += ", библиотека " + analysis.PathOf(span.sourceIndex).filename().string();
    return text;
}

std::string NameHoverText(const Analysis& analysis, const Declaration& declaration) {
    std::string text = declaration.name + ": " + KindText(declaration);
    const bool program = declaration.nameKind == compiler::NameKind::Label;
    text += program ? ", адрес программы " : ", адрес ";
    text += std::to_string(declaration.address);
    if (!program) text += ", размер " + std::to_string(declaration.size);
    text += "\n";
    text += declaration.span ? "объявлено: " + PlaceText(analysis, *declaration.span)
                             : std::string("объявлено заранее");
    return text;
}

}  // namespace

std::string_view InstructionEffect(std::uint8_t opcode) {
    static const auto effects = ReadEffects();
    return effects[opcode];
}

std::string KeywordHoverText(const compiler::KeywordRecord& keyword) {
    std::string text = keyword.word;
    if (keyword.opcode != 0) {
        char code[8];
        std::snprintf(code, sizeof code, "0x%02X", keyword.opcode);
        text += " — команда " + std::string(code);
        if (const auto effect = InstructionEffect(keyword.opcode); !effect.empty())
            text += "\n" + std::string(effect);
    } else {
        text += " — слово языка";
    }
    if (!keyword.hint.empty()) text += "\n" + keyword.word + " " + keyword.hint;
    return text;
}

std::optional<Hover> HoverAt(const Analysis& analysis, int sourceIndex, std::int32_t position) {
    if (const auto declaration = analysis.DeclarationAt(sourceIndex, position)) {
        const Declaration& found = analysis.declarations[*declaration];
        Span span{sourceIndex, position, 0};
        if (found.span && found.span->Holds(sourceIndex, position)) span = *found.span;
        for (const Reference& reference : analysis.references)
            if (reference.declaration == *declaration &&
                reference.span.Holds(sourceIndex, position))
                span = reference.span;
        return Hover{NameHoverText(analysis, found), span};
    }
    const std::string& text = analysis.TextOf(sourceIndex);
    const auto tokens = LineTokens(text, LineAround(text, position));
    const Token* token = TokenAt(tokens, position);
    if (!token || token->kind != TokenKind::Word) return std::nullopt;
    const auto* keyword =
        compiler::KeywordTable::Standard().FindKeyword(machine::Cp1251ToUtf8(token->text));
    if (!keyword) return std::nullopt;
    return Hover{KeywordHoverText(*keyword), {sourceIndex, token->start, token->length}};
}

}  // namespace zr::language
