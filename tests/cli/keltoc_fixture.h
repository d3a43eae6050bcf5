// Drives keltoc as a user would: arguments in, text or JSON and an exit code
// out, with files in a fresh temporary folder per test.
#pragma once

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
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

    // The keltoc program itself in a child process, as a shell starts it (SIGXFSZ at its
    // default), optionally under a file-size limit in bytes (ulimit -f); standard output
    // and error each go to a pipe.
    struct ProgramRun {
        int exitCode = -1;  // -1 when killed by a signal
        int signal = 0;
        std::string out, err;
    };
    static ProgramRun RunProgram(const std::vector<std::string>& args,
                                 rlim_t fileSizeLimit = RLIM_INFINITY) {
        const std::string keltoc = std::string(ZR_BINARY_DIR) + "/cli/keltoc";
        std::vector<const char*> argv{keltoc.c_str()};
        for (const auto& arg : args) argv.push_back(arg.c_str());
        argv.push_back(nullptr);
        int out[2], err[2];
        EXPECT_EQ(::pipe(out), 0);
        EXPECT_EQ(::pipe(err), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            ::signal(SIGXFSZ, SIG_DFL);
            const rlimit limit{fileSizeLimit, fileSizeLimit};
            if (fileSizeLimit != RLIM_INFINITY) ::setrlimit(RLIMIT_FSIZE, &limit);
            ::dup2(out[1], 1);
            ::dup2(err[1], 2);
            for (int fd : {out[0], out[1], err[0], err[1]}) ::close(fd);
            ::execv(keltoc.c_str(), const_cast<char* const*>(argv.data()));
            ::_exit(127);
        }
        ::close(out[1]);
        ::close(err[1]);
        ProgramRun run;
        run.out = ReadAll(out[0]);  // both are small, so neither pipe fills meanwhile
        run.err = ReadAll(err[0]);
        int status = 0;
        EXPECT_EQ(::waitpid(child, &status, 0), child);
        if (WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
        if (WIFSIGNALED(status)) run.signal = WTERMSIG(status);
        return run;
    }

    static std::string ReadAll(int fd) {
        std::string bytes;
        char buffer[4096];
        for (;;) {
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) break;
            bytes.append(buffer, static_cast<std::size_t>(got));
        }
        ::close(fd);
        return bytes;
    }

    // Temporary files left in the test's folder (and its subfolders).
    long LeftoverTemporaryFiles() const {
        long count = 0;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder_))
            if (entry.path().filename().string().find(".tmp-") != std::string::npos) ++count;
        return count;
    }

    std::filesystem::path folder_;
    std::ostringstream out_, err_;
};

}  // namespace zr::cli
