#include "shell/debugger/variables_pane.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QPoint>

#include "emulator/number_text.h"
#include "machine/image.h"
#include "shell/device/device_text.h"

namespace zr::shell {
namespace {

using compiler::NameKind;

// Which variable an item shows: an area of the machine's VariableOperand
// layout and the index in it (an ADC channel 0..3, an I2C element 1..128).
using machine::DecodedOperand;
using machine::VariableArea;
constexpr int kCellRole = Qt::UserRole;
constexpr int kWatchRole = Qt::UserRole + 1;  // on a pinned row: true

QVariant CellOf(DecodedOperand variable) {
    return QPoint(static_cast<int>(variable.area), variable.index);
}

DecodedOperand VariableOf(const QVariant& cell) {
    const QPoint point = cell.toPoint();
    return {static_cast<VariableArea>(point.x()), point.y()};
}

// Straight from the model: the pane reads no hardware.
float ValueOf(DecodedOperand variable, const emulator::MachineState& m,
              const emulator::IoModel& io) {
    switch (variable.area) {
        case VariableArea::Port:
            return io.portInputs;
        case VariableArea::Adc:
            return static_cast<float>(io.adc.at(variable.index));
        case VariableArea::I2C:
            return io.i2c.at(variable.index);
        default:
            return m.StoredValue(variable);
    }
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

const QColor kChangedColour(255, 230, 120);

}  // namespace

VariablesPane::VariablesPane(QWidget* parent) : QTreeWidget(parent) {
    setObjectName("variablesPane");
    setHeaderLabels({tr("Имя"), tr("Значение"), tr("Вид"), tr("Адрес")});
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    header()->setStretchLastSection(true);
    connect(this, &QTreeWidget::itemChanged, this, &VariablesPane::TakeWatchCheck);
}

void VariablesPane::SetNames(const compiler::NameTable& names) {
    clear();
    shownBefore_ = false;
    stack_ = new QTreeWidgetItem(this, {tr("Стек значений")});
    for (const compiler::NameRecord& record : names.records()) {
        const KindFacts facts = FactsOf(record);
        // RX is the X register, shown with the stack.
        if (!facts.shown || record.name == "RX") continue;
        const QString name = FromDevice(record.name);
        auto* item = new QTreeWidgetItem(this);
        item->setText(kName, name);
        item->setText(kKind, facts.array ? tr(facts.arrayText).arg(record.size) : tr(facts.text));
        item->setText(kAddress, QString::number(record.address));
        if (!facts.array) {
            item->setData(kValue, kCellRole, CellOf({facts.area, record.address}));
            continue;
        }
        // Elements count from 1; ADC channels and I2C elements are their own
        // indexes, the others follow the first element's area index.
        for (int element = 1; element <= record.size; ++element) {
            const int index = facts.area == VariableArea::Adc   ? element - 1
                              : facts.area == VariableArea::I2C ? element
                                                                : record.address + element - 1;
            auto* child = new QTreeWidgetItem(item, {QString("%1(%2)").arg(name).arg(element)});
            child->setText(kAddress, QString::number(index));
            child->setData(kValue, kCellRole, CellOf({facts.area, index}));
        }
    }
    RebuildWatches();
    resizeColumnToContents(kName);
}

void VariablesPane::ShowValues(const emulator::MachineState& machine, const emulator::IoModel& io,
                               char decimalSeparator) {
    // The stack: X on top, then Y, Z, T and the deeper slots by number.
    const QStringList registers = {"X", "Y", "Z", "T"};
    qDeleteAll(stack_->takeChildren());
    for (int slot = machine.stackPointer, depth = 0; slot >= 1; --slot, ++depth) {
        auto* item = new QTreeWidgetItem(
            stack_, {depth < registers.size() ? registers[depth] : QString::number(depth + 1)});
        item->setText(kValue, QString::fromStdString(emulator::FormatDecimal(
                                  machine.valueStack[slot], decimalSeparator)));
    }
    stack_->setText(kValue, QString::number(machine.stackPointer - 1));

    auto show = [&](QTreeWidgetItem* item) {
        const QVariant cell = item->data(kValue, kCellRole);
        if (!cell.isValid()) return;
        const QString text = QString::fromStdString(
            emulator::FormatDecimal(ValueOf(VariableOf(cell), machine, io), decimalSeparator));
        const bool changed = shownBefore_ && item->text(kValue) != text;
        item->setText(kValue, text);
        item->setBackground(kValue, changed ? QBrush(kChangedColour) : QBrush());
        if (changed && item->parent()) item->parent()->setBackground(kValue, kChangedColour);
    };
    for (int i = 0; i < topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = topLevelItem(i);
        if (item != stack_ && item->childCount() > 0) item->setBackground(kValue, QBrush());
        show(item);
        for (int k = 0; k < item->childCount(); ++k) show(item->child(k));
    }
    shownBefore_ = true;
    resizeColumnToContents(kValue);
}

QTreeWidgetItem* VariablesPane::itemNamed(const QString& name) const {
    for (QTreeWidgetItem* item : findItems(name, Qt::MatchFixedString | Qt::MatchRecursive, kName))
        if (!item->data(kName, kWatchRole).toBool()) return item;
    return nullptr;
}

QTreeWidgetItem* VariablesPane::watchNamed(const QString& name) const {
    for (QTreeWidgetItem* item : findItems(name, Qt::MatchFixedString, kName))
        if (item->data(kName, kWatchRole).toBool()) return item;
    return nullptr;
}

int VariablesPane::OperandOf(const QTreeWidgetItem& item) {
    const QVariant cell = item.data(kValue, kCellRole);
    if (!cell.isValid()) return -1;
    const DecodedOperand variable = VariableOf(cell);
    switch (variable.area) {
        case VariableArea::Single:
        case VariableArea::Byte:
        case VariableArea::Integer:
        case VariableArea::Stack:
            return machine::VariableOperandOf(variable);
        default:
            return -1;
    }
}

WatchList VariablesPane::watchList() const {
    WatchList list{watches_, {}};
    for (const QString& name : watches_)
        if (breakOnChange_.contains(name)) list.breaking.append(name);
    return list;
}

void VariablesPane::SetWatchList(const WatchList& list) {
    watches_ = list.names;
    watches_.removeDuplicates();
    breakOnChange_.clear();
    for (const QString& name : list.breaking)
        if (watches_.contains(name)) breakOnChange_.insert(name);
    RebuildWatches();
}

void VariablesPane::PinWatch(const QString& name) {
    if (watches_.contains(name) || !itemNamed(name)) return;
    watches_.append(name);
    RebuildWatches();
    emit watchesChanged();
}

void VariablesPane::UnpinWatch(const QString& name) {
    if (!watches_.removeAll(name)) return;
    const bool wasBreaking = breakOnChange_.remove(name);
    RebuildWatches();
    emit watchesChanged();
    if (wasBreaking) emit dataBreakpointsChanged();
}

void VariablesPane::SetBreakOnChange(const QString& name, bool on) {
    if (on == breakOnChange_.contains(name)) return;
    const QTreeWidgetItem* item = itemNamed(name);
    if (on && (!item || OperandOf(*item) < 0)) return;
    if (on) {
        breakOnChange_.insert(name);
        if (!watches_.contains(name)) watches_.append(name);
    } else {
        breakOnChange_.remove(name);
    }
    RebuildWatches();
    emit watchesChanged();
    emit dataBreakpointsChanged();
}

std::vector<int> VariablesPane::dataBreakpointOperands() const {
    std::vector<int> operands;
    for (const QString& name : watches_)
        if (const QTreeWidgetItem* item = itemNamed(name);
            item && breakOnChange_.contains(name) && OperandOf(*item) >= 0)
            operands.push_back(OperandOf(*item));
    return operands;
}

QString VariablesPane::breakingWatchOf(int operand) const {
    for (const QString& name : watches_)
        if (const QTreeWidgetItem* item = itemNamed(name);
            item && breakOnChange_.contains(name) && OperandOf(*item) == operand)
            return name;
    return {};
}

// The pinned rows copy their variable's row, value included, above the list.
void VariablesPane::RebuildWatches() {
    const QSignalBlocker quiet(this);
    for (int i = topLevelItemCount() - 1; i >= 0; --i)
        if (topLevelItem(i)->data(kName, kWatchRole).toBool()) delete takeTopLevelItem(i);
    int row = 0;
    for (const QString& name : watches_) {
        const QTreeWidgetItem* source = itemNamed(name);
        if (!source) continue;  // gone from the program; kept should it come back
        auto* watch = source->clone();
        qDeleteAll(watch->takeChildren());
        watch->setData(kName, kWatchRole, true);
        if (OperandOf(*source) >= 0) {
            watch->setFlags(watch->flags() | Qt::ItemIsUserCheckable);
            watch->setCheckState(kName,
                                 breakOnChange_.contains(name) ? Qt::Checked : Qt::Unchecked);
            watch->setToolTip(kName, tr("Останавливать при изменении"));
        }
        insertTopLevelItem(row++, watch);
    }
}

// The check box of a pinned row. Qt is still handling the click on that row
// when this runs, so the row is kept and only the state behind it changes:
// rebuilding the rows here would delete the item under Qt's feet.
void VariablesPane::TakeWatchCheck(QTreeWidgetItem* item) {
    if (!item->data(kName, kWatchRole).toBool() || !(item->flags() & Qt::ItemIsUserCheckable))
        return;
    const QString name = item->text(kName);
    const bool on = item->checkState(kName) == Qt::Checked;
    if (on == breakOnChange_.contains(name)) return;
    if (on)
        breakOnChange_.insert(name);
    else
        breakOnChange_.remove(name);
    emit watchesChanged();
    emit dataBreakpointsChanged();
}

QList<QAction*> VariablesPane::ActionsFor(QTreeWidgetItem* item) {
    if (!item || !item->data(kValue, kCellRole).isValid()) return {};
    const QString name = item->text(kName);
    auto* pin =
        new QAction(watches_.contains(name) ? tr("Открепить") : tr("Закрепить наверху"), this);
    connect(pin, &QAction::triggered, this, [this, name] {
        if (watches_.contains(name)) {
            UnpinWatch(name);
        } else {
            PinWatch(name);
        }
    });
    auto* breaks = new QAction(tr("Останавливать при изменении"), this);
    breaks->setCheckable(true);
    breaks->setChecked(breakOnChange_.contains(name));
    breaks->setEnabled(OperandOf(*item) >= 0);
    connect(breaks, &QAction::toggled, this, [this, name](bool on) { SetBreakOnChange(name, on); });
    return {pin, breaks};
}

void VariablesPane::contextMenuEvent(QContextMenuEvent* event) {
    const QList<QAction*> actions = ActionsFor(itemAt(event->pos()));
    if (actions.isEmpty()) return;
    QMenu menu(this);
    menu.addActions(actions);
    menu.exec(event->globalPos());
    qDeleteAll(actions);
}

bool VariablesPane::IsHighlighted(const QTreeWidgetItem& item) {
    return item.background(kValue).style() != Qt::NoBrush;
}

}  // namespace zr::shell
