#include "cli/test_report.h"

#include <cstdio>
#include <ostream>

#include "cli/run_report.h"
#include "cli/visible_text.h"
#include "emulator/display.h"
#include "machine/cp1251.h"

namespace zr::cli {
namespace {

emulator::Display DisplayOf(const scenario::ScenarioResult& result) {
    emulator::Display display;
    display.Restore(result.display[0], result.display[1], 1, 1);
    return display;
}

std::string XmlEscaped(std::string_view text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            default:
                // XML 1.0 has no place for most control characters.
                if (static_cast<unsigned char>(c) < 0x20 && c != '\n' && c != '\t')
                    escaped += "?";
                else
                    escaped += c;
        }
    }
    return escaped;
}

std::string FailureText(const ScenarioOutcome& outcome) {
    const auto& failure = *outcome.result.failure;
    return outcome.file.string() + ":" + std::to_string(failure.line) + ": " + failure.keyword +
           ": expected " + failure.expected + ", found " + failure.actual;
}

std::string Seconds(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", seconds);
    return text;
}

}  // namespace

TestTotals TotalsOf(const std::vector<ScenarioOutcome>& outcomes) {
    TestTotals totals;
    for (const auto& outcome : outcomes) {
        if (outcome.unusable)
            ++totals.unusable;
        else if (outcome.passed())
            ++totals.passed;
        else
            ++totals.failed;
    }
    return totals;
}

void PrintOutcome(const ScenarioOutcome& outcome, std::ostream& out) {
    if (outcome.unusable) {
        out << "ERROR " << EscapeControls(outcome.unusable->Text()) << '\n';
        return;
    }
    if (outcome.passed()) {
        out << "ok   " << EscapeControls(outcome.file.string() + ": " + outcome.name) << '\n';
        return;
    }
    out << "FAIL " << EscapeControls(FailureText(outcome)) << '\n';
    PrintDisplayBox(DisplayOf(outcome.result), out);
}

void PrintSummary(const TestTotals& totals, std::ostream& out) {
    if (totals.unusable)
        out << totals.unusable << (totals.unusable == 1 ? " file" : " files")
            << " could not be used\n";
    out << totals.passed << " passed, " << totals.failed << " failed\n";
}

nlohmann::json TestResultJson(const std::vector<ScenarioOutcome>& outcomes) {
    using nlohmann::json;
    json scenarios = json::array();
    for (const auto& outcome : outcomes) {
        json item = {{"file", outcome.file.string()},
                     {"name", outcome.name},
                     {"passed", outcome.passed()},
                     {"seconds", outcome.seconds}};
        if (outcome.unusable) {
            item["error"] = {{"line", outcome.unusable->line},
                             {"message", outcome.unusable->message}};
        } else {
            item["instructions"] = outcome.result.instructions;
            item["display"] = {machine::Cp1251ToUtf8(outcome.result.display[0]),
                               machine::Cp1251ToUtf8(outcome.result.display[1])};
            if (const auto& failure = outcome.result.failure)
                item["failure"] = {{"line", failure->line},
                                   {"step", failure->keyword},
                                   {"expected", failure->expected},
                                   {"actual", failure->actual}};
        }
        scenarios.push_back(std::move(item));
    }
    const TestTotals totals = TotalsOf(outcomes);
    return {{"scenarios", scenarios},
            {"passed", totals.passed},
            {"failed", totals.failed},
            {"unusable", totals.unusable}};
}

std::string JunitXml(const std::vector<ScenarioOutcome>& outcomes) {
    const TestTotals totals = TotalsOf(outcomes);
    double seconds = 0;
    for (const auto& outcome : outcomes) seconds += outcome.seconds;
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    xml += "<testsuite name=\"keltoc test\" tests=\"" + std::to_string(outcomes.size()) +
           "\" failures=\"" + std::to_string(totals.failed) + "\" errors=\"" +
           std::to_string(totals.unusable) + "\" time=\"" + Seconds(seconds) + "\">\n";
    for (const auto& outcome : outcomes) {
        xml += "  <testcase classname=\"" + XmlEscaped(outcome.file.string()) + "\" name=\"" +
               XmlEscaped(outcome.name) + "\" time=\"" + Seconds(outcome.seconds) + "\"";
        if (outcome.passed()) {
            xml += "/>\n";
            continue;
        }
        xml += ">\n";
        if (outcome.unusable) {
            xml += "    <error message=\"" + XmlEscaped(outcome.unusable->Text()) + "\"/>\n";
        } else {
            const auto& r = outcome.result;
            xml += "    <failure message=\"" + XmlEscaped(FailureText(outcome)) + "\">" +
                   XmlEscaped(machine::Cp1251ToUtf8(r.display[0]) + "\n" +
                              machine::Cp1251ToUtf8(r.display[1])) +
                   "</failure>\n";
        }
        xml += "  </testcase>\n";
    }
    xml += "</testsuite>\n";
    return xml;
}

}  // namespace zr::cli
