// Writes seed inputs for run_loop_fuzz: each example program compiled into
// its 1024 program cells, followed by a few key bytes (digits and Enter),
// and the hand-made programs below, aimed at the run loop's decoded and
// fused code. Usage: run_loop_seeds OUTPUT_DIR SOURCE...  (.zrt sources,
// RTF or plain text)
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "compiler/compiler.h"
#include "compiler/source_text.h"
#include "formats/zrt.h"

namespace {

struct HandMade {
    const char* name;
    std::vector<unsigned char> code;  // from cell 1
    std::string keys;                 // key bytes as run_loop_fuzz reads them
};

// Opcodes: 60 iM, 62 Mv, 71 PushByte, 72 PushInt, 73 PushSingle, 01 -, 02 *,
// 03 /, 12 +, 07 <, 0C >=, 30 Incr, 2F Decr, 42 POKE, 68 Drop, 69 Dup, 7F IF's skip,
// 89 Edit, 84 LOAD, F5 GoTo, FD GoToIf, F1 Call (absolute words).
const HandMade kHandMade[] = {
    // POKE into the next unit's constant (cell 13), every round.
    {"poke_next_unit",
     {0x60, 129, 0x30, 0x62, 129,  0x72, 0, 13,   0x60, 129, 0x42,
      0x71, 0,   0x60, 1,    0x12, 0x62, 1, 0xF5, 0,    1},
     {}},
    // POKE the operation of a fused unit (cell 20): Subtract, then Multiply.
    {"poke_unit_operation",
     {0x60, 129,  0x30, 0x62, 129,  0x72, 0,    20,   0x60, 129,  0x71, 1, 0x06,
      0x30, 0x42, 0x60, 1,    0x71, 3,    0x01, 0x62, 1,    0xF5, 0,    1},
     {}},
    // Edit writes the keys into cell 13, a fused unit's constant.
    {"edit_into_code",
     {0x72, 0, 13, 0x89, 0x68, 0x68, 0xF5, 0, 10, 0x60, 1, 0x71, 1, 0x12, 0x62, 1, 0xF5, 0, 1},
     {3, 4, 15, 2, 1, 15, 5}},
    // LOAD's memory command writes 48 (Incr) into cell 12, a compare of a unit.
    {"load_into_code",
     {0x60, 1, 0x71, 1, 0x12, 0x62, 1, 0x60, 1, 0x71, 3, 0x07, 0xFD, 0, 1, 0x84, 0xF5, 0, 1},
     {}},
    // A jump into the operand bytes of PushInt (30 69: Incr, Dup), round and round.
    {"jump_into_operands", {0x60, 129, 0x30, 0x62, 129, 0x72, 0x30, 0x69, 0x68, 0xF5, 0, 7}, {}},
    // Jumps to 0 and to 1024, and a call of 0.
    {"jump_to_0_and_1024", {0x71, 1, 0xFD, 4, 0, 0xF1, 0, 0, 0xF5, 0, 0}, {1, 15, 15, 1, 15}},
    // Faults inside units: a zero divisor from a variable, int16 overflow,
    // float overflow.
    {"unit_divides_by_zero",
     {0x71, 5, 0x62, 129, 0x60, 129, 0x2F, 0x62, 129, 0x71, 7, 0x60, 129, 0x03, 0x62, 2, 0xF5, 0,
      5},
     {15, 1, 15}},
    {"unit_overflows_int16",
     {0x72, 0x7F, 0x00, 0x62, 129, 0x60, 129, 0x30, 0x62, 129, 0xF5, 0, 6},
     {15, 1, 15}},
    {"unit_overflows_float",
     {0x73, 0x99, 0x76, 0x96, 0x7E, 0x62, 1, 0x60, 1, 0x71, 200, 0x02, 0x62, 1, 0xF5, 0, 8},
     {15, 1, 15}},
    // i1 := i1 + 20000: the store of a unit overflows an Integer.
    {"unit_store_overflows_int16",
     {0x60, 129, 0x72, 0x4E, 0x20, 0x12, 0x62, 129, 0xF5, 0, 1},
     {15, 1, 15}},
    // i(i1) := (s(i1) + i1 mod 7) * 6000 overflows an Integer at i1 = 6.
    {"element_store_overflows_int16",
     {0x60, 129,  0x30, 0x62, 129,  0x60, 129,  0x64, 1,    0x60, 129,  0x71, 7,
      0x10, 0x12, 0x72, 0x17, 0x70, 0x02, 0x60, 129,  0x65, 129,  0xF5, 0,    1},
     {15, 1, 15}},
    // Element i1 of the area from 200 passes variable 255 at i1 = 56.
    {"element_number_past_255",
     {0x60, 129, 0x30, 0x62, 129, 0x60, 129, 0x64, 200, 0x62, 1, 0xF5, 0, 1},
     {15, 1, 15}},
    // 9 Mod i2, with i2 still 0.
    {"mod_by_zero_variable", {0x71, 9, 0x60, 130, 0x10, 0x62, 1, 0xF5, 0, 1}, {15, 1, 15}},
    // A counted Loop over i3 from 32766 up to 32767 overflows the counter.
    {"loop_counter_overflows",
     {0x72, 0x7F, 0xFE, 0x62, 131, 0x00, 0x7B, 3, 2, 0x7F, 0xFF, 0xF5, 0, 1},
     {15, 1, 15}},
    // A value list whose first word, 32701, would name Integer 201 as a limit.
    {"loop_value_list_naming_a_variable",
     {0x60, 129, 0x30, 0x62, 129, 0x7B, 0x11, 6, 0x7F, 0xBD, 0xF5, 0, 1},
     {15, 1, 15}},
    // A Loop whose limit is s1 = 40000: no int16.
    {"loop_limit_overflows",
     {0x73, 0x00, 0x40, 0x1C, 0x47, 0x62, 1, 0x00, 0x7B, 1, 2, 0x7E, 0xF5, 0xF5, 0, 1},
     {15, 1, 15}},
    // IF's skip after a compare: counts to 20, then ends.
    {"compare_and_skip",
     {0x60, 129, 0x30, 0x62, 129, 0x60, 129, 0x71, 20, 0x0C, 0x7F, 3, 0x66, 0, 0, 0xF5, 0, 1},
     {}},
};

void WriteHandMade(const std::filesystem::path& output) {
    for (const HandMade& seed : kHandMade) {
        std::string bytes(1024, '\0');
        std::copy(seed.code.begin(), seed.code.end(), bytes.begin());
        std::ofstream(output / seed.name, std::ios::binary) << bytes << seed.keys;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: run_loop_seeds OUTPUT_DIR SOURCE...\n";
        return 2;
    }
    const std::filesystem::path output = argv[1];
    std::filesystem::create_directories(output);
    WriteHandMade(output);
    // Key bytes as run_loop_fuzz reads them: keys 1, 2 and Enter (index 15).
    const std::string keys = {1, 2, 15, 3, 15, 15};
    for (int i = 2; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        zr::compiler::Compiler compiler;
        // The examples' libraries ship beside them: examples/../libraries.
        compiler.libraryFolder =
            std::filesystem::path(argv[i]).parent_path().parent_path() / "libraries";
        if (!compiler.CompileSource(
                zr::compiler::ToCompilerText(zr::formats::ReadZrt(bytes).text))) {
            std::cerr << argv[i] << ": does not compile, skipped\n";
            continue;
        }
        const auto& image = compiler.programImage;
        std::ofstream seed(output / std::filesystem::path(argv[i]).stem(), std::ios::binary);
        seed.write(reinterpret_cast<const char*>(image.data() + 1),
                   static_cast<std::streamsize>(image.size() - 1));
        seed << keys;
    }
    return 0;
}
