// Predecoded code: what the run loop keeps per program address once it has
// executed the instruction there, so that the next time it neither fetches
// nor decodes the operand bytes. An entry is made from the bytes at its
// address as the device reads them, whatever the address is (the first
// byte of an instruction, an operand byte jumped into, a data list), and
// depends on at most kMaxDecodedLength bytes from its address: a write to
// a cell drops the entries of that cell and the kMaxDecodedLength - 1
// before it. Instructions without a decoded form, and those whose operands
// run past the end of memory or whose jump target is out of range, keep
// their opcode as the entry's kind: the loop executes them from memory as
// before, faults included.
#pragma once

#include <cstdint>

#include "emulator/machine.h"

namespace zr::emulator {

// Kinds below 256 are the opcode itself, executed from memory.
inline constexpr std::uint16_t kUndecoded = 256;     // not executed since its bytes changed
inline constexpr std::uint16_t kPushConstant = 257;  // PushByte, PushInt, PushSingle: value
inline constexpr std::uint16_t kLoadSingle = 258;    // iM of a Single: index
inline constexpr std::uint16_t kLoadInteger = 259;   // iM of an Integer: index
inline constexpr std::uint16_t kStoreSingle = 260;   // Mv to a Single: index
inline constexpr std::uint16_t kStoreInteger = 261;  // Mv to an Integer: index
inline constexpr std::uint16_t kGoTo = 262;          // short or absolute: target
inline constexpr std::uint16_t kGoToIf = 263;
inline constexpr std::uint16_t kCall = 264;
inline constexpr std::uint16_t kCallIf = 265;
inline constexpr std::uint16_t kSkip = 266;  // SkipIfZero: target is the skip
// A counted or compare Loop whose limit is a number, a Single or an Integer
// (first): index is the loop variable (0: compare), form the mode byte,
// target the way back.
inline constexpr std::uint16_t kDecodedLoop = 267;

// Fused units: several instructions run as one, with every check made before
// the first write. A unit holds only instructions that touch nothing but the
// stack, the Singles and Integers and the counter, so nothing inside it
// raises the loop's attention; whatever would fault runs its first
// instruction alone instead, and the entries after it take over.
// Units read and write Singles and constants as floats and Integers as
// int16: each unit has one kind per choice, the choice's bits added to it.
inline constexpr int kFirstIsInteger = 1;
inline constexpr int kSecondIsInteger = 2;  // the second push, or a bump's store
inline constexpr int kIntegerChoices = 4;
// iM v; LoadElement or StoreElement of the area named by index (first: v).
inline constexpr std::uint16_t kElementLoad = 268;
inline constexpr std::uint16_t kElementStore = kElementLoad + 2;
// A compare with 0 (its place in kZeroCompareCodes), then IF's skip (target).
inline constexpr std::uint16_t kZeroCompareSkip = kElementStore + 2;
inline constexpr std::uint8_t kZeroCompareCodes[] = {0x35, 0x36, 0x37, 0x38, 0x39, 0x3C};
inline constexpr int kZeroCompares = 6;
// iM a; Incr or Decr; Mv b (first: a, store: b, value: +1 or -1).
inline constexpr std::uint16_t kBump = kZeroCompareSkip + kZeroCompares;
// A push (first), or two (first, second), then a binary operation; then
// nothing, a conditional GoTo (target), IF's skip (target) or a Mv (store).
// One kind per shape, operation (its place in kFusedOperationCodes) and
// Integer choice.
inline constexpr std::uint16_t kFusedOperate = kBump + kIntegerChoices;
inline constexpr std::uint8_t kFusedOperationCodes[] = {0x01, 0x02, 0x03, 0x07, 0x08, 0x09,
                                                        0x0A, 0x0B, 0x0C, 0x12, 0x10};
inline constexpr int kFusedOperations = 11;
// The shape's number is the pushes - 1, plus 2 for a branch, 4 for a skip or
// 6 for a store.
enum class FusedShape : int {
    PushOperate,
    PushPushOperate,
    PushOperateBranch,
    PushPushOperateBranch,
    PushOperateSkip,
    PushPushOperateSkip,
    PushOperateStore,
    PushPushOperateStore,
};
inline constexpr int kFusedShapes = 8;
// Whether the shape may move the counter elsewhere than past itself.
constexpr bool FusedShapeJumps(int shape) {
    return shape >= static_cast<int>(FusedShape::PushOperateBranch) &&
           shape <= static_cast<int>(FusedShape::PushPushOperateSkip);
}
// A shape with one push chooses only for its first value.
constexpr int FusedChoices(int shape) {
    return shape % 2 == 1 ? kIntegerChoices : 2;
}
// The kinds of the shapes before `shape`.
constexpr int FusedShapeStart(int shape) {
    int start = 0;
    for (int s = 0; s < shape; ++s) start += kFusedOperations * FusedChoices(s);
    return start;
}
constexpr std::uint16_t FusedKind(FusedShape shape, int place, int integers) {
    const int s = static_cast<int>(shape);
    return static_cast<std::uint16_t>(kFusedOperate + FusedShapeStart(s) + place * FusedChoices(s) +
                                      integers);
}
// Two pushes and an operation, a push and an operation, then a tail as the
// shapes have (nothing, a branch, a skip or a store): operations holds the
// two operations' places, third the third push. One kind per tail and
// Integer choice of the first two pushes.
inline constexpr std::uint16_t kChain = kFusedOperate + FusedShapeStart(kFusedShapes);
inline constexpr int kChainTails = 4;
constexpr int ChainCount(int tail) {
    return 5 + (tail > 0 ? 1 : 0);
}
// The instructions a unit of the shape holds.
constexpr int FusedCount(int shape) {
    return 2 + shape % 2 + (shape >= static_cast<int>(FusedShape::PushOperateBranch) ? 1 : 0);
}
inline constexpr int kBumpCount = 3;
inline constexpr int kDecodedKinds = kChain + kChainTails * kIntegerChoices - kUndecoded;

// The bytes an entry reads, from its address: a chain of three PushSingles,
// two operations and an absolute GoTo.
inline constexpr int kMaxDecodedLength = 20;

// A value a fused unit pushes or stores: a constant (pushes only), a Single
// or an Integer. The loop binds `place` when it makes the entry: the Single
// or Integer cell, or the constant's own `value`, so a unit reads each value
// with one load and no test of its area other than Integer or not.
struct Source {
    enum Area : std::uint8_t { Constant, Single, Integer };
    Area area = Constant;
    std::uint8_t index = 0;
    float value = 0;
    void* place = nullptr;
};

// Two cache lines per entry: an entry's address is the program address
// shifted, and one entry never straddles more lines than it fills.
struct alignas(64) Decoded {
    std::uint16_t kind = kUndecoded;
    std::uint8_t length = 1;  // the bytes of its instructions
    std::uint8_t index = 0;   // in the Single or Integer area
    float value = 0;
    std::int32_t target = 0;          // absolute jump target, or the skip
    std::uint8_t count = 1;           // instructions
    std::uint8_t form = 0;            // a Loop's mode byte
    std::uint8_t operations[2] = {};  // a chain's, as places in kFusedOperationCodes
    Source first, second, third, store;
};
static_assert(sizeof(Decoded) == 128);

// The entry for the instruction at `address` (1..1023).
Decoded DecodeAt(const ProgramMemory& memory, int address);

}  // namespace zr::emulator
