#include "machine/listing.h"

#include <cstdio>

#include "machine/cp1251.h"
#include "machine/encodings.h"
#include "machine/opcodes.h"

namespace zr::machine {
namespace {

// Reads the bytes of one instruction, never past cell 1024.
class Reader {
  public:
    Reader(const ProgramImage& image, int address, DecodedInstruction& out)
        : image_(image), next_(address), out_(out) {}

    std::uint8_t Byte() {
        if (next_ > kProgramSize) {
            ended_ = true;
            return 0;
        }
        const std::uint8_t b = image_[next_++];
        out_.bytes.push_back(b);
        return b;
    }
    int Word() {
        const std::uint8_t high = Byte();
        return DecodeInteger(high, Byte());
    }
    float Single() {
        std::uint8_t bytes[4];
        for (auto& b : bytes) b = Byte();
        return SingleFromBytes(bytes);
    }
    int next() const { return next_; }
    bool ended() const { return ended_; }

  private:
    const ProgramImage& image_;
    int next_;
    DecodedInstruction& out_;
    bool ended_ = false;
};

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.7g", value);
    return text;
}

std::string Variable(const ListingNames& names, std::uint8_t operand) {
    if (names.variable) {
        std::string name = names.variable(operand);
        if (!name.empty()) return name;
    }
    return "v" + std::to_string(operand);
}

std::string Target(const ListingNames& names, int address) {
    if (names.label) {
        std::string name = names.label(address);
        if (!name.empty()) return name + " (" + std::to_string(address) + ")";
    }
    return std::to_string(address);
}

// A loop limit or an OnX entry: a number, or above the base a variable.
std::string WordOrVariable(const ListingNames& names, int word) {
    if (const int operand = VariableWordOperand(word); operand >= 0 && operand <= 255)
        return Variable(names, static_cast<std::uint8_t>(operand));
    return std::to_string(word);
}

std::string Quoted(const std::string& cp1251) {
    return "\"" + Cp1251ToUtf8(cp1251) + "\"";
}

std::string PrintList(Reader& in, const ListingNames& names) {
    std::string result, text;
    auto add = [&](const std::string& item) {
        if (!text.empty()) result += (result.empty() ? "" : ", ") + Quoted(text);
        text.clear();
        if (!item.empty()) result += (result.empty() ? "" : ", ") + item;
    };
    int n = in.Byte();
    while (n >= 1 && !in.ended()) {
        const std::uint8_t c = in.Byte();
        if (c == kPrintItemNumber) {
            add(Variable(names, in.Byte()));
            n -= 2;
        } else if (c == kPrintItemCursor) {
            const std::uint8_t p = in.Byte();
            std::string at = std::string(p & kCursorClear ? "clear " : "") + "at " +
                             ((p & kCursorLine1) ? "1" : "2") + "," + std::to_string(p & 0x1F);
            add(at);
            n -= 2;
        } else {
            text += static_cast<char>(c);
            n -= 1;
        }
    }
    add("");
    return result;
}

std::string Table(Reader& in, const ListingNames& names) {
    const std::uint8_t h = in.Byte();
    const int count = h & kTableCountBits;
    std::string result;
    auto add = [&](const std::string& item) { result += (result.empty() ? "" : ", ") + item; };
    switch (h & kTableFormBits) {
        case kTableBytes:
            for (int i = 0; i < count && !in.ended(); ++i) add(std::to_string(in.Byte()));
            return "bytes [" + result + "]";
        case kTableIntegers:
            for (int i = 0; i < count && !in.ended(); ++i) add(std::to_string(in.Word()));
            return "integers [" + result + "]";
        case kTableMessages:
            for (int i = 0; i < count && !in.ended(); ++i) {
                std::string text;
                for (std::uint8_t b = in.Byte(); b != 0 && !in.ended(); b = in.Byte())
                    text += static_cast<char>(b);
                add(Quoted(text));
            }
            return "messages [" + result + "]";
        default:
            for (int i = 0; i < count && !in.ended(); ++i) {
                const std::uint8_t c = in.Byte();
                const InitialValueWidth width = InitialValueWidthOf(c);
                const double value = width == InitialValueWidth::Word   ? in.Word()
                                     : width == InitialValueWidth::Byte ? in.Byte()
                                                                        : in.Single();
                add(Variable(names, c) + " = " + Number(value));
            }
            return "initialise [" + result + "]";
    }
}

std::string OnX(Reader& in, const ListingNames& names) {
    const std::uint8_t h = in.Byte();
    const int mode = h >> kOnXModeShift;
    static constexpr const char* kModes[] = {"search", "call", "value", "goto"};
    std::string result;
    for (int k = 0; k < (h & kOnXCountBits) && !in.ended(); ++k) {
        const int word = in.Word();
        const bool address = (mode == 1 || mode == 3) && word >= 0 && word <= kProgramSize;
        result += (k ? ", " : "") + (address ? Target(names, word) : WordOrVariable(names, word));
    }
    return std::string(kModes[mode]) + " [" + result + "]";
}

std::string Loop(Reader& in, int opAddress, const ListingNames& names) {
    const std::uint8_t d = in.Byte();
    const std::string back = "back to " + Target(names, opAddress + 1 - in.Byte());
    if (d & kLoopValueList) {
        std::string result;
        for (int k = 0; k < (d & kLoopListCountBits) && !in.ended(); ++k)
            result += (k ? ", " : "") + std::to_string(in.Word());
        return "list [" + result + "], " + back;
    }
    const int i = d & kLoopVariableBits;
    const bool down = d & kLoopDownOrEqual;
    const std::string limit = WordOrVariable(names, in.Word());
    if (i == 0) return std::string(down ? "while X = " : "while X <> ") + limit + ", " + back;
    return Variable(names, static_cast<std::uint8_t>(kIntegerOperandBase + i)) +
           (down ? " down to " : " up to ") + limit + ", " + back;
}

std::string JumpName(std::uint8_t op) {
    static constexpr const char* kNames[] = {"Call", "GoTo", "CallIf", "GoToIf"};
    return kNames[static_cast<int>(JumpKindOf(op))];
}

std::string JumpOperands(Reader& in, std::uint8_t op, const ListingNames& names) {
    switch (AddressModeOf(op)) {
        case AddressMode::Short: {
            const int offset = in.Byte();
            return Target(names, in.next() + offset - 129);
        }
        case AddressMode::Absolute:
            return Target(names, in.Word());
        case AddressMode::FromX:
            return "X";
        default:
            return Variable(names, in.Byte());
    }
}

std::string DecodeOperands(Reader& in, const OpcodeInfo& info, int address,
                           const ListingNames& names) {
    switch (info.operands) {
        case Operands::None:
            return "";
        case Operands::Byte: {
            const std::uint8_t b = in.Byte();
            if (info.value == kLoadElement || info.value == kStoreElement)
                return Variable(names, b);
            if (info.value == kSkipIfZero)
                return std::to_string(b) + " (to " + std::to_string(in.next() + b) + ")";
            return std::to_string(b);
        }
        case Operands::Word: {
            const int word = in.Word();
            if (info.value == kTimer || info.value == kEvents) return Target(names, word);
            return std::to_string(word);
        }
        case Operands::Single:
            return Number(in.Single());
        case Operands::Var:
            return Variable(names, in.Byte());
        case Operands::PrintList:
            return PrintList(in, names);
        case Operands::Table:
            return Table(in, names);
        case Operands::OnX:
            return OnX(in, names);
        case Operands::Loop:
            return Loop(in, address, names);
        case Operands::Segm: {
            const std::string target = Target(names, in.Word());
            return target + ", return at " + Target(names, in.Word());
        }
        case Operands::Series: {
            const std::string channel = "channel " + std::to_string(in.Byte());
            const std::string first = Variable(names, in.Byte());
            return channel + ", " + first + ".." + Variable(names, in.Byte());
        }
        case Operands::Send: {
            const std::string first = Variable(names, in.Byte());
            return first + ".." + Variable(names, in.Byte());
        }
        case Operands::Jump:
            return "";
    }
    return "";
}

}  // namespace

