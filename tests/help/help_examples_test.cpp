// The examples of the help stay true: every runnable example in the help
// pages is compiled and run by keltoc, and the display (and serial output)
// it leaves must be what the page shows beneath it.
//
// Markup in help/*.html:
//   <pre class="kelto" data-keys="5" ...>source</pre>   a whole program to run
//   <pre class="display">\nline 1\nline 2</pre>         the display after the run
//   <pre class="serial">\nline\nline</pre>             the lines PRINT sent
// The two result blocks are optional and follow the example directly. As in
// HTML, a line break right after <pre> is not part of the text, so an empty
// first display line is written as an empty line.
// data-keys lists the keys pressed after the start (the test answers the
// greeting and the address prompt itself); data-serial-in gives the lines
// the channel delivers, separated by spaces; data-port, data-adc and
// data-max pass --port, --adc and --max-instructions.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>
#include <vector>

#include "cli/commands.h"
#include "cli/keltoc_fixture.h"

namespace zr::cli {
namespace {

const std::filesystem::path kHelpFolder = std::filesystem::path(ZR_SOURCE_DIR) / "help";

struct Example {
    std::string page;
    int line = 0;
    std::map<std::string, std::string> options;  // data-* attributes
    std::string source;
    std::optional<std::vector<std::string>> display;
    std::optional<std::vector<std::string>> serial;
};

std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The text of a <pre> block as the reader sees it: no tags, entities resolved.
std::string PlainText(std::string html) {
    html = std::regex_replace(html, std::regex("<[^>]*>"), "");
    const std::pair<const char*, const char*> entities[] = {
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&#x27;", "'"}, {"&amp;", "&"}};
    for (const auto& [entity, text] : entities)
        for (std::size_t at; (at = html.find(entity)) != std::string::npos;)
            html.replace(at, std::string_view(entity).size(), text);
    return html;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text.starts_with('\n') ? text.substr(1) : text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::string TrimRight(std::string text) {
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

std::vector<std::filesystem::path> HelpPages() {
    std::vector<std::filesystem::path> pages;
    for (const auto& entry : std::filesystem::directory_iterator(kHelpFolder))
        if (entry.path().extension() == ".html") pages.push_back(entry.path());
    std::sort(pages.begin(), pages.end());
    return pages;
}

std::vector<Example> ExamplesOf(const std::filesystem::path& page) {
    const std::string html = ReadText(page);
    const std::regex block(
        "<pre class=\"kelto\"([^>]*)>([\\s\\S]*?)</pre>"
        "(\\s*<pre class=\"display\">([\\s\\S]*?)</pre>)?"
        "(\\s*<pre class=\"serial\">([\\s\\S]*?)</pre>)?");
    const std::regex attribute("data-([a-z-]+)=\"([^\"]*)\"");
    std::vector<Example> examples;
    for (auto it = std::sregex_iterator(html.begin(), html.end(), block);
         it != std::sregex_iterator(); ++it) {
        const std::smatch& found = *it;
        Example example;
        example.page = page.filename().string();
        example.line =
            1 + static_cast<int>(std::count(html.begin(), html.begin() + found.position(0), '\n'));
        const std::string attributes = found[1];
        for (auto a = std::sregex_iterator(attributes.begin(), attributes.end(), attribute);
             a != std::sregex_iterator(); ++a)
            example.options[(*a)[1]] = (*a)[2];
        example.source = PlainText(found[2]) + "\n";
        if (found[3].matched) example.display = Lines(PlainText(found[4]));
        if (found[5].matched) example.serial = Lines(PlainText(found[6]));
        examples.push_back(std::move(example));
    }
    return examples;
}

class HelpExamples : public KeltocTest {
  protected:
    // Runs the example headless; returns keltoc's JSON result.
    nlohmann::json RunExample(const Example& example) {
        const auto option = [&](const char* name) {
            const auto found = example.options.find(name);
            return found == example.options.end() ? std::string() : found->second;
        };
        std::string keys = "enter,enter";
        if (!option("keys").empty()) keys += "," + option("keys");
        std::vector<std::string> args = {"run", Write("example.txt", example.source).string(),
                                         "--keys", keys, "--json"};
        if (!option("serial-in").empty()) {
            std::string lines = option("serial-in");
            std::replace(lines.begin(), lines.end(), ' ', '\n');
            args.insert(args.end(), {"--serial-in", Write("serial.txt", lines + "\n").string()});
        }
        if (!option("port").empty()) args.insert(args.end(), {"--port", option("port")});
        if (!option("adc").empty()) args.insert(args.end(), {"--adc", option("adc")});
        if (!option("max").empty()) args.insert(args.end(), {"--max-instructions", option("max")});
        const int code = Run(args);
        EXPECT_EQ(code, kSuccess) << err_.str();
        return code == kSuccess ? nlohmann::json::parse(out_.str()) : nlohmann::json();
    }
};

TEST_F(HelpExamples, EveryExampleRunsAndShowsWhatThePageSays) {
    int examples = 0, checked = 0;
    for (const auto& page : HelpPages()) {
        for (const Example& example : ExamplesOf(page)) {
            SCOPED_TRACE(example.page + ":" + std::to_string(example.line));
            ++examples;
            const nlohmann::json result = RunExample(example);
            if (result.is_null()) continue;
            if (example.display) {
                ++checked;
                ASSERT_LE(example.display->size(), 2u) << "the display has two lines";
                std::vector<std::string> expected = *example.display;
                expected.resize(2);
                for (int row = 0; row < 2; ++row)
                    EXPECT_EQ(TrimRight(result["display"][row]), TrimRight(expected[row]))
                        << "display line " << row + 1;
            }
            if (example.serial) {
                ++checked;
                EXPECT_EQ(result["serialOut"].get<std::vector<std::string>>(), *example.serial);
            }
        }
    }
    // A markup slip would silently drop examples; the help holds at least this many.
    EXPECT_GE(examples, 25);
    EXPECT_GE(checked, 20);
}

// Every code block says what it is, so that a new example cannot slip past
// the run above: a runnable program ("kelto"), its results ("display",
// "serial"), a syntax outline ("syntax") or a piece of a program ("fragment").
TEST_F(HelpExamples, EveryCodeBlockIsMarked) {
    const std::regex pre("<pre( class=\"([a-z]+)\")?");
    // "scenario" blocks run in help_scenarios_test.cpp.
    const std::vector<std::string> kinds = {"kelto",  "display",  "serial",
                                            "syntax", "fragment", "scenario"};
    for (const auto& page : HelpPages()) {
        const std::string html = ReadText(page);
        for (auto it = std::sregex_iterator(html.begin(), html.end(), pre);
             it != std::sregex_iterator(); ++it)
            EXPECT_NE(std::find(kinds.begin(), kinds.end(), (*it)[2].str()), kinds.end())
                << page.filename() << ": a <pre> without a known class";
    }
}

}  // namespace
}  // namespace zr::cli
