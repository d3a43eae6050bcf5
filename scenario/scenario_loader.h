// Reading a scenario file (`*.scn.yaml`) into a checked Scenario: the
// program is compiled (or its image read) and every step's key, types and
// names are checked, so a file with a mistake is refused whole, with the
// line and what was expected there.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "scenario/scenario.h"

namespace zr::scenario {

struct LoadOptions {
    std::filesystem::path libDir;  // the shipped libraries, unless the scenario names its own
    std::vector<std::filesystem::path> laterLibDirs;
};

struct LoadError {
    std::filesystem::path file;
    int line = 0;  // 0: the file as a whole
    std::string message;
    // "FILE:LINE: MESSAGE"
    std::string Text() const;
};

struct LoadResult {
    std::optional<Scenario> scenario;
    LoadError error;  // when there is no scenario
};

LoadResult LoadScenario(const std::filesystem::path& file, const LoadOptions& options);
// The same from the file's text (the file's name for paths and messages).
LoadResult LoadScenarioText(const std::string& text, const std::filesystem::path& file,
                            const LoadOptions& options);

// Scenario files named by `paths`: a file as it is, a folder's every
// `*.scn.yaml` below it, sorted by path. Paths that are neither go to `missing`.
std::vector<std::filesystem::path> FindScenarioFiles(
    const std::vector<std::filesystem::path>& paths, std::vector<std::filesystem::path>& missing);

}  // namespace zr::scenario
