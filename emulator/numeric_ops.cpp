// Arithmetic, comparison, logic and function instructions (pages 0 to 3) and
// the pair page (Rol, Dup2, POKE, POKE2). Arithmetic runs in double precision
// and is rounded to float when stored; a result that is not a finite float
// stops the run.
#include <cmath>
#include <numbers>

#include "emulator/conversions.h"
#include "emulator/emulator.h"
#include "machine/opcodes.h"

namespace zr::emulator {
namespace {

using namespace machine;

constexpr float kEValue = 2.71828f;
constexpr float kPiValue = 3.14159f;
// The degree factors are rounded to float before they are used.
const float kDegreesPerRadian = static_cast<float>(180.0 / 3.14159);
const float kRadiansPerDegree = static_cast<float>(3.14159 / 180.0);

// Rotates the low 8 bits: count >= 1 to the right, <= -1 to the left.
std::uint8_t RotateByte(std::uint8_t v, std::int32_t count) {
    const int places = ((count % 8) + 8) % 8;  // right rotations; left ones are 8 - n right
    return static_cast<std::uint8_t>((v >> places) | (v << (8 - places)));
}

int CheckedAddress(double value, int width) {
    const int address = ToInt16(ToInt32(value));
    if (address < 0 || address + width - 1 > kProgramSize) throw RunFault{kErrorAddressRange};
    return address;
}

}  // namespace

// Arithmetic and comparisons are in the dispatch, done in place.
void Emulator::ExecuteBinary(std::uint8_t op) {
    MachineState& m = machine;
    if (op > kAdd) throw RunFault{kErrorUnassignedOpcode};
    m.PopPair();
    const double x = m.resultRegister;
    const double y = m.operandRegister;
    double result = 0;
    switch (op) {
        case kOr:
            result = ToInt32(y) | ToInt32(x);
            break;
        case kXOr:
            result = ToInt32(y) ^ ToInt32(x);
            break;
        case kAnd:
            result = ToInt32(y) & ToInt32(x);
            break;
        case kPower:
            result = std::pow(y, x);
            if (std::isnan(result) || (y == 0 && x < 0)) throw RunFault{kErrorPowerDomain};
            break;
        case kSwap:
            m.PushValue(m.resultRegister);
            result = y;
            break;
        case kBynRol:
            result = RotateByte(static_cast<std::uint8_t>(ToInt32(x) & 0xFF), ToInt32(y));
            break;
        case kMod: {
            const std::int32_t divisor = ToInt32(x);
            if (divisor == 0) throw RunFault{kErrorZeroDivisor};
            result = Remainder(ToInt32(y), divisor);
            break;
        }
        case kBetween: {
            const double z = m.PopValue();
            result = Truth(y <= z && z <= x);
            break;
        }
        default:  // the dispatch keeps the others; anything else is no instruction
            throw RunFault{kErrorUnassignedOpcode};
    }
    m.resultRegister = CheckedFloat(result);
    m.PushValue(m.resultRegister);
}

void Emulator::ExecuteUnary(std::uint8_t op) {
    MachineState& m = machine;
    if (op > kPeek2) throw RunFault{kErrorUnassignedOpcode};
    // Rnd reads the result the previous instruction left, before this one replaces it.
    const float previousResult = m.resultRegister;
    m.operandRegister = m.PopValue();
    const double x = m.operandRegister;
    double result = 0;
    switch (op) {
        case kE:
        case kPi: {
            const float constant = op == kE ? kEValue : kPiValue;
            m.PushValue(constant);
            result = constant;
            break;
        }
        case kGrad:
            result = x * kDegreesPerRadian;
            break;
        case kRad:
            result = x * kRadiansPerDegree;
            break;
        case kSqr:
            if (x < 0) throw RunFault{kErrorSqrtOrReturn};
            result = std::sqrt(x);
            break;
        case kReciprocal:
            if (x == 0) throw RunFault{kErrorZeroDivisor};
            result = 1 / x;
            break;
        case kSquare:
            result = x * x;
            break;
        case kNot:
            result = ~ToInt32(x);
            break;
        case kSin:
            result = std::sin(x);
            break;
        case kCos:
            result = std::cos(x);
            break;
        case kTan:
            result = std::tan(x);
            break;
        case kASin:
        case kACos:
        case kATan:
        case kNeg:
            result = -x;
            break;
        case kInt:
            result = std::floor(x);
            break;
        case kX1:
            result = m.lastX;
            break;
        case kRnd:
            result = ToInt16(Random(ToInt16(previousResult)));
            break;
        case kPeek:
            result = m.programImage[CheckedAddress(x, 1)];
            break;
        case kLessZero:
            result = Truth(x < 0);
            break;
        case kLessEqualZero:
            result = Truth(x <= 0);
            break;
        case kEqualZero:
            result = Truth(x == 0);
            break;
        case kGreaterZero:
            result = Truth(x > 0);
            break;
        case kGreaterEqualZero:
            result = Truth(x >= 0);
            break;
        case kAbs:
            result = std::fabs(x);
            break;
        case kLog:
            if (x <= 0) throw RunFault{kErrorLogDomain};
            result = std::log(x);
            break;
        case kNotEqualZero:
            result = Truth(x != 0);
            break;
        case kPeek2:
            result = LoadInteger(m.programImage, CheckedAddress(x, 2));
            break;
        default:
            throw RunFault{kErrorUnassignedOpcode};
    }
    m.resultRegister = CheckedFloat(result);
    m.PushValue(m.resultRegister);
}

void Emulator::ExecutePairPage(std::uint8_t op) {
    MachineState& m = machine;
    if (op > kPoke2) throw RunFault{kErrorUnassignedOpcode};
    m.PopPair();
    const float x = m.resultRegister;
    const float y = m.operandRegister;
    switch (op) {
        case kRol:
            Rol(m.FetchByte());
            return;
        case kDup2:
            m.PushValue(y);
            m.PushValue(x);
            m.PushValue(y);
            m.PushValue(x);
            return;
        case kPoke: {
            const int address = CheckedAddress(y, 1);
            WriteProgram(address, static_cast<std::uint8_t>(ToInt32(x) & 0xFF));
            return;
        }
        case kPoke2: {
            const int address = CheckedAddress(y, 2);
            const std::int16_t word = ToInt16(ToInt32(x));
            if (word == INT16_MIN) throw RunFault{kErrorConversionRange};  // no encoding
            WriteProgram(address, machine::IntegerBytes(word));
            return;
        }
        default:
            throw RunFault{kErrorUnassignedOpcode};
    }
}

// Rotates the slots s..StackPointer by one place, (d bits 4-6) + 1 times:
// upwards (the top goes to slot s) or, with bit 7, downwards. Slot 0 and a
// slot above the top are refused like a stack too shallow.
void Emulator::Rol(std::uint8_t d) {
    MachineState& m = machine;
    const int s = d & 0x0F;
    if (s == 0 || m.stackPointer < s) throw RunFault{kErrorStackDepth};
    const int repetitions = ((d & 0x70) >> 4) + 1;
    const bool down = d & 0x80;
    auto& slots = m.valueStack;
    for (int r = 0; r < repetitions; ++r) {
        if (down) {
            const float t = slots[s];
            for (int j = s; j < m.stackPointer; ++j) slots[j] = slots[j + 1];
            slots[m.stackPointer] = t;
        } else if (s == m.stackPointer) {
            // At least one move is made, so s = StackPointer exchanges the two top slots.
            std::swap(slots[s], slots[MachineState::RingSlot(s - 1)]);
        } else {
            const float t = slots[m.stackPointer];
            for (int j = m.stackPointer; j > s; --j) slots[j] = slots[j - 1];
            slots[s] = t;
        }
    }
}

}  // namespace zr::emulator
