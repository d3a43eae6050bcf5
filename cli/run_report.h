// What `keltoc run` prints about a finished headless run.
#pragma once

#include <iosfwd>
#include <nlohmann/json.hpp>

#include "emulator/emulator.h"
#include "emulator/headless_host.h"

namespace zr::cli {

// The display as a 2 x 16 box, in UTF-8; a control character shows as "·".
void PrintDisplayBox(const emulator::Display& display, std::ostream& out);

// The run result object of `keltoc run --json`.
nlohmann::json RunResultJson(const emulator::Emulator& emulator,
                             const emulator::HeadlessHost& host);

}  // namespace zr::cli
