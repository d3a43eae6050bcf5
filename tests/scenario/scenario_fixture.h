// A scratch folder with a program and a scenario written into it, loaded
// with the shipped libraries.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "scenario/scenario_loader.h"
#include "scenario/scenario_runner.h"

namespace zr::scenario::testing {

class ScratchFolder {
  public:
    ScratchFolder() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "_" + info->name();
        for (char& c : name)
            if (c == '/') c = '_';
        path_ = std::filesystem::temp_directory_path() / ("zr_scenario_" + name);
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() { std::filesystem::remove_all(path_); }

    std::filesystem::path Write(const std::string& name, const std::string& text) const {
        const auto file = path_ / name;
        std::ofstream(file, std::ios::binary) << text;
        return file;
    }
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

inline LoadOptions ShippedLibraries() {
    return {std::filesystem::path(ZR_SOURCE_DIR) / "libraries", {}};
}

// "program: prog.txt" and the steps' lines below "steps:".
inline std::string ScenarioText(const std::string& steps, const std::string& header = "") {
    return "name: test\nprogram: prog.txt\n" + header + "steps:\n" + steps;
}

}  // namespace zr::scenario::testing
