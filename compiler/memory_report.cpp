#include "compiler/memory_report.h"

#include <algorithm>

#include "compiler/compiler.h"

namespace zr::compiler {

int MemoryReport::BusyPercent() const {
    const int used = std::clamp(compileAddress - 1, 0, machine::kProgramSize);
    return used * 100 / machine::kProgramSize;
}

std::string MemoryReport::BusyText() const {
    return "busy  " + std::to_string(BusyPercent()) + "% of memory";
}

MemoryReport MakeMemoryReport(const Compiler& compiler) {
    return {compiler.compileAddress, compiler.names.nextByte - 1, compiler.names.nextInteger - 1,
            compiler.names.nextSingle - 1};
}

}  // namespace zr::compiler
