// How much of each memory area a compiled program uses.
#pragma once

#include <string>

namespace zr::compiler {

class Compiler;

struct MemoryReport {
    int compileAddress = 1;  // the program size shown to the user
    int bytesUsed = 0;       // Byte slots in use (of 96)
    int integersUsed = 0;    // Integer slots in use, the predeclared i..o included (of 123)
    int singlesUsed = 0;     // Single slots in use (of 32)

    // Share of the 1024-byte program memory in use, whole percent (0..100).
    int BusyPercent() const;
    // "busy  N% of memory"
    std::string BusyText() const;
};

MemoryReport MakeMemoryReport(const Compiler& compiler);

}  // namespace zr::compiler
