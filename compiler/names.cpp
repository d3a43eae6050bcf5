#include "compiler/names.h"

#include "machine/cp1251.h"
#include "machine/image.h"

namespace zr::compiler {

bool IsDataList(NameKind kind) {
    return kind == NameKind::BytesList || kind == NameKind::IntegersList ||
           kind == NameKind::MessagesList;
}

int VariableOperand(const NameRecord& record) {
    switch (record.kind) {
        case NameKind::Integer:
        case NameKind::IntegerArray:
        case NameKind::Hardware:
        case NameKind::Stack:
            return record.address + machine::kIntegerOperandBase;
        case NameKind::Byte:
        case NameKind::ByteArray:
            return record.address + machine::kByteOperandBase;
        default:
            return record.address;
    }
}

int OneValueOperand(const NameTable& names, std::string_view name) {
    const int slot = names.FindName(name);
    if (slot == 0) return kNoSuchName;
    const NameRecord& record = names[slot];
    switch (record.kind) {
        case NameKind::Single:
        case NameKind::Integer:
        case NameKind::Byte:
        case NameKind::Stack:
            return VariableOperand(record);
        default:
            return kNotOneValue;
    }
}

void NameTable::Reset() {
    records_.clear();
    lowerNames_.clear();
    Add({"RX", NameKind::Single, 0, 1});
    Add({"PORT", NameKind::Hardware, 125, 1});
    Add({"ADC", NameKind::Hardware, 126, 4});
    Add({"I2C", NameKind::Hardware, 127, 128});
    const char* loopVariables[] = {"i", "j", "k", "l", "m", "n", "o"};
    for (int index = 1; index <= 7; ++index)
        Add({loopVariables[index - 1], NameKind::Integer, index, 1});
    Add({"Stack", NameKind::Stack, 124, 1});
    nextSingle = 1;
    nextInteger = 8;
    nextByte = 1;
}

int NameTable::FindName(std::string_view name) const {
    const std::string lower = machine::LowerCase(name);
    for (std::size_t i = 0; i < lowerNames_.size(); ++i)
        if (lowerNames_[i] == lower) return static_cast<int>(i) + 1;
    return 0;
}

int NameTable::Add(NameRecord record) {
    lowerNames_.push_back(machine::LowerCase(record.name));
    records_.push_back(std::move(record));
    return static_cast<int>(records_.size());
}

}  // namespace zr::compiler
