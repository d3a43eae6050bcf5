// The names a listing shows for variable operands and program addresses,
// taken from a compile's name table.
#pragma once

#include "compiler/names.h"
#include "machine/listing.h"

namespace zr::compiler {

// Variables by operand (array elements as NAME(k)), labels by address; UTF-8.
// The table is copied, so the result may outlive it.
machine::ListingNames ListingNamesOf(const NameTable& names);

}  // namespace zr::compiler
