// keltoc run --json: the screens the run showed, in order, with the
// instruction count at which each appeared.
#include <algorithm>
#include <nlohmann/json.hpp>

#include "keltoc_fixture.h"

namespace zr::cli {
namespace {

class RunDisplayHistory : public KeltocTest {
  protected:
    nlohmann::json RunJson(const std::string& source, const std::string& keys) {
        Run({"run", Write("history.txt", source).string(), "--keys", keys, "--json"});
        EXPECT_TRUE(err_.str().empty()) << err_.str();
        return nlohmann::json::parse(out_.str());
    }
};

TEST_F(RunDisplayHistory, ListsEveryScreenIncludingOnesOverwritten) {
    const auto result = RunJson("! [1,1,clr] \"Done\"\n-1 Wait\n! [1,1,clr] \"Next\"\n-1 Wait\n",
                                "enter,enter,enter");
    const auto& history = result["displayHistory"];
    ASSERT_TRUE(history.is_array());
    std::vector<std::string> firstLines;
    std::uint64_t previous = 0;
    for (const auto& screen : history) {
        EXPECT_GE(screen["instructions"].get<std::uint64_t>(), previous);
        previous = screen["instructions"];
        firstLines.push_back(screen["line1"].get<std::string>().substr(0, 4));
    }
    const auto done = std::find(firstLines.begin(), firstLines.end(), "Done");
    ASSERT_NE(done, firstLines.end());
    EXPECT_NE(std::find(done, firstLines.end(), "Next"), firstLines.end());
    EXPECT_EQ(result["display"][0].get<std::string>().substr(0, 4), "Next");
    EXPECT_EQ(history.back()["line1"], result["display"][0]);
}

TEST_F(RunDisplayHistory, KeepsOnlyTheLastTenThousandScreens) {
    // Counts up on the display forever; the run ends at the instruction limit.
    const auto result =
        RunJson("DimI cnt\nL1:\ncnt 1 + -> cnt\n! [1,1] cnt\ngoto L1\n", "enter,enter,@400000:end");
    const auto& history = result["displayHistory"];
    ASSERT_EQ(history.size(), 10000u);
    EXPECT_GT(history.front()["instructions"].get<std::uint64_t>(), 0u);
}

}  // namespace
}  // namespace zr::cli
