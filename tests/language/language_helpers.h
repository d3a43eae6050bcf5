// Helpers for the language engine tests: analyse a snippet, find places by
// their text, keep library files in a scratch folder.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "compiler/source_text.h"
#include "language/analysis.h"

namespace zr::language::testing {

// A scratch folder of library files, removed at the end of the test.
class LibraryFolder {
  public:
    LibraryFolder() {
        path_ = std::filesystem::temp_directory_path() /
                ("zr_language_" + std::to_string(::getpid()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(path_);
    }
    ~LibraryFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    void Write(const std::string& file, std::string_view text) const {
        std::ofstream(path_ / file, std::ios::binary) << text;
    }
    LibrarySearch Search() const { return {path_, {}, {}}; }
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

inline Analysis Analyse(std::string_view utf8, const LibrarySearch& search = {}) {
    return Analysis::Of(compiler::ToCompilerText(utf8), search);
}

// The 1-based compiler position of the `nth` (0-based) occurrence of `what`
// in the compiler text of `utf8` (ASCII snippets: LF becomes CR LF).
inline std::int32_t PositionOf(std::string_view utf8, std::string_view what, int nth = 0) {
    const std::string text = compiler::ToCompilerText(utf8);
    std::size_t at = text.find(what);
    for (int i = 0; i < nth && at != std::string::npos; ++i) at = text.find(what, at + 1);
    EXPECT_NE(at, std::string::npos) << what;
    return static_cast<std::int32_t>(at) + 1;
}

// The text a span covers.
inline std::string SpanText(const Analysis& analysis, const Span& span) {
    return analysis.TextOf(span.sourceIndex).substr(span.start - 1, span.length);
}

}  // namespace zr::language::testing
