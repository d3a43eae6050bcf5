#include "emulator/predecoded.h"

#include "machine/encodings.h"
#include "machine/image.h"
#include "machine/opcodes.h"

namespace zr::emulator {

using namespace machine;

namespace {

Decoded Plain(std::uint8_t op) {
    return {op, 1, 0, 0, 0};
}

Decoded Variable(std::uint8_t op, std::uint8_t operand, std::uint16_t single,
                 std::uint16_t integer) {
    if (NamesSingle(operand)) return {single, 2, operand, 0, 0};
    if (NamesInteger(operand))
        return {integer, 2, static_cast<std::uint8_t>(IntegerIndexOf(operand)), 0, 0};
    return Plain(op);
}

Decoded Jump(std::uint8_t op, const ProgramMemory& memory, int address) {
    constexpr std::uint16_t kKinds[] = {kCall, kGoTo, kCallIf, kGoToIf};
    const std::uint16_t kind = kKinds[static_cast<int>(JumpKindOf(op))];
    switch (AddressModeOf(op)) {
        case AddressMode::Short: {
            // From the byte after the offset; a target outside 0..1024 faults.
            const int target = memory[address + 1] - 129 + address + 2;
            if (target < 0 || target > kProgramSize) return Plain(op);
            return {kind, 2, 0, 0, target};
        }
        case AddressMode::Absolute:
            return {kind, 3, 0, 0, DecodeInteger(memory[address + 1], memory[address + 2])};
        default:
            return Plain(op);  // the target is read at run time
    }
}

// A counted or compare Loop with a number, a Single or an Integer for its
// limit; a value list or any other limit runs from memory.
Decoded DecodeLoop(const ProgramMemory& memory, int address) {
    if (address + 4 > kProgramSize) return Plain(kLoop);
    const std::uint8_t form = memory[address + 1];
    if (form & kLoopValueList) return Plain(kLoop);
    const int word = DecodeInteger(memory[address + 3], memory[address + 4]);
    const int operand = VariableWordOperand(word);
    Source limit{Source::Constant, 0, static_cast<float>(word)};
    if (operand >= 0 && operand <= 255 && NamesSingle(static_cast<std::uint8_t>(operand)))
        limit = {Source::Single, static_cast<std::uint8_t>(operand), 0};
    else if (operand >= 0 && operand <= 255 && NamesInteger(static_cast<std::uint8_t>(operand)))
        limit = {Source::Integer,
                 static_cast<std::uint8_t>(IntegerIndexOf(static_cast<std::uint8_t>(operand))), 0};
    else if (operand >= 0)
        return Plain(kLoop);
    Decoded d{kDecodedLoop, 5, static_cast<std::uint8_t>(form & kLoopVariableBits), 0,
              address + 1 - memory[address + 2]};
    d.form = form;
    d.first = limit;
    return d;
}

int OperandBytesOf(std::uint8_t op) {
    if (IsJump(op)) {
        switch (AddressModeOf(op)) {
            case AddressMode::Absolute:
                return 2;
            case AddressMode::FromX:
                return 0;
            default:
                return 1;
        }
    }
    const OpcodeInfo* info = FindOpcode(op);
    return info ? info->operandBytes : 0;
}

// The entry of the one instruction at `address`.
Decoded DecodeOne(const ProgramMemory& memory, int address) {
    const std::uint8_t op = memory[address];
    // Operands past the last cell: the instruction faults as it fetches them.
    if (address + OperandBytesOf(op) > kProgramSize) return Plain(op);
    if (IsJump(op)) return Jump(op, memory, address);
    switch (op) {
        case kiM:
            return Variable(op, memory[address + 1], kLoadSingle, kLoadInteger);
        case kMv:
            return Variable(op, memory[address + 1], kStoreSingle, kStoreInteger);
        case kPushByte:
            return {kPushConstant, 2, 0, static_cast<float>(memory[address + 1]), 0};
        case kPushInt:
            return {kPushConstant, 3, 0,
                    static_cast<float>(DecodeInteger(memory[address + 1], memory[address + 2])), 0};
        case kPushSingle:
            return {kPushConstant, 5, 0, SingleFromBytes(memory.data() + address + 1), 0};
        case kSkipIfZero:
            return {kSkip, 2, 0, 0, memory[address + 1]};
        case kLoop:
            return DecodeLoop(memory, address);
        default:
            return Plain(op);
    }
}

// What a single entry pushes, if it is a push a unit can take.
bool PushSource(const Decoded& d, Source& source) {
    switch (d.kind) {
        case kPushConstant:
            source = {Source::Constant, 0, d.value};
            return true;
        case kLoadSingle:
            source = {Source::Single, d.index, 0};
            return true;
        case kLoadInteger:
            source = {Source::Integer, d.index, 0};
            return true;
        default:
            return false;
    }
}

int OperationPlace(std::uint16_t kind) {
    for (int i = 0; i < kFusedOperations; ++i)
        if (kind == kFusedOperationCodes[i]) return i;
    return -1;
}

// The instructions of a unit, read one after another; an instruction that
// starts at 1024 is never part of one (the run stops there).
class UnitReader {
  public:
    UnitReader(const ProgramMemory& memory, int address) : memory_(&memory), next_(address) {}
    bool Next(Decoded& d) {
        if (next_ >= kProgramSize) return false;
        d = DecodeOne(*memory_, next_);
        next_ += d.length;
        ++count_;
        return true;
    }
    // The operand byte of an instruction without a decoded form of its own.
    std::uint8_t TakeOperandByte() { return (*memory_)[next_++]; }
    int length(int address) const { return next_ - address; }
    int count() const { return count_; }

