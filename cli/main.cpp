#include <iostream>

#include "cli/commands.h"

int main(int argc, char** argv) {
    return zr::cli::RunKeltoc(argc, argv, std::cout, std::cerr);
}
