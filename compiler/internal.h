// Faults inside a compile that no statement reports itself: an index beyond a
// table or the image, a value too large for its field. The driver turns every
// one into the single internal-error message.
#pragma once

#include <stdexcept>

namespace zr::compiler {

class InternalFault : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace zr::compiler
