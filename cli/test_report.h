// What `keltoc test` prints and writes about the scenarios it ran: a line
// per scenario with a failure's details and display, a summary, the JSON
// form and JUnit XML.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "scenario/scenario_loader.h"
#include "scenario/scenario_runner.h"

namespace zr::cli {

struct ScenarioOutcome {
    std::filesystem::path file;
    std::string name;                             // the scenario's name, or the file's
    std::optional<scenario::LoadError> unusable;  // the file could not be used
    scenario::ScenarioResult result;
    double seconds = 0;
    bool passed() const { return !unusable && result.passed(); }
};

struct TestTotals {
    int passed = 0;
    int failed = 0;
    int unusable = 0;
};
TestTotals TotalsOf(const std::vector<ScenarioOutcome>& outcomes);

// "ok   FILE: NAME" or "FAIL FILE:LINE: STEP: expected ..., found ..." and
// the display box; a file that could not be used as "ERROR FILE:LINE: ...".
void PrintOutcome(const ScenarioOutcome& outcome, std::ostream& out);
// "N passed, M failed" (and the unusable files on a line before it).
void PrintSummary(const TestTotals& totals, std::ostream& out);

nlohmann::json TestResultJson(const std::vector<ScenarioOutcome>& outcomes);
std::string JunitXml(const std::vector<ScenarioOutcome>& outcomes);

}  // namespace zr::cli
