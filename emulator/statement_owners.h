// Which statement owns each program address, built once per program from
// the compiler's statement map (or any list of records with an address, in
// the compiler's order). Declarations, labels and THEN write no bytes and
// share the address of the statement after them, so the statement whose
// instruction is at an address is the last record there. The trace, the
// debugger's stops and its breakpoint lines all look statements up here.
#pragma once

#include <cstddef>
#include <vector>

#include "machine/image.h"

namespace zr::emulator {

class StatementOwners {
  public:
    StatementOwners() = default;
    template <typename Records>
    explicit StatementOwners(const Records& records) : owner_(machine::kProgramSize + 1, -1) {
        for (std::size_t i = 0; i < records.size(); ++i) {
            const int address = records[i].address;
            if (address >= 1 && address <= machine::kProgramSize)
                owner_[address] = static_cast<int>(i);
        }
    }

    // The index of the record whose statement starts at `address`; -1 when
    // none does (and for anything but a program address 1..1024).
    int At(int address) const {
        if (address < 1 || address >= static_cast<int>(owner_.size())) return -1;
        return owner_[address];
    }

  private:
    std::vector<int> owner_;  // by address 0..1024; 0 owns nothing
};

}  // namespace zr::emulator
