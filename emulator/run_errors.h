// Run error codes: the values RunState takes when an error stops a run.
#pragma once

#include <cstdint>

namespace zr::emulator {

// RunState: 0 stopped (at the address prompt), 1 running, 3..255 an error code.
inline constexpr std::uint8_t kStopped = 0;
inline constexpr std::uint8_t kRunning = 1;

enum RunError : std::uint8_t {
    kErrorDivideOrCallDepth = 10,  // "/" by 0; a call with 32 levels in use
    kErrorSqrtOrReturn = 11,       // Sqr of a negative value; Ret at the bottom level
    kErrorLoadIndirect = 12,       // LoadIndirect index variable outside 0..255
    kErrorStackSlot = 15,          // stack element outside the ring
    kErrorStoreIndirect = 36,      // StoreIndirect index variable outside 0..255
    kErrorJumpTarget = 37,         // computed jump target outside 0..1024
    kErrorTableIndex = 38,         // Table index out of range
    kErrorJumpVariable = 39,       // jump AddressMode 2 with a variable number outside 0..255
    kErrorElementNumber = 41,      // element access beyond variable number 255
    kErrorRetN = 42,               // RetN leaving ReturnPointer outside 1..32
    kErrorStackDepth = 99,         // Rol or Over with too few values

    // Faults the device leaves without a code; each stops the run like the others.
    kErrorUnassignedOpcode = 50,  // 13-1F, 3E-3F, 44-5F
    kErrorZeroDivisor = 51,       // 1\x of 0, Mod by 0
    kErrorLogDomain = 52,         // Log of a value <= 0
    kErrorPowerDomain = 53,       // X^Y without a real result (0 to a negative power included)
    kErrorFloatRange = 54,        // a result that is not a finite float
    kErrorConversionRange = 55,   // a value outside the whole-number range it must fit
    kErrorAddressRange = 56,      // a program address outside the image (fetch, PEEK, POKE, tables)
    kErrorHardwareOperand = 57,   // plain access to ADC (254) or I2C (255)
    kErrorHardwareIndex = 58,     // ADC channel outside 1..4, I2C element outside 1..128
    kErrorSerialChannel = 59,     // INPUT or LOAD with no serial line to read
};

// Thrown by the operations of an instruction at the first fault; the
// interpreter catches it, stores the code in RunState and ends the
// instruction, so no further operand is fetched and nothing is pushed.
struct RunFault {
    std::uint8_t code;
};

// Thrown when the host has ended the run while an instruction waited for
// input it cannot get: the instruction ends and RunState stays as it is.
struct InstructionAbandoned {};

}  // namespace zr::emulator
