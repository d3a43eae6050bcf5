#include "language/analysis.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "compiler/messages.h"
#include "formats/zrt.h"
#include "language_helpers.h"

namespace zr::language {
namespace {

using testing::Analyse;
using testing::LibraryFolder;
using testing::PositionOf;
using testing::SpanText;

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void ExpectSameCompile(const compiler::Compiler& plain, const compiler::Compiler& observed) {
    EXPECT_EQ(plain.programImage, observed.programImage);
    EXPECT_EQ(plain.compileAddress, observed.compileAddress);
    EXPECT_EQ(plain.errorStart, observed.errorStart);
    EXPECT_EQ(plain.errorLength, observed.errorLength);
    ASSERT_EQ(plain.messages.size(), observed.messages.size());
    for (std::size_t i = 0; i < plain.messages.size(); ++i) {
        EXPECT_EQ(plain.messages[i].text, observed.messages[i].text);
        EXPECT_EQ(plain.messages[i].style, observed.messages[i].style);
        EXPECT_EQ(plain.messages[i].errorStart, observed.messages[i].errorStart);
        EXPECT_EQ(plain.messages[i].errorLength, observed.messages[i].errorLength);
        EXPECT_EQ(plain.messages[i].sourceIndex, observed.messages[i].sourceIndex);
    }
    ASSERT_EQ(plain.statementMap.size(), observed.statementMap.size());
    for (std::size_t i = 0; i < plain.statementMap.size(); ++i) {
        EXPECT_EQ(plain.statementMap[i].position, observed.statementMap[i].position);
        EXPECT_EQ(plain.statementMap[i].address, observed.statementMap[i].address);
    }
    EXPECT_EQ(plain.names.count(), observed.names.count());
}

// The observer only listens: every example, and snippets failing in each
// kind of statement, compile to the same image and messages with it as without.
TEST(AnalysisTest, ObservingChangesNothingTheCompilerProduces) {
    const LibrarySearch search{std::filesystem::path(ZR_SOURCE_DIR) / "libraries", {}, {}};
    std::vector<std::string> texts;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::filesystem::path(ZR_SOURCE_DIR) / "examples"))
        if (entry.path().extension() == ".zrt")
            texts.push_back(
                compiler::ToCompilerText(formats::ReadZrt(ReadFile(entry.path())).text));
    ASSERT_GE(texts.size(), 5u);
    for (const char* snippet :
         {"DimS a, a\n", "GoTo Nowhere\n", "DimI n(3)\nn(9)\n", "Do + q = 1 >> 5\nLoop q\n",
          "=0 if\n1\n", "$Lib nosuchlibrary\n", "$Lib stackmath\nCall Hypot\nCube# Mv Cube\n",
          "! [1,1,clr] \"x\" y\n", "Bytes b [1, 2\nb(1) Segm L1, L2\nL1: L2:\n"})
        texts.push_back(compiler::ToCompilerText(snippet));
    for (const std::string& text : texts) {
        SCOPED_TRACE(text.substr(0, 200));
        compiler::Compiler plain;
        plain.libraryFolder = search.libraryFolder;
        plain.CompileSource(text);
        const Analysis analysis = Analysis::Of(text, search);
        ExpectSameCompile(plain, analysis.compiler());
    }
}

struct ErrorCase {
    const char* source;
    std::string_view message;
    const char* selected;  // the text the error's extent covers
};

TEST(AnalysisTest, FirstErrorHasTheExtentF9Selects) {
    const ErrorCase cases[] = {
        // Each declared name starts a selection of its own.
        {"DimS a\nDimS b, a\n", compiler::messages::kNameDeclared, ", a"},
        {"  GoTo Nowhere\nEnd\n", compiler::messages::kLabelNotFound, "GoTo Nowhere"},
        {"DimI q(3)\n  q(9) Drop\n", compiler::messages::kBadArrayIndex, "q(9"},
        {"1\n=0 if\n2\n", compiler::messages::kIfWithoutThen, "=0 if"},
        {"Then\n", compiler::messages::kThenWithoutIf, "Then"},
    };
    for (const ErrorCase& c : cases) {
        SCOPED_TRACE(c.source);
        const Analysis analysis = Analyse(c.source);
        ASSERT_TRUE(analysis.error);
        EXPECT_EQ(analysis.error->message, c.message);
        EXPECT_EQ(analysis.error->span.sourceIndex, 0);
        EXPECT_EQ(SpanText(analysis, analysis.error->span), c.selected);
        EXPECT_FALSE(analysis.error->libraryStatement);
    }
    EXPECT_FALSE(Analyse("DimS a\n1 Mv a\n").error);
}

