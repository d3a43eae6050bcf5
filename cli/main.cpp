#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "cli/commands.h"

int main(int argc, char** argv) {
    // A write beyond a file-size limit (ulimit -f) then fails with EFBIG, which keltoc
    // reports, instead of killing the process before it can say so or clean up.
    std::signal(SIGXFSZ, SIG_IGN);
    const int exitCode = zr::cli::RunKeltoc(argc, argv, std::cout, std::cerr);
    // A report lost on the way out (a full disk, a closed pipe) is a failure,
    // even when the command itself succeeded.
    errno = 0;
    std::cout.flush();
    if (!std::cout || std::fflush(stdout) != 0 || std::ferror(stdout)) {
        const int error = errno;
        std::cerr << "keltoc: cannot write standard output"
                  << (error != 0 ? std::string(": ") + std::strerror(error) : std::string())
                  << '\n';
        return zr::cli::kUsageError;
    }
    return exitCode;
}
