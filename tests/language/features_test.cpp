#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>

#include "compiler/messages.h"
#include "language/colouring.h"
#include "language/completion.h"
#include "language/hover.h"
#include "language/rename.h"
#include "language_helpers.h"

namespace zr::language {
namespace {

using testing::Analyse;
using testing::LibraryFolder;
using testing::PositionOf;
using testing::SpanText;

// The effect line of an opcode as help/instruction_effects.txt holds it.
std::string EffectLineInHelp(const char* opcode) {
    std::ifstream in(std::filesystem::path(ZR_SOURCE_DIR) / "help" / "instruction_effects.txt");
    for (std::string line; std::getline(in, line);)
        if (line.rfind(opcode, 0) == 0) return line.substr(5);
    return "";
}

TEST(HoverTest, KeywordShowsSpellingEffectAndHint) {
    const char* source = "sin\n1 2 + GoTo Done\nDone: End\n";
    const Analysis analysis = Analyse(source);
    const auto sine = HoverAt(analysis, 0, PositionOf(source, "sin") + 1);
    ASSERT_TRUE(sine);
    EXPECT_EQ(sine->text, "Sin — команда 0x28\n" + EffectLineInHelp("0x28"));
    EXPECT_EQ(SpanText(analysis, sine->span), "sin");
    const auto plus = HoverAt(analysis, 0, PositionOf(source, "+"));
    ASSERT_TRUE(plus);
    EXPECT_EQ(plus->text, "+ — команда 0x12\n" + EffectLineInHelp("0x12"));
    // A statement word without an instruction of its own: the keyword table's hint.
    const auto jump = HoverAt(analysis, 0, PositionOf(source, "GoTo"));
    ASSERT_TRUE(jump);
    EXPECT_EQ(jump->text, "GoTo — слово языка\nGoTo Label");
    EXPECT_FALSE(HoverAt(analysis, 0, PositionOf(source, " 2")));  // a blank between words
}

TEST(HoverTest, DeclaredNameShowsKindAddressSizeAndPlace) {
    LibraryFolder folder;
    folder.Write("tools.bib", "' tools\nTwice: 2 *\nRet\n");
    const char* source = "$Lib tools\nDimS x\nDimI w(5)\nx Call Twice\nw(2) Loop1: PORT\n";
    const Analysis analysis = Analyse(source, folder.Search());
    ASSERT_FALSE(analysis.error) << analysis.error->message;
    struct Case {
        const char* word;
        int nth;
        const char* text;
    };
    const Case cases[] = {
        {"x", 1, "x: переменная Single, адрес 1, размер 1\nобъявлено: строка 2"},
        {"w(2)", 0, "w: массив Integer, адрес 8, размер 5\nобъявлено: строка 3"},
        {"Twice", 0,
         "Twice: подпрограмма библиотеки, адрес программы 12\nобъявлено: строка 2, библиотека "
         "tools.bib"},
        {"Loop1", 0, "Loop1: метка, адрес программы 10\nобъявлено: строка 5"},
        {"PORT", 0, "PORT: имя устройства, адрес 125, размер 1\nобъявлено заранее"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word);
        const auto hover = HoverAt(analysis, 0, PositionOf(source, c.word, c.nth));
        ASSERT_TRUE(hover);
        EXPECT_EQ(hover->text, c.text);
    }
}

// Candidates at the "|" of each source.
struct CompletionCase {
    const char* source;
    std::vector<std::string> present;
    std::vector<std::string> absent;
    const char* replaced = "";  // the typed part the candidate replaces
};

TEST(CompletionTest, OffersWhatTheContextTakes) {
    LibraryFolder folder;
    folder.Write("stackmath.bib", "Cube: Dup Dup * *\nRet\n");
    folder.Write("strings.bib", "Ret\n");
    const CompletionCase cases[] = {
        // A statement: keywords in canonical spelling and declared variables.
        {"DimS total\nto|\nLoop1: End\n", {"total"}, {"Loop1", "Sin"}, "to"},
        {"DimS total\nsi|\n", {"Sin"}, {"sin", "total"}, "si"},
        {"DimS total\n|\n", {"DimS", "total", "$Lib", "PORT"}, {"Loop1"}},
        // Jump targets: labels only.
        {"DimS total\nGoTo |\nLoop1: Lap: End\n", {"Loop1", "Lap"}, {"total", "GoTo"}},
        {"Loop1: 1 =0 call L|\nLap: End\n", {"Loop1", "Lap"}, {"Sin"}, "L"},
        {"Loop1: goto @La|\nLap: End\n", {"Lap"}, {"Loop1"}, "La"},
        {"Timer |\nTick: End\n", {"Tick"}, {}},
        {"onx KeyCod [1, Tick, |\nTick: End\n", {"Tick"}, {"Sin"}},
        // Stores: variables.
        {"DimI count\n1 -> c|\nCycle: End\n", {"count"}, {"Cycle", "Cls"}, "c"},
        // Libraries in the folders searched.
        {"$Lib |\n", {"stackmath", "strings"}, {"Sin"}},
        {"$Lib st|\n", {"stackmath", "strings"}, {}, "st"},
        // Nothing in quoted texts, comments and new names.
        {"! [1,1] \"Si|\"\n", {}, {"Sin"}},
        {"1 ' Si|\n", {}, {"Sin"}},
        {"DimS a, Si|\n", {}, {"Sin"}, "Si"},
        // After a closed quoted text: a statement again.
        {"? \"x\" |\n", {"Sin"}, {}},
    };
    for (const CompletionCase& c : cases) {
        SCOPED_TRACE(c.source);
        std::string source = c.source;
        const auto caret = source.find('|');
        source.erase(caret, 1);
        const Analysis analysis = Analyse(source, folder.Search());
        const std::int32_t position =
            static_cast<std::int32_t>(caret) + 1 +
            static_cast<std::int32_t>(std::count(source.begin(), source.begin() + caret, '\n'));
        const Completion completion = CompletionAt(analysis, position);
        std::vector<std::string> texts;
        for (const auto& candidate : completion.candidates) texts.push_back(candidate.text);
        for (const auto& want : c.present)
            EXPECT_NE(std::find(texts.begin(), texts.end(), want), texts.end()) << want;
        for (const auto& unwanted : c.absent)
            EXPECT_EQ(std::find(texts.begin(), texts.end(), unwanted), texts.end()) << unwanted;
        if (c.present.empty()) {
            EXPECT_TRUE(texts.empty());
        }
        EXPECT_EQ(position - completion.replaceFrom, static_cast<int>(std::strlen(c.replaced)));
    }
}

TEST(RenameTest, RenamesTheDeclarationAndEveryUse) {
    const char* source = "DimS speed\nSpeed 2 * -> SPEED\nTop: speed GoTo @Top\n";
    const Analysis analysis = Analyse(source);
    const RenamePlan plan = PlanRename(analysis, PositionOf(source, "SPEED"), "rate");
    ASSERT_TRUE(plan.ok()) << plan.refusal;
    EXPECT_EQ(ApplyEdits(analysis.TextOf(0), plan.edits, "rate"),
              compiler::ToCompilerText("DimS rate\nrate 2 * -> rate\nTop: rate GoTo @Top\n"));
    const RenamePlan label = PlanRename(analysis, PositionOf(source, "@Top") + 2, "Again");
    ASSERT_TRUE(label.ok()) << label.refusal;
    EXPECT_EQ(label.edits.size(), 2u);
}

TEST(RenameTest, RefusesWithTheCompilersMessage) {
    LibraryFolder folder;
    folder.Write("tools.bib", "Twice: 2 *\nRet\n");
    const char* source = "$Lib tools\nDimS speed, rate\nspeed Call Twice\nTop: End\n";
    const Analysis analysis = Analyse(source, folder.Search());
    ASSERT_FALSE(analysis.error);
    struct Case {
        const char* at;
        const char* newName;
        std::string_view refusal;
    };
    const Case cases[] = {
        {"speed", "rate", compiler::messages::kNameDeclared},  // declared
        {"speed", "RATE", compiler::messages::kNameDeclared},  // in any case
        {"speed", "Port", compiler::messages::kNameDeclared},  // predeclared
        {"speed", "Sin", compiler::messages::kNameDeclared},   // a keyword
        {"speed", "Top", compiler::messages::kNameDeclared},   // a label
        {"speed", "two words", compiler::messages::kSyntaxError},
        {"speed", "12", compiler::messages::kSyntaxError},
        {"speed", "x:", compiler::messages::kSyntaxError},
        {"Top", "", compiler::messages::kSyntaxError},
        {"Twice", "Thrice", "Имя объявлено в библиотеке: переименуйте его там"},
        {"End", "Finish", "Здесь нет имени, которое можно переименовать"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.at) + " -> " + c.newName);
        const RenamePlan plan = PlanRename(analysis, PositionOf(source, c.at), c.newName);
        EXPECT_FALSE(plan.ok());
        EXPECT_EQ(plan.refusal, c.refusal);
    }
    // Same name in another case is no clash with itself.
    EXPECT_TRUE(PlanRename(analysis, PositionOf(source, "speed"), "Speed").ok());
}

TEST(ColouringTest, ClassifiesEachWordAsTheEditorColoursIt) {
    const char* source = "DimS x ' note\n? \"Side?\" -> x\nTop: x 2.5 * GoTo @Top\nqq\n";
    const Analysis analysis = Analyse(source);
    std::vector<std::pair<std::string, WordClass>> words;
    for (const auto& word : ClassifyText(analysis, 0))
        words.emplace_back(SpanText(analysis, word.span), word.wordClass);
    const std::vector<std::pair<std::string, WordClass>> expected = {
        {"DimS", WordClass::Keyword},
        {"x", WordClass::Variable},
        {"' note", WordClass::Comment},
        {"?", WordClass::Keyword},
        {"\"Side?\"", WordClass::QuotedText},
        {"->", WordClass::Keyword},
        {"x", WordClass::Variable},
        {"Top:", WordClass::Label},
        {"x", WordClass::Variable},
        {"2.5", WordClass::Number},
        {"*", WordClass::Keyword},
        {"GoTo", WordClass::Keyword},
        {"@Top", WordClass::Label},
    };
    EXPECT_EQ(words, expected);
}

}  // namespace
}  // namespace zr::language