TEST(AnalysisTest, DeclarationsAndReferencesReachIntoALibrary) {
    LibraryFolder folder;
    folder.Write("geometry.bib",
                 "' sides\nDimS side\nHypot: ^2 Swap ^2 + Sqr\n-> side\nside Ret\n");
    const char* source =
        "$Lib geometry\nDimS a, b(4)\nStart: a b(2) Call Hypot\n"
        "GoTo @Start\nHypot# Drop\n";
    const Analysis analysis = Analyse(source, folder.Search());
    ASSERT_FALSE(analysis.error) << analysis.error->message;

    const auto hypot = analysis.Find("hypot");
    ASSERT_TRUE(hypot);
    const Declaration& routine = analysis.declarations[*hypot];
    EXPECT_EQ(routine.kind, DeclarationKind::Routine);
    ASSERT_TRUE(routine.span);
    EXPECT_EQ(routine.span->sourceIndex, 1);
    EXPECT_EQ(compiler::LineColumnOf(analysis.TextOf(1), routine.span->start).line, 3);
    EXPECT_EQ(analysis.PathOf(1).filename(), "geometry.bib");

    // Both uses in the main text, "Hypot#" without its "#".
    const auto uses = analysis.ReferencesTo(*hypot);
    ASSERT_EQ(uses.size(), 2u);
    EXPECT_EQ(uses[0], (Span{0, PositionOf(source, "Hypot"), 5}));
    EXPECT_EQ(uses[1], (Span{0, PositionOf(source, "Hypot#"), 5}));
    EXPECT_EQ(analysis.DeclarationAt(0, PositionOf(source, "Hypot#") + 2), hypot);

    // A variable of the library, used there.
    const auto side = analysis.Find("SIDE");
    ASSERT_TRUE(side);
    EXPECT_EQ(analysis.declarations[*side].span->sourceIndex, 1);
    const auto sideUses = analysis.ReferencesTo(*side);
    ASSERT_EQ(sideUses.size(), 2u);
    EXPECT_EQ(SpanText(analysis, sideUses[1]), "side");
    EXPECT_EQ(sideUses[1].sourceIndex, 1);

    struct Expected {
        const char* name;
        DeclarationKind kind;
        int size;
        std::size_t uses;
    };
    for (const Expected& e : {Expected{"a", DeclarationKind::Variable, 1, 1},
                              Expected{"b", DeclarationKind::Array, 4, 1},
                              Expected{"Start", DeclarationKind::Label, 0, 1},
                              Expected{"PORT", DeclarationKind::Predeclared, 1, 0}}) {
        SCOPED_TRACE(e.name);
        const auto found = analysis.Find(e.name);
        ASSERT_TRUE(found);
        EXPECT_EQ(analysis.declarations[*found].kind, e.kind);
        EXPECT_EQ(analysis.declarations[*found].size, e.size);
        EXPECT_EQ(analysis.ReferencesTo(*found).size(), e.uses);
        if (e.kind != DeclarationKind::Predeclared) {
            EXPECT_EQ(SpanText(analysis, *analysis.declarations[*found].span), e.name);
        }
    }
    // "@Start" is a use of Start at "Start", after the "@".
    EXPECT_EQ(analysis.ReferencesTo(*analysis.Find("Start"))[0].start,
              PositionOf(source, "@Start") + 1);
}

TEST(AnalysisTest, AnErrorInALibraryLiesThereAndNamesItsLibStatement) {
    LibraryFolder folder;
    folder.Write("broken.bib", "Half: 2 /\n  GoTo Missing\nRet\n");
    const Analysis analysis = Analyse("1\n$Lib broken\nCall Half\n", folder.Search());
    ASSERT_TRUE(analysis.error);
    EXPECT_EQ(analysis.error->message, compiler::messages::kLabelNotFound);
    EXPECT_EQ(analysis.error->span.sourceIndex, 1);
    EXPECT_EQ(SpanText(analysis, analysis.error->span), "GoTo Missing");
    ASSERT_EQ(analysis.error->laterMessages.size(), 1u);
    EXPECT_EQ(analysis.error->laterMessages[0],
              std::string(compiler::messages::kLibraryFailed) + "broken");
    ASSERT_TRUE(analysis.error->libraryStatement);
    EXPECT_EQ(SpanText(analysis, *analysis.error->libraryStatement), "$Lib broken");
}

TEST(AnalysisTest, StatementAtAPositionIsTheInnermostOne) {
    const char* source = "DimS x\n  x 2 * Mv x\n=0 goto Done\nDone: End\n";
    const Analysis analysis = Analyse(source);
    ASSERT_FALSE(analysis.error);
    const Statement* times = analysis.StatementAt(0, PositionOf(source, "*"));
    ASSERT_NE(times, nullptr);
    EXPECT_EQ(times->word, "*");
    EXPECT_EQ(SpanText(analysis, times->span), "*");
    const Statement* store = analysis.StatementAt(0, PositionOf(source, "x", 2));
    ASSERT_NE(store, nullptr);
    EXPECT_EQ(SpanText(analysis, store->span), "Mv x");
    EXPECT_EQ(store->address, 6);  // after iM x, PushByte 2 and *
    const Statement* jump = analysis.StatementAt(0, PositionOf(source, "goto"));
    ASSERT_NE(jump, nullptr);
    EXPECT_EQ(SpanText(analysis, jump->span), "=0 goto Done");
    EXPECT_EQ(analysis.StatementAt(0, PositionOf(source, "  x")), nullptr);  // a blank
}

}  // namespace
}  // namespace zr::language
