// keltoc build, driven as a user would: arguments in, text or JSON and an exit code out.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <vector>

#include "cli/commands.h"
#include "keltoc_fixture.h"

namespace zr::cli {
namespace {

using BuildCommand = KeltocTest;

TEST_F(BuildCommand, JsonDescribesTheWorkedExample) {
    const auto source = Write("w.txt", "DimS x\n3.5 -> x\nx Dup *\n-> x\nEnd\n");
    ASSERT_EQ(Run({"build", source.string(), "--json"}), kSuccess) << err_.str();
    const auto result = nlohmann::json::parse(out_.str());
    EXPECT_TRUE(result["ok"]);
    EXPECT_EQ(result["compileAddress"], 15);
    EXPECT_EQ(result["image"].get<std::string>().size(), 2048u);
    EXPECT_EQ(result["image"].get<std::string>().substr(0, 28), "7300006040620160016902620166");
    EXPECT_EQ(result["nextSingle"], 2);
    EXPECT_EQ(result["nextInteger"], 8);
    EXPECT_EQ(result["nextByte"], 1);
    ASSERT_EQ(result["statements"].size(), 8u);
    EXPECT_EQ(result["statements"][2]["word"], "->");
    EXPECT_EQ(result["statements"][2]["address"], 6);
    EXPECT_TRUE(result["messages"].empty());
    EXPECT_TRUE(result["line"].is_null());
}

TEST_F(BuildCommand, FailureGivesFileLineColumnAndExitOne) {
    const auto source = Write("bad.txt", "Dup\n  DupN 40\nDrop\n");
    EXPECT_EQ(Run({"build", source.string()}), kFailure);
    EXPECT_EQ(err_.str(), source.string() + ":2:3: error: Переполнение стека!\n");

    EXPECT_EQ(Run({"build", source.string(), "--json"}), kFailure);
    const auto result = nlohmann::json::parse(out_.str());
    EXPECT_FALSE(result["ok"]);
    EXPECT_EQ(result["messages"][0]["text"], "Переполнение стека!");
    EXPECT_EQ(result["messages"][0]["style"], "critical");
    EXPECT_EQ(result["line"], 2);
    EXPECT_EQ(result["column"], 3);
    EXPECT_EQ(result["errorStart"], 5);
}

TEST_F(BuildCommand, LibraryErrorsNameTheLibraryFileAndLine) {
    Write("helpers.bib", "Ret\nnosuchword\n");
    const auto source = Write("main.txt", "Dup\n$Lib helpers\n");
    EXPECT_EQ(Run({"--lib-dir", folder_.string(), "build", source.string()}), kFailure);
    EXPECT_EQ(err_.str(), (folder_ / "helpers.bib").string() + ":2:1: error: Ошибка синтаксиса!\n" +
                              source.string() +
                              ":2:1: error: Ошибка при подключении библиотеки helpers\n");
}

TEST_F(BuildCommand, WritesTheImageAndReportsMemory) {
    const auto source = Write("ok.txt", "Dup\nEnd\n");
    const auto image = folder_ / "out.bin";
    ASSERT_EQ(Run({"build", source.string(), "-o", image.string()}), kSuccess);
    EXPECT_NE(out_.str().find("busy  0% of memory"), std::string::npos) << out_.str();
    EXPECT_EQ(std::filesystem::file_size(image), 1024u);
    std::ifstream in(image, std::ios::binary);
    EXPECT_EQ(in.get(), 0x69);
    EXPECT_EQ(in.get(), 0x66);
}

TEST_F(BuildCommand, ReadsRichTextAndWindows1251Sources) {
    const auto rtf = Write("r.zrt",
                           "{\\rtf1\\ansi\\ansicpg1251 {\\colortbl;\\red0\\green0\\blue255;}"
                           "\\cf1 Dup\\cf0\\par End}");
    ASSERT_EQ(Run({"build", rtf.string(), "--json"}), kSuccess) << err_.str();
    EXPECT_EQ(nlohmann::json::parse(out_.str())["image"].get<std::string>().substr(0, 4), "6966");

    const auto cp1251 = Write("c.txt", "DimS \xE0\xE1\r\n\xC0\xC1 End\r\n");  // аб, then АБ
    ASSERT_EQ(Run({"build", cp1251.string(), "--json"}), kSuccess) << err_.str();
    EXPECT_EQ(nlohmann::json::parse(out_.str())["statements"][1]["word"], "АБ");
}

TEST_F(BuildCommand, UsageAndFileErrorsExitTwo) {
    EXPECT_EQ(Run({"build"}), kUsageError);
    EXPECT_EQ(Run({"frobnicate"}), kUsageError);
    EXPECT_EQ(Run({"--help"}), kSuccess);
}

}  // namespace
}  // namespace zr::cli