DecodedInstruction DecodeInstruction(const ProgramImage& image, int address,
                                     const ListingNames& names) {
    DecodedInstruction result;
    result.address = address;
    Reader in(image, address, result);
    const std::uint8_t op = in.Byte();
    if (IsJump(op)) {
        result.name = JumpName(op);
        result.operands = JumpOperands(in, op, names);
    } else if (const OpcodeInfo* info = FindOpcode(op)) {
        result.name = info->name.empty() ? "Nop" : std::string(info->name);
        result.operands = DecodeOperands(in, *info, address, names);
    } else {
        result.name = "?";
    }
    return result;
}

std::vector<DecodedInstruction> DecodeImage(const ProgramImage& image, int first, int end,
                                            const ListingNames& names) {
    std::vector<DecodedInstruction> result;
    for (int address = first; address < end && address <= kProgramSize;) {
        result.push_back(DecodeInstruction(image, address, names));
        address += static_cast<int>(result.back().bytes.size());
    }
    return result;
}

std::string FormatInstruction(const DecodedInstruction& instruction) {
    char address[16];
    std::snprintf(address, sizeof address, "%5d", instruction.address);
    std::string line = std::string(address) + " ";
    for (const std::uint8_t b : instruction.bytes) {
        char hex[4];
        std::snprintf(hex, sizeof hex, " %02X", b);
        line += hex;
    }
    line += "  " + instruction.name;
    if (!instruction.operands.empty()) line += " " + instruction.operands;
    return line;
}

}  // namespace zr::machine
