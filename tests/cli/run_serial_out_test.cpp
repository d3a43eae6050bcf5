// keltoc run and the serial lines a program writes: --json keeps the last 10,000 and counts
// the ones before, --serial-out streams every one to a file, and nothing else keeps them.
#include <nlohmann/json.hpp>
#include <sstream>

#include "keltoc_fixture.h"

namespace zr::cli {
namespace {

namespace fs = std::filesystem;
using RunSerialOut = KeltocTest;

// Prints 1, 2, 3, ... to the serial channel until the instruction limit.
constexpr const char* kCounter = "DimI cnt\nL1:\ncnt 1 + -> cnt\ncnt PRINT\ngoto L1\n";

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST_F(RunSerialOut, JsonKeepsTheLastLinesAndTheFileGetsEveryOne) {
    const auto source = Write("counter.txt", kCounter);
    ASSERT_EQ(Run({"run", source.string(), "--keys", "enter,enter", "--max-instructions", "100000",
                   "--json", "--serial-out", P("serial.txt")}),
              kSuccess)
        << err_.str();
    const auto result = nlohmann::json::parse(out_.str());
    const auto streamed = Lines(Contents(folder_ / "serial.txt"));
    ASSERT_GT(streamed.size(), 10000u);
    for (std::size_t i = 0; i < streamed.size(); ++i)
        ASSERT_EQ(streamed[i], std::to_string(i + 1)) << i;
    const auto& kept = result["serialOut"];
    ASSERT_EQ(kept.size(), 10000u);
    EXPECT_EQ(result["serialOutDropped"], streamed.size() - 10000);
    EXPECT_EQ(kept.front(), streamed[streamed.size() - 10000]);
    EXPECT_EQ(kept.back(), streamed.back());

    // Without --json the report shows the display only; the file is written all the same.
    ASSERT_EQ(Run({"run", source.string(), "--keys", "enter,enter", "--max-instructions", "1000",
                   "--serial-out", P("serial.txt")}),
              kSuccess)
        << err_.str();
    EXPECT_EQ(Lines(out_.str()).size(), 4u) << out_.str();
    const auto shorter = Lines(Contents(folder_ / "serial.txt"));
    EXPECT_LT(shorter.size(), 1000u / 6);
    EXPECT_EQ(shorter.front(), "1");
}

TEST_F(RunSerialOut, TheFileIsCheckedAndItsWriteErrorsReported) {
    const auto source = Write("counter.txt", kCounter);
    const auto serialIn = Write("in.txt", "1\n");
    const auto broken = Write("broken.txt", "nosuchword\n");
    fs::create_directory(folder_ / "folder");
    const std::vector<std::string> keys = {"--keys", "enter,enter", "--max-instructions", "1000"};
    const auto run = [&](const fs::path& program, std::vector<std::string> more) {
        std::vector<std::string> args = {"run", program.string()};
        args.insert(args.end(), keys.begin(), keys.end());
        args.insert(args.end(), more.begin(), more.end());
        return Run(args);
    };
    EXPECT_EQ(run(source, {"--serial-out", P("folder")}), kUsageError);
    EXPECT_EQ(err_.str(), "keltoc: cannot write " + P("folder") + ": Is a directory\n");
    EXPECT_EQ(run(source, {"--serial-out", source.string()}), kUsageError);
    EXPECT_EQ(err_.str(), "keltoc: the serial output would overwrite " + source.string() + "\n");
    EXPECT_EQ(Contents(source), kCounter);
    EXPECT_EQ(run(source, {"--serial-in", serialIn.string(), "--serial-out", serialIn.string()}),
              kUsageError);
    EXPECT_EQ(err_.str(), "keltoc: the serial output would overwrite " + serialIn.string() + "\n");
    EXPECT_EQ(run(source, {"--serial-out", ""}), kUsageError);
    // A source that does not compile leaves the file alone.
    EXPECT_EQ(run(broken, {"--serial-out", P("never.txt")}), kFailure);
    EXPECT_FALSE(fs::exists(folder_ / "never.txt"));

    // A file-size limit: the run goes on, then the write error, exit code 2.
    const auto limited = RunProgram(
        {"run", source.string(), "--keys", "enter,enter", "--serial-out", P("big.txt")}, 4096);
    EXPECT_EQ(limited.signal, 0);
    EXPECT_EQ(limited.exitCode, kUsageError);
    EXPECT_EQ(limited.err, "keltoc: cannot write " + P("big.txt") + ": File too large\n");
    EXPECT_NE(limited.out.find("+----------------+"), std::string::npos) << limited.out;
}

// --serial-out /dev/stdout (through a link of the test's own): the lines, then the report.
TEST_F(RunSerialOut, StandardOutputTakesTheLinesBeforeTheReport) {
    const auto source = Write("counter.txt", kCounter);
    fs::create_symlink("/dev/stdout", folder_ / "stdout");
    const auto run = RunProgram({"run", source.string(), "--keys", "enter,enter",
                                 "--max-instructions", "100", "--serial-out", P("stdout")});
    EXPECT_EQ(run.exitCode, kSuccess) << run.err;
    const auto lines = Lines(run.out);
    ASSERT_GT(lines.size(), 5u) << run.out;
    EXPECT_EQ(lines[0], "1");
    EXPECT_EQ(lines[lines.size() - 4], "+----------------+");
    EXPECT_EQ(lines[lines.size() - 5], std::to_string(lines.size() - 4));
}

}  // namespace
}  // namespace zr::cli
