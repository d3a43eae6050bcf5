#include "compiler/listing_names.h"

#include <map>
#include <memory>

#include "machine/cp1251.h"

namespace zr::compiler {
namespace {

bool IsVariable(NameKind kind) {
    switch (kind) {
        case NameKind::Single:
        case NameKind::SingleArray:
        case NameKind::Integer:
        case NameKind::IntegerArray:
        case NameKind::Byte:
        case NameKind::ByteArray:
        case NameKind::Hardware:
        case NameKind::Stack:
            return true;
        default:
            return false;
    }
}

bool IsArray(NameKind kind) {
    return kind == NameKind::SingleArray || kind == NameKind::IntegerArray ||
           kind == NameKind::ByteArray;
}

}  // namespace

machine::ListingNames ListingNamesOf(const NameTable& names) {
    auto variables = std::make_shared<std::map<int, std::string>>();
    auto labels = std::make_shared<std::map<int, std::string>>();
    for (const NameRecord& record : names.records()) {
        const std::string name = machine::Cp1251ToUtf8(record.name);
        if (record.kind == NameKind::Label) {
            labels->emplace(record.address, name);  // the first name of an address wins
        } else if (IsVariable(record.kind)) {
            const int operand = VariableOperand(record);
            if (IsArray(record.kind)) {
                for (int k = 0; k < record.size && operand + k <= 255; ++k)
                    variables->emplace(operand + k, name + "(" + std::to_string(k + 1) + ")");
            } else {
                variables->emplace(operand, name);
            }
        }
    }
    machine::ListingNames result;
    result.variable = [variables](std::uint8_t operand) {
        const auto found = variables->find(operand);
        return found == variables->end() ? std::string() : found->second;
    };
    result.label = [labels](int address) {
        const auto found = labels->find(address);
        return found == labels->end() ? std::string() : found->second;
    };
    return result;
}

}  // namespace zr::compiler
