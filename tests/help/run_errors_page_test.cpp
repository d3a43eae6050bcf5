// The run error codes of emulator/run_errors.h and the rows of the help's
// page of run errors: one row per code, no row without a code.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "emulator/run_errors.h"

namespace {

std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::set<int> NumbersMatching(const std::string& text, const std::regex& pattern) {
    std::set<int> numbers;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern);
         it != std::sregex_iterator(); ++it)
        numbers.insert(std::stoi((*it)[1]));
    return numbers;
}

std::string Listed(const std::set<int>& codes) {
    std::ostringstream out;
    for (const int code : codes) out << code << ' ';
    return out.str();
}

TEST(RunErrorsPage, EveryCodeOfTheHeaderHasItsRowAndNoOther) {
    const std::filesystem::path source(ZR_SOURCE_DIR);
    // The enumerators "kErrorName = code," of the header.
    const std::set<int> header = NumbersMatching(ReadText(source / "emulator" / "run_errors.h"),
                                                 std::regex(R"(kError\w+\s*=\s*(\d+))"));
    // The rows <tr id="eNN"><td>NN</td> of the page.
    const std::string page = ReadText(source / "help" / "run-errors.html");
    const std::set<int> rows = NumbersMatching(page, std::regex(R"(<tr id="e(\d+)\")"));
    ASSERT_GE(header.size(), 20u) << "the header's enumerators were not found";
    EXPECT_EQ(Listed(rows), Listed(header));
    // A row's id and its first cell give the same code.
    for (const int code : rows) {
        const std::string row =
            "<tr id=\"e" + std::to_string(code) + "\"><td>" + std::to_string(code) + "</td>";
        EXPECT_NE(page.find(row), std::string::npos) << code;
    }
    // Spot checks that the parsing reads the header's values.
    EXPECT_TRUE(header.count(zr::emulator::kErrorDivideOrCallDepth));
    EXPECT_TRUE(header.count(zr::emulator::kErrorSerialChannel));
}

}  // namespace
