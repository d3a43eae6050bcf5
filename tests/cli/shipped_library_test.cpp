// The library that ships with the environment: each routine compiled through
// $Lib and run, and the example that uses it, found through keltoc's default
// library folder (the build tree's share/zr7340, as when installed).
#include <nlohmann/json.hpp>

#include "keltoc_fixture.h"

namespace zr::cli {
namespace {

class ShippedLibrary : public KeltocTest {
  protected:
    // The second display line of a successful `run --json`, without its padding.
    std::string SecondLineOfRun(std::vector<std::string> args) {
        args.emplace_back("--json");
        const int code = Run(std::move(args));
        EXPECT_EQ(code, kSuccess) << err_.str();
        if (code != kSuccess) return {};
        const auto line = nlohmann::json::parse(out_.str())["display"][1].get<std::string>();
        return line.substr(0, line.find_last_not_of(' ') + 1);
    }
};

TEST_F(ShippedLibrary, EveryRoutineGivesItsResult) {
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
    const std::string libraries = ZR_SOURCE_DIR "/libraries";
    for (const Case& c : cases) {
        const auto source =
            Write("stackmath.txt", std::string("$Lib stackmath\nCls\n") + c.call + "\nPrtX\nEnd\n");
        EXPECT_EQ(SecondLineOfRun(
                      {"--lib-dir", libraries, "run", source.string(), "--keys", "enter,enter"}),
                  c.shown)
            << c.call;
    }
}

TEST_F(ShippedLibrary, TheExampleFindsItInTheDefaultFolder) {
    EXPECT_EQ(SecondLineOfRun({"run", ZR_SOURCE_DIR "/examples/hypotenuse.zrt", "--keys",
                               "enter,enter,6,enter,8,enter"}),
              "10");
}

}  // namespace
}  // namespace zr::cli