  private:
    const ProgramMemory* memory_;
    int next_;
    int count_ = 0;
};

Decoded Fused(std::uint16_t kind, const UnitReader& unit, int address) {
    Decoded d;
    d.kind = kind;
    d.length = static_cast<std::uint8_t>(unit.length(address));
    d.count = static_cast<std::uint8_t>(unit.count());
    return d;
}

int ZeroComparePlace(std::uint16_t kind) {
    for (int i = 0; i < kZeroCompares; ++i)
        if (kind == kZeroCompareCodes[i]) return i;
    return -1;
}

// A compare with 0 and IF's skip after it.
Decoded FuseZeroCompare(const ProgramMemory& memory, int address, const Decoded& first) {
    UnitReader unit(memory, address);
    Decoded d;
    unit.Next(d);
    if (!unit.Next(d) || d.kind != kSkip) return first;
    Decoded fused = Fused(
        static_cast<std::uint16_t>(kZeroCompareSkip + ZeroComparePlace(first.kind)), unit, address);
    fused.target = d.target;
    return fused;
}

// iM v, then the element of an area with v for its index.
bool FuseElement(const Decoded& access, const Source& index, UnitReader& unit, int address,
                 Decoded& fused) {
    if (access.kind != kLoadElement && access.kind != kStoreElement) return false;
    const std::uint8_t area = unit.TakeOperandByte();  // at 1024 at most
    if (area >= kOperandStack) return false;
    const int integer = index.area == Source::Integer ? kFirstIsInteger : 0;
    fused = Fused(static_cast<std::uint16_t>(
                      (access.kind == kLoadElement ? kElementLoad : kElementStore) + integer),
                  unit, address);
    fused.index = area;
    fused.first = index;
    return true;
}

// The kind's choice of Integer or float for a unit's first two values.
int IntegerChoice(const Source& first, const Source& second) {
    return (first.area == Source::Integer ? kFirstIsInteger : 0) |
           (second.area == Source::Integer ? kSecondIsInteger : 0);
}

// What ends a unit after its operation, when it follows in `unit`.
enum class Tail { None, Branch, Skip, Store };
struct TailRead {
    Tail tail = Tail::None;
    std::int32_t target = 0;  // a branch's or a skip's
    Source store;
};
TailRead ReadTail(UnitReader& unit) {
    UnitReader after = unit;
    Decoded d;
    TailRead read;
    if (!after.Next(d)) return read;
    switch (d.kind) {
        case kGoToIf:
            read = {Tail::Branch, d.target, {}};
            break;
        case kSkip:
            read = {Tail::Skip, d.target, {}};
            break;
        case kStoreSingle:
            read = {Tail::Store, 0, {Source::Single, d.index, 0}};
            break;
        case kStoreInteger:
            read = {Tail::Store, 0, {Source::Integer, d.index, 0}};
            break;
        default:
            return read;
    }
    unit = after;
    return read;
}

// Two pushes and an operation (read), then a push, an operation and a tail.
bool FuseChain(const UnitReader& read, int address, const Source (&pushed)[2], int place,
               int integers, Decoded& chain) {
    UnitReader unit = read;
    Decoded d;
    Source third;
    if (!unit.Next(d) || !PushSource(d, third) || !unit.Next(d)) return false;
    const int secondPlace = OperationPlace(d.kind);
    if (secondPlace < 0) return false;
    const TailRead tail = ReadTail(unit);
    chain = Fused(static_cast<std::uint16_t>(
                      kChain + static_cast<int>(tail.tail) * kIntegerChoices + integers),
                  unit, address);
    chain.first = pushed[0];
    chain.second = pushed[1];
    chain.third = third;
    chain.operations[0] = static_cast<std::uint8_t>(place);
    chain.operations[1] = static_cast<std::uint8_t>(secondPlace);
    chain.target = tail.target;
    chain.store = tail.store;
    return true;
}

// The fused unit that starts with `first` at `address`, or `first` itself.
Decoded Fuse(const ProgramMemory& memory, int address, const Decoded& first) {
    if (ZeroComparePlace(first.kind) >= 0) return FuseZeroCompare(memory, address, first);
    Source pushed[2];
    if (!PushSource(first, pushed[0])) return first;
    UnitReader unit(memory, address);
    Decoded d;
    unit.Next(d);
    if (!unit.Next(d)) return first;
    if (Decoded element;
        pushed[0].area != Source::Constant && FuseElement(d, pushed[0], unit, address, element))
        return element;
    if ((d.kind == kIncr || d.kind == kDecr) && pushed[0].area != Source::Constant) {
        const float amount = d.kind == kIncr ? 1.0f : -1.0f;
        const TailRead tail = ReadTail(unit);
        if (tail.tail != Tail::Store) return first;
        Decoded bump =
            Fused(static_cast<std::uint16_t>(kBump + IntegerChoice(pushed[0], tail.store)), unit,
                  address);
        bump.first = pushed[0];
        bump.value = amount;
        bump.store = tail.store;
        return bump;
    }
    int pushes = 1;
    if (PushSource(d, pushed[1])) {
        pushes = 2;
        if (!unit.Next(d)) return first;
    }
    const int place = OperationPlace(d.kind);
    if (place < 0) return first;
    const int integers = IntegerChoice(pushed[0], pushed[1]);  // a lone push leaves a Constant
    const TailRead tail = ReadTail(unit);
    if (pushes == 2 && tail.tail == Tail::None) {
        if (Decoded chain; FuseChain(unit, address, pushed, place, integers, chain)) return chain;
    }
    const int shape = pushes - 1 + 2 * static_cast<int>(tail.tail);
    Decoded fused =
        Fused(FusedKind(static_cast<FusedShape>(shape), place, integers), unit, address);
    fused.first = pushed[0];
    fused.second = pushed[1];
    fused.target = tail.target;
    fused.store = tail.store;
    return fused;
}

}  // namespace

Decoded DecodeAt(const ProgramMemory& memory, int address) {
    return Fuse(memory, address, DecodeOne(memory, address));
}

}  // namespace zr::emulator
