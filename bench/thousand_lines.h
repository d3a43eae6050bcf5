// The 1,000-line source with two libraries that the language engine's and
// the editor's benchmarks share.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "language/analysis.h"

namespace zr::bench {

// Two libraries in a scratch folder, removed at exit.
inline language::LibrarySearch Libraries() {
    static const std::filesystem::path folder = [] {
        auto path = std::filesystem::temp_directory_path() /
                    ("zr_language_bench_" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        std::ofstream(path / "geometry.bib") << "' Геометрия\nDimS side\n"
                                                "Hypot: ^2 Swap ^2 + Sqr\nRet\n"
                                                "Square: Dup *\nRet\n";
        std::ofstream(path / "texts.bib") << "' Тексты\nHello: ! [1,1,clr] \"Привет\"\nRet\n";
        std::atexit([] { std::filesystem::remove_all(folder); });
        return path;
    }();
    return {folder, {}, {}};
}

// 1,000 lines: declarations, then blocks of a label, a statement line (in
// every other block: the program memory holds 1024 bytes) and comment lines.
inline std::string ThousandLines(const std::string& typedLine = "x 1 + -> x") {
    std::string text = "$Lib geometry\n$Lib texts\nDimS x, y, z(8)\nDimI count\n";
    int line = 4;
    for (int block = 0; line < 1000; ++block) {
        text += "Block" + std::to_string(block) + ":\n";
        text += (block == 60      ? typedLine
                 : block % 2 == 0 ? "x 1 + -> x"
                                  : "") +
                "  ' шаг " + std::to_string(block) + "\n";
        text += block % 10 == 9 ? "x y Call Hypot -> z(2)\n" : "' значение x растёт на единицу\n";
        text += "' ещё одна строка пояснений к блоку\n' и ещё одна\n";
        text += "' разделитель -----------------------------------------\n";
        line += 6;
    }
    return text + "Call Hello\nEnd\n";
}

}  // namespace zr::bench
