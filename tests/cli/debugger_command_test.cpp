// keltoc's debugger options: build --listing (text and JSON), run --break
// and run --trace.
#include <nlohmann/json.hpp>

#include "keltoc_fixture.h"

namespace zr::cli {
namespace {

using nlohmann::json;
using DebuggerCommand = KeltocTest;

constexpr const char* kSquare = "DimS x\n3.5 -> x\nx Dup *\n-> x\nEnd\n";

TEST_F(DebuggerCommand, ListingGroupsInstructionsUnderTheirLines) {
    const auto source = Write("square.txt", kSquare);
    ASSERT_EQ(Run({"build", source.string(), "--listing"}), kSuccess) << err_.str();
    const std::string golden =
        "; 2: 3.5 -> x\n"
        "    1  73 00 00 60 40  PushSingle 3.5\n"
        "    6  62 01  Mv x\n"
        "; 3: x Dup *\n"
        "    8  60 01  iM x\n"
        "   10  69  Dup\n"
        "   11  02  *\n"
        "; 4: -> x\n"
        "   12  62 01  Mv x\n"
        "; 5: End\n"
        "   14  66  End\n";
    EXPECT_EQ(out_.str().substr(0, golden.size()), golden);
    EXPECT_NE(out_.str().find("Program: 14 of 1024"), std::string::npos);  // the report follows
}

TEST_F(DebuggerCommand, ListingInJson) {
    const auto source = Write("square.txt", kSquare);
    ASSERT_EQ(Run({"build", source.string(), "--listing", "--json"}), kSuccess) << err_.str();
    const auto listing = json::parse(out_.str())["listing"];
    ASSERT_EQ(listing.size(), 7u);
    EXPECT_EQ(listing[0], json({{"address", 1},
                                {"bytes", {0x73, 0, 0, 0x60, 0x40}},
                                {"name", "PushSingle"},
                                {"operands", "3.5"},
                                {"line", 2}}));
    EXPECT_EQ(listing[6]["name"], "End");
    EXPECT_EQ(listing[6]["line"], 5);
}

constexpr const char* kDoubling = "DimI cnt\n1 -> cnt\ncnt 2 * -> cnt\ncnt PrtX\nEnd\n";

// The run ends before the statement, so cnt is not doubled yet; of a list the
// first reached wins, and line 1 declares only: its breakpoint moves on to 2.
TEST_F(DebuggerCommand, BreakpointEndsTheRunBeforeTheFirstStatementReached) {
    const auto source = Write("d.txt", kDoubling);
    const struct {
        const char* lines;
        int line, cnt;
    } cases[] = {{"3", 3, 1}, {"5,1", 2, 0}};
    for (const auto& c : cases) {
        ASSERT_EQ(
            Run({"run", source.string(), "--keys", "enter,enter", "--break", c.lines, "--json"}),
            kSuccess)
            << err_.str();
        const auto r = json::parse(out_.str());
        EXPECT_EQ(r["stopReason"], "breakpoint") << c.lines;
        EXPECT_EQ(r["line"], c.line) << c.lines;
        EXPECT_EQ(r["column"], 1) << c.lines;
        EXPECT_EQ(r["integers"][7], c.cnt) << c.lines;
    }
}

TEST_F(DebuggerCommand, BreakpointOptionsAreChecked) {
    const auto source = Write("d.txt", kDoubling);
    EXPECT_EQ(Run({"run", source.string(), "--break", "0"}), kUsageError);
    EXPECT_EQ(Run({"run", source.string(), "--break", "x"}), kUsageError);
    const auto image = Write("d.bin", std::string(1024, '\0'));
    EXPECT_EQ(Run({"run", image.string(), "--break", "2"}), kUsageError);
}

// cnt counts up on each pass of line 3; the run ends at the first stop.
constexpr const char* kCounting = "DimI cnt\nTop:\ncnt 1 + -> cnt\nGoTo Top\n";

TEST_F(DebuggerCommand, BreakpointWithConditionOrHitCountStopsOnALaterPass) {
    const auto source = Write("loop.txt", kCounting);
    const struct {
        const char* item;
        int cnt;  // at the stop, before line 3 runs again
    } cases[] = {{"3:cnt > 4", 5},    {"3: CNT=2", 2},     {"3#3", 2},
                 {"3#2:cnt >= 4", 5}, {"9,3:cnt <> 0", 1}, {"2:i < 0", -1}};
    for (const auto& c : cases) {
        const int code = Run({"run", source.string(), "--keys", "enter,enter", "--break", c.item,
                              "--json", "--max-instructions", "100000"});
        ASSERT_EQ(code, kSuccess) << c.item << ": " << err_.str();
        const auto r = json::parse(out_.str());
        if (c.cnt < 0) {  // i stays 0: never stops
            EXPECT_NE(r["stopReason"], "breakpoint") << c.item;
            continue;
        }
        EXPECT_EQ(r["stopReason"], "breakpoint") << c.item;
        EXPECT_EQ(r["line"], 3) << c.item;
        EXPECT_EQ(r["integers"][7], c.cnt) << c.item;
    }
}

TEST_F(DebuggerCommand, RefusedBreakpointItemsSayWhy) {
    const auto source = Write("loop.txt", kCounting);
    const struct {
        const char* item;
        const char* says;
    } cases[] = {{"3:y > 1", "'y' is not a name of the program"},
                 {"3:Top = 1", "'Top' is not a single variable"},
                 {"3:cnt 5", "NAME OP NUMBER"},
                 {"3:", "empty condition"},
                 {"3#0", "hit count"},
                 {"3#x:cnt = 1", "hit count"},
                 {"x:cnt = 1", "source line number"}};
    for (const auto& c : cases) {
        EXPECT_EQ(Run({"run", source.string(), "--keys", "enter,enter", "--break", c.item}),
                  kUsageError)
            << c.item;
        EXPECT_NE(err_.str().find(c.says), std::string::npos) << c.item << ": " << err_.str();
    }
}

TEST_F(DebuggerCommand, TraceListsEveryStatementReached) {
    const auto source = Write("d.txt", kDoubling);
    ASSERT_EQ(Run({"run", source.string(), "--keys", "enter,enter", "--trace"}), kSuccess)
        << err_.str();
    const std::string out = out_.str();
    const std::string expected =
        "2:1  1  1  0\n"
        "2:3  3  ->  0 1\n"
        "3:1  5  cnt  0\n";
    EXPECT_EQ(out.substr(0, expected.size()), expected) << out;
    EXPECT_NE(out.find("5:1  "), std::string::npos);
    EXPECT_NE(out.find("+----"), std::string::npos);  // the display box follows
}

}  // namespace
}  // namespace zr::cli
