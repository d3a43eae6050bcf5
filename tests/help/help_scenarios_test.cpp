// The scenarios shown in the help pass: each <pre class="scenario"
// data-program="EXAMPLE"> block runs through keltoc test beside a copy of
// the shipped example it names.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "cli/keltoc_fixture.h"

namespace zr::cli {
namespace {

const std::filesystem::path kSourceFolder(ZR_SOURCE_DIR);

std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class HelpScenarios : public KeltocTest {};

TEST_F(HelpScenarios, EveryShownScenarioPasses) {
    const std::regex block("<pre class=\"scenario\" data-program=\"([^\"]+)\">([^<]*)</pre>");
    int found = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kSourceFolder / "help")) {
        if (entry.path().extension() != ".html") continue;
        const std::string page = ReadText(entry.path());
        for (std::sregex_iterator it(page.begin(), page.end(), block), end; it != end; ++it) {
            const std::string program = (*it)[1];
            std::filesystem::copy_file(kSourceFolder / "examples" / program, folder_ / program,
                                       std::filesystem::copy_options::overwrite_existing);
            const auto file = Write("shown" + std::to_string(++found) + ".scn.yaml", (*it)[2]);
            EXPECT_EQ(
                Run({"test", file.string(), "--lib-dir", (kSourceFolder / "libraries").string()}),
                kSuccess)
                << entry.path().filename() << "\n"
                << out_.str() << err_.str();
        }
    }
    EXPECT_GE(found, 1);
}

}  // namespace
}  // namespace zr::cli
