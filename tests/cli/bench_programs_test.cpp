// The programs bench/lua_compare.sh runs beside their Lua twins compile and
// run on without a run error, so the comparison measures what it says.
#include <nlohmann/json.hpp>

#include "keltoc_fixture.h"

namespace zr::cli {
namespace {

using BenchPrograms = KeltocTest;

TEST_F(BenchPrograms, RunWithoutAnError) {
    const std::filesystem::path folder =
        std::filesystem::path(ZR_SOURCE_DIR) / "bench" / "programs";
    int programs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != ".kel") continue;
        ++programs;
        ASSERT_EQ(Run({"run", entry.path().string(), "--keys", "enter,enter", "--max-instructions",
                       "200000", "--json"}),
                  kSuccess)
            << entry.path() << err_.str();
        const auto r = nlohmann::json::parse(out_.str());
        EXPECT_EQ(r["runState"], 1) << entry.path();
        EXPECT_EQ(r["stopReason"], "max-instructions") << entry.path();
        EXPECT_EQ(r["instructions"], 200000) << entry.path();
    }
    EXPECT_EQ(programs, 3);
}

}  // namespace
}  // namespace zr::cli
