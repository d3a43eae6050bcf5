// The name table: variables, arrays, labels, data lists and the predeclared
// hardware names of one compile.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zr::compiler {

enum class NameKind : std::uint8_t {
    Single = 0,
    SingleArray = 1,
    Integer = 2,
    IntegerArray = 3,
    Label = 4,     // label or program name: address is a program address
    Hardware = 5,  // PORT, ADC, I2C
    BytesList = 8,
    IntegersList = 9,
    MessagesList = 10,
    Byte = 16,
    ByteArray = 17,
    Stack = 25,
};

struct NameRecord {
    std::string name;  // Windows-1251, case as declared
    NameKind kind = NameKind::Single;
    int address = 0;                // area index, program address, or 124..127 for the predeclared
    int size = 1;                   // element count; 0 for a label; 64 for a data list until placed
    std::string dataText;           // data lists: the rest of the line after "["
    std::int32_t dataPosition = 0;  // data lists: where that text starts
    int sourceIndex = 0;            // 0: main text; k: library k
};

bool IsDataList(NameKind kind);

// The one-byte VariableOperand naming the record's variable (for an array, its
// first element): Single kinds the index, Byte kinds index + 32, Integer kinds,
// hardware names and Stack index + 128.
int VariableOperand(const NameRecord& record);

class NameTable;
// The VariableOperand of `name` (Windows-1251, any case) when it holds one
// value (a Single, Byte or Integer variable, RX, Stack); kNoSuchName, or
// kNotOneValue for an array, a label, a data list or a hardware name.
inline constexpr int kNoSuchName = -1;
inline constexpr int kNotOneValue = -2;
int OneValueOperand(const NameTable& names, std::string_view name);

class NameTable {
  public:
    static constexpr int kCapacity = 512;

    // Empties the table and enters the twelve predeclared names:
    // RX, PORT, ADC, I2C, i..o (Integer 1..7), Stack.
    void Reset();

    // 1-based slot of the first record whose name equals `name` ignoring case, or 0.
    int FindName(std::string_view name) const;
    bool NameExists(std::string_view name) const { return FindName(name) != 0; }

    bool Full() const { return static_cast<int>(records_.size()) >= kCapacity; }
    // Appends a record; returns its slot. The caller checks Full() first.
    int Add(NameRecord record);

    NameRecord& operator[](int slot) { return records_[slot - 1]; }
    const NameRecord& operator[](int slot) const { return records_[slot - 1]; }
    int count() const { return static_cast<int>(records_.size()); }
    const std::vector<NameRecord>& records() const { return records_; }

    // Next free index of each variable area.
    int nextSingle = 1;
    int nextInteger = 8;
    int nextByte = 1;

  private:
    std::vector<NameRecord> records_;
    std::vector<std::string> lowerNames_;  // parallel to records_, for lookups
};

}  // namespace zr::compiler
