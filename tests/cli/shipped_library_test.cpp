// The library that ships with the environment: each routine compiled through
// $Lib and run, and the example that uses it, found through keltoc's default
// library folder (the build tree's share/zr7340, as when installed).
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <vector>

#include "cli/commands.h"

namespace zr::cli {
namespace {

namespace fs = std::filesystem;

struct Outcome {
    int exitCode;
    nlohmann::json result;
    std::string errors;
};

Outcome RunJson(std::vector<std::string> args) {
    args.insert(args.begin(), "keltoc");
    args.push_back("--json");
    std::vector<const char*> argv;
    for (const auto& arg : args) argv.push_back(arg.c_str());
    std::ostringstream out, err;
    const int code = RunKeltoc(static_cast<int>(argv.size()), argv.data(), out, err);
    return {code, code == kSuccess ? nlohmann::json::parse(out.str()) : nlohmann::json{},
            err.str()};
}

std::string SecondLine(const nlohmann::json& result) {
    const auto line = result["display"][1].get<std::string>();
    return line.substr(0, line.find_last_not_of(' ') + 1);
}

TEST(ShippedLibrary, EveryRoutineGivesItsResult) {
    struct Case {
        const char* call;
        const char* shown;
    };
    const Case cases[] = {
        {"3 call Cube", "27"},
        {"3 4 call Hypot", "5"},
        {"3 4 call Mean2", "3.5"},
        {"100 call CToF", "212"},
        {"-40 call CToF", "-40"},
        {"212 call FToC", "100"},
        {"3 call Cube 2 call Cube +", "35"},
    };
    const fs::path source =
        fs::temp_directory_path() / ("keltoc-stackmath-" + std::to_string(::getpid()) + ".txt");
    for (const Case& c : cases) {
        std::ofstream(source) << "$Lib stackmath\nCls\n" << c.call << "\nPrtX\nEnd\n";
        const auto run = RunJson({"--lib-dir", ZR_SOURCE_DIR "/libraries", "run", source.string(),
                                  "--keys", "enter,enter"});
        ASSERT_EQ(run.exitCode, kSuccess) << c.call << ": " << run.errors;
        EXPECT_EQ(SecondLine(run.result), c.shown) << c.call;
    }
    fs::remove(source);
}

TEST(ShippedLibrary, TheExampleFindsItInTheDefaultFolder) {
    const auto run = RunJson(
        {"run", ZR_SOURCE_DIR "/examples/hypotenuse.zrt", "--keys", "enter,enter,6,enter,8,enter"});
    ASSERT_EQ(run.exitCode, kSuccess) << run.errors;
    EXPECT_EQ(SecondLine(run.result), "10");
}

}  // namespace
}  // namespace zr::cli
