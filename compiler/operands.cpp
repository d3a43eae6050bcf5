// Operands: a declared name standing alone (load), "mv" / "->" and a name
// (store), and the parenthesised index behind an array-like name.
#include "compiler/compiler.h"
#include "compiler/messages.h"
#include "machine/numbers.h"
#include "machine/opcodes.h"

namespace zr::compiler {

// The element count an access uses: the record's size, except that Stack
// followed by "(" addresses one of the 16 value-stack slots.
int Compiler::ElementCount(const NameRecord& record) const {
    if (record.kind == NameKind::Stack) return PeekNext() == "(" ? 16 : 1;
    return record.size;
}

// "(" index ")": a constant (PushByte, checked against the element count) or a
// Single or Integer variable (iM, not checked).
bool Compiler::CompileArrayIndex(int elementCount) {
    if (Next() != "(") return Fail(messages::kArrayExpected);
    const std::string index = Next();
    if (machine::IsNumericText(index)) {
        Emit(machine::kPushByte);
        const auto value = machine::RoundToRange(machine::ReadNumber(index), 1, elementCount);
        if (!value) return Fail(messages::kBadArrayIndex);
        Emit(static_cast<int>(*value));
    } else {
        const int slot = LookUpName(index);
        if (slot == 0 || names[slot].kind == NameKind::Label) return Fail(messages::kSyntaxError);
        const NameRecord& record = names[slot];
        if (record.kind != NameKind::Single && record.kind != NameKind::Integer)
            return Fail(messages::kSimpleVariableOrConstant);
        Emit(machine::kiM);
        Emit(VariableOperand(record));
    }
    if (Next() != ")") return Fail(messages::kSyntaxError);
    return true;
}

// A declared name as a statement: push the variable (iM, or LoadIndirect for
// "name@"), an element (index, LoadElement), or a data-list element (index,
// then a call of the list, whose address is filled in once the lists are placed).
bool Compiler::CompileLoad(const std::string& word) {
    std::string name = word;
    const bool indirect = name.size() > 1 && name.back() == '@';
    if (indirect) name.pop_back();

    const int slot = LookUpName(name);
    if (slot == 0 || names[slot].kind == NameKind::Label) return Fail(messages::kSyntaxError);
    const NameRecord& record = names[slot];

    if (IsDataList(record.kind)) {
        if (!CompileArrayIndex(record.size)) return false;
        Emit(machine::kCallBase | static_cast<int>(machine::AddressMode::Absolute));
        AddForwardReference(record.name, ForwardReference::kAbsolute, compileAddress);
        EmitInteger(0);
        return true;
    }
    const int operand = VariableOperand(record);
    const int count = ElementCount(record);
    if (count == 1) {
        Emit(indirect ? machine::kLoadIndirect : machine::kiM);
        Emit(operand);
        return true;
    }
    if (!CompileArrayIndex(count)) return false;
    Emit(machine::kLoadElement);
    Emit(operand);
    return true;
}

// "mv" or "->" name: pop X into the variable (Mv, or StoreIndirect for
// "name@") or into an element (index, StoreElement).
bool Compiler::CompileStore(const std::string&) {
    std::string name = Next();
    const bool indirect = name.size() > 1 && name.back() == '@';
    if (indirect) name.pop_back();

    const int slot = LookUpName(name);
    if (slot == 0) return Fail(messages::kUnknownDataType);
    const NameRecord& record = names[slot];
    if (record.kind == NameKind::Label) return Fail(messages::kSyntaxError);

    const int operand = VariableOperand(record);
    const int count = ElementCount(record);
    if (count == 1) {
        Emit(indirect ? machine::kStoreIndirect : machine::kMv);
        Emit(operand);
        return true;
    }
    if (!CompileArrayIndex(count)) return false;
    Emit(machine::kStoreElement);
    Emit(operand);
    return true;
}

}  // namespace zr::compiler
