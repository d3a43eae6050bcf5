#include "shell/debugger/variable_rows.h"

#include <QCoreApplication>
#include <QStringList>

#include "emulator/number_text.h"
#include "shell/device/device_text.h"

namespace zr::shell {
namespace {

using compiler::NameKind;
using machine::DecodedOperand;
using machine::VariableArea;

QString Translated(const char* text) {
    return QCoreApplication::translate("VariablesPane", text);
}

// The kind as the pane shows it: in words, with the declaring keyword.
struct KindFacts {
    bool shown = false;
    VariableArea area = VariableArea::RX;
    const char* text = "";       // one value
    const char* arrayText = "";  // an array, with %1 for its size
    bool array = false;
};

KindFacts FactsOf(const compiler::NameRecord& record) {
    constexpr const char* kSingle = QT_TRANSLATE_NOOP("VariablesPane", "вещественная (Single)");
    constexpr const char* kSingles =
        QT_TRANSLATE_NOOP("VariablesPane", "массив вещественных (Single) из %1");
    constexpr const char* kInteger = QT_TRANSLATE_NOOP("VariablesPane", "целая (Integer)");
    constexpr const char* kIntegers =
        QT_TRANSLATE_NOOP("VariablesPane", "массив целых (Integer) из %1");
    constexpr const char* kByte = QT_TRANSLATE_NOOP("VariablesPane", "байт (Byte)");
    constexpr const char* kBytes = QT_TRANSLATE_NOOP("VariablesPane", "массив байтов (Byte) из %1");
    switch (record.kind) {
        case NameKind::Single:
            return {true, VariableArea::Single, kSingle, kSingles};
        case NameKind::SingleArray:
            return {true, VariableArea::Single, kSingle, kSingles, true};
        case NameKind::Integer:
            return {true, VariableArea::Integer, kInteger, kIntegers};
        case NameKind::IntegerArray:
            return {true, VariableArea::Integer, kInteger, kIntegers, true};
        case NameKind::Byte:
            return {true, VariableArea::Byte, kByte, kBytes};
        case NameKind::ByteArray:
            return {true, VariableArea::Byte, kByte, kBytes, true};
        case NameKind::Stack:
            return {true, VariableArea::Stack,
                    QT_TRANSLATE_NOOP("VariablesPane", "указатель стека")};
        case NameKind::Hardware:
            if (record.name == "PORT")
                return {true, VariableArea::Port,
                        QT_TRANSLATE_NOOP("VariablesPane", "порт (PORT)")};
            if (record.name == "ADC")
                return {true, VariableArea::Adc, "",
                        QT_TRANSLATE_NOOP("VariablesPane", "входы АЦП (ADC): %1"), true};
            return {true, VariableArea::I2C, "",
                    QT_TRANSLATE_NOOP("VariablesPane", "ячейки I2C: %1"), true};
        default:
            return {};
    }
}

float ValueOf(DecodedOperand cell, const PausedValues& values) {
    switch (cell.area) {
        case VariableArea::Port:
            return values.io.portInputs;
        case VariableArea::Adc:
            return static_cast<float>(values.io.adc.at(cell.index));
        case VariableArea::I2C:
            return values.io.i2c.at(cell.index);
        default:
            return values.machine.StoredValue(cell);
    }
}

QString NumberText(float value, char decimalSeparator) {
    return QString::fromStdString(emulator::FormatDecimal(value, decimalSeparator));
}

}  // namespace

std::vector<VariableRow> VariableRowsOf(const compiler::NameTable& names) {
    std::vector<VariableRow> rows;
    for (const compiler::NameRecord& record : names.records()) {
        const KindFacts facts = FactsOf(record);
        if (!facts.shown || record.name == "RX") continue;
        VariableRow row;
        row.name = FromDevice(record.name);
        row.kind =
            facts.array ? Translated(facts.arrayText).arg(record.size) : Translated(facts.text);
        row.address = QString::number(record.address);
        if (!facts.array) {
            row.cell = DecodedOperand{facts.area, record.address};
            rows.push_back(std::move(row));
            continue;
        }
        // Elements count from 1; ADC channels and I2C elements are their own
        // indexes, the others follow the first element's area index.
        for (int element = 1; element <= record.size; ++element) {
            const int index = facts.area == VariableArea::Adc   ? element - 1
                              : facts.area == VariableArea::I2C ? element
                                                                : record.address + element - 1;
            row.elements.push_back({QString("%1(%2)").arg(row.name).arg(element),
                                    {},
                                    QString::number(index),
                                    DecodedOperand{facts.area, index},
                                    {}});
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

const VariableRow* FindVariableRow(const std::vector<VariableRow>& rows, const QString& name) {
    for (const VariableRow& row : rows) {
        if (row.name.compare(name, Qt::CaseInsensitive) == 0) return &row;
        if (const VariableRow* element = FindVariableRow(row.elements, name)) return element;
    }
    return nullptr;
}

QString ValueText(DecodedOperand cell, const PausedValues& values) {
    return NumberText(ValueOf(cell, values), values.decimalSeparator);
}

QString ValueSummary(const VariableRow& row, const PausedValues& values) {
    if (row.cell) return ValueText(*row.cell, values);
    constexpr std::size_t kShownElements = 8;
    QStringList elements;
    for (std::size_t i = 0; i < std::min(row.elements.size(), kShownElements); ++i)
        elements << ValueSummary(row.elements[i], values);
    if (row.elements.size() > kShownElements) elements << "…";
    return elements.join("; ");
}

int BreakOperandOf(const VariableRow& row) {
    if (!row.cell) return -1;
    switch (row.cell->area) {
        case VariableArea::Single:
        case VariableArea::Byte:
        case VariableArea::Integer:
        case VariableArea::Stack:
            return machine::VariableOperandOf(*row.cell);
        default:
            return -1;
    }
}

std::vector<StackRow> StackRowsOf(const PausedValues& values) {
    const QStringList registers = {"X", "Y", "Z", "T"};
    const emulator::MachineState& m = values.machine;
    std::vector<StackRow> rows;
    for (int slot = m.stackPointer, depth = 0; slot >= 1; --slot, ++depth)
        rows.push_back({depth < registers.size() ? registers[depth] : QString::number(depth + 1),
                        NumberText(m.valueStack[slot], values.decimalSeparator)});
    return rows;
}

}  // namespace zr::shell
