// Variable access by VariableOperand, the port with its strobe pins, the
// analogue inputs, the I2C buffer, element access and the block transfers.
#include "emulator/conversions.h"
#include "emulator/emulator.h"

namespace zr::emulator {

using namespace machine;

// RX, Bytes, the stack pointer and the hardware (Singles and Integers are
// decided inline in ReadVariable and WriteVariable).
float Emulator::ReadOtherVariable(std::uint8_t operand) {
    const DecodedOperand variable = DecodeVariableOperand(operand);
    switch (variable.area) {
        case VariableArea::RX:
        case VariableArea::Single:
        case VariableArea::Byte:
        case VariableArea::Integer:
        case VariableArea::Stack:
            return machine.StoredValue(variable);
        case VariableArea::Port: {
            SetPin(kPinWE, 1);
            SetPin(kPinCE, 0);
            const std::uint8_t value = ReadPort();
            SetPin(kPinCE, 1);
            return value;
        }
        case VariableArea::Adc:
        case VariableArea::I2C:
            break;
    }
    throw RunFault{kErrorHardwareOperand};  // ADC and I2C are arrays only
}

void Emulator::WriteOtherVariable(std::uint8_t operand, double value) {
    MachineState& m = machine;
    const DecodedOperand variable = DecodeVariableOperand(operand);
    switch (variable.area) {
        case VariableArea::RX:
            m.X() = CheckedFloat(value);
            return;
        case VariableArea::Single:
            m.singles[variable.index] = CheckedFloat(value);
            return;
        case VariableArea::Byte:
            m.bytes[variable.index] = static_cast<std::uint8_t>(ToInt32(value) & 0xFF);
            return;
        case VariableArea::Integer:
            m.integers[variable.index] = ToInt16(value);
            return;
        case VariableArea::Stack:
            m.stackPointer = (ToInt32(value) & 0x0F) + 1;
            return;
        case VariableArea::Port:
            SetPin(kPinWE, 0);
            SetPin(kPinCE, 0);
            WritePort(value);
            SetPin(kPinCE, 1);
            return;
        case VariableArea::Adc:
        case VariableArea::I2C:
            break;
    }
    throw RunFault{kErrorHardwareOperand};
}

void Emulator::PinChanged(int pin, int value) {
    io.pins[pin] = value;
    RequestAttention();  // the loop raises the strobes again
    host_.PinChanged(pin, value);
}

std::uint8_t Emulator::ReadPort() {
    return io.portInputs;
}

void Emulator::WritePort(double value) {
    const std::int32_t bits = ToInt32(value);
    for (int i = 0; i < 8; ++i) SetPin(i, (bits >> i) & 1);
}

float Emulator::ReadAdc(int channel) {
    if (channel < 1 || channel > kAdcChannels) throw RunFault{kErrorHardwareIndex};
    return static_cast<float>(io.adc[channel - 1]);
}

namespace {

// Element I of the stack name: slot StackPointer - I + 1, counted after the
// instruction's own pops; a slot outside the ring is refused.
int StackElementSlot(const MachineState& m, double index) {
    const long slot = m.stackPointer - ToInt32(index) + 1L;
    if (slot < 1 || slot > kValueStackSize) throw RunFault{kErrorStackSlot};
    return static_cast<int>(slot);
}

int I2CElement(double index) {
    const int element = ToByte(index);
    if (element < 1 || element > kI2CSize) throw RunFault{kErrorHardwareIndex};
    return element;
}

// Element I of the variables from operand m on: operand m + I - 1.
std::uint8_t VariableElement(std::uint8_t m, double index) {
    const long operand = m + ToInt32(index) - 1L;
    if (operand < 0 || operand >= 255) throw RunFault{kErrorElementNumber};
    return static_cast<std::uint8_t>(operand);
}

}  // namespace

void Emulator::LoadElement(std::uint8_t area) {
    MachineState& m = machine;
    const float index = m.PopValue();
    switch (area) {
        case kOperandStack:
            m.PushValue(m.valueStack[StackElementSlot(m, index)]);
            return;
        case kOperandAdc:
            m.PushValue(ToInt16(ReadAdc(ToByte(index))));
            return;
        case kOperandI2C:
            m.PushValue(io.i2c[I2CElement(index)]);
            return;
        default:
            m.PushValue(ReadVariable(VariableElement(area, index)));
    }
}

void Emulator::StoreElement(std::uint8_t area) {
    MachineState& m = machine;
    const float index = m.PopValue();
    const float value = m.PopValue();
    switch (area) {
        case kOperandStack:
            m.valueStack[StackElementSlot(m, index)] = value;
            return;
        case kOperandAdc:
            return;  // inputs only: the value is dropped
        case kOperandI2C:
            io.i2c[I2CElement(index)] = static_cast<std::uint8_t>(ToInt32(value) & 0xFF);
            return;
        default:
            WriteVariable(VariableElement(area, index), value);
    }
}

// SERIES: the popped pace count only spends time on the device.
void Emulator::Series() {
    MachineState& m = machine;
    const int channel = m.FetchByte();
    const int first = m.FetchByte();
    const int last = m.FetchByte();
    m.PopValue();
    for (int v = first; v <= last; ++v)
        WriteVariable(static_cast<std::uint8_t>(v), ToInt16(ReadAdc(channel)));
}

// SEND: each variable goes out as one port write with its CE pulse.
void Emulator::Send() {
    MachineState& m = machine;
    const int first = m.FetchByte();
    const int last = m.FetchByte();
    for (int v = first; v <= last; ++v)
        WriteVariable(kOperandPort, ReadVariable(static_cast<std::uint8_t>(v)));
}

}  // namespace zr::emulator
