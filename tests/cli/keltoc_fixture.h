// Drives keltoc as a user would: arguments in, text or JSON and an exit code
// out, with files in a fresh temporary folder per test.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"

namespace zr::cli {

class KeltocTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "-" + info->name();
        for (char& c : name)
            if (c == '/') c = '-';
        folder_ = std::filesystem::temp_directory_path() / ("keltoc-" + name);
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::permissions(folder_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(folder_, ec);
    }

    std::filesystem::path Write(const std::string& name, const std::string& bytes) {
        std::ofstream(folder_ / name, std::ios::binary) << bytes;
        return folder_ / name;
    }

    static std::string Contents(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    int Run(std::vector<std::string> args) {
        args.insert(args.begin(), "keltoc");
        std::vector<const char*> argv;
        argv.reserve(args.size());
        for (const auto& arg : args) argv.push_back(arg.c_str());
        out_.str("");
        err_.str("");
        return RunKeltoc(static_cast<int>(argv.size()), argv.data(), out_, err_);
    }

    std::string P(const std::string& name) const { return (folder_ / name).string(); }

    std::filesystem::path folder_;
    std::ostringstream out_, err_;
};

}  // namespace zr::cli
