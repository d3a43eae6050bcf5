#include "shell/debugger/variables_pane.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QPoint>
#include <QTimer>

namespace zr::shell {
namespace {

using machine::DecodedOperand;
using machine::VariableArea;
constexpr int kCellRole = Qt::UserRole;       // where a row's value is
constexpr int kWatchRole = Qt::UserRole + 1;  // on a pinned row: true

QVariant CellOf(DecodedOperand variable) {
    return QPoint(static_cast<int>(variable.area), variable.index);
}

DecodedOperand VariableOf(const QVariant& cell) {
    const QPoint point = cell.toPoint();
    return {static_cast<VariableArea>(point.x()), point.y()};
}

const QColor kChangedColour(255, 230, 120);

QTreeWidgetItem* ItemOf(const VariableRow& row) {
    auto* item = new QTreeWidgetItem({row.name, QString(), row.kind, row.address});
    if (row.cell) item->setData(VariablesPane::kValue, kCellRole, CellOf(*row.cell));
    return item;
}

}  // namespace

VariablesPane::VariablesPane(QWidget* parent) : QTreeWidget(parent) {
    setObjectName("variablesPane");
    setHeaderLabels({tr("Имя"), tr("Значение"), tr("Вид"), tr("Адрес")});
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    header()->setStretchLastSection(true);
    connect(this, &QTreeWidget::itemChanged, this, &VariablesPane::TakeWatchCheck);
    connect(&model_, &WatchModel::namesChanged, this, &VariablesPane::BuildRows);
    connect(&model_, &WatchModel::valuesChanged, this, &VariablesPane::ShowValuesInRows);
    connect(&model_, &WatchModel::listChanged, this, &VariablesPane::FollowWatches);
    connect(&model_, &WatchModel::watchesChanged, this, &VariablesPane::watchesChanged);
    connect(&model_, &WatchModel::dataBreakpointsChanged, this,
            &VariablesPane::dataBreakpointsChanged);
}

void VariablesPane::ShowValues(const emulator::MachineState& machine, const emulator::IoModel& io,
                               char decimalSeparator) {
    model_.ShowPause({machine, io, decimalSeparator});
}

// A new program's rows; the watches follow through listChanged.
void VariablesPane::BuildRows() {
    const QSignalBlocker quiet(this);
    clear();
    stack_ = new QTreeWidgetItem(this, {tr("Стек значений")});
    for (const VariableRow& row : model_.rows()) {
        QTreeWidgetItem* item = ItemOf(row);
        for (const VariableRow& element : row.elements) item->addChild(ItemOf(element));
        addTopLevelItem(item);
    }
    resizeColumnToContents(kName);
}

void VariablesPane::ShowValuesInRows() {
    const PausedValues* values = model_.values();
    if (!values) return;
    const QSignalBlocker quiet(this);
    qDeleteAll(stack_->takeChildren());
    for (const StackRow& row : StackRowsOf(*values))
        new QTreeWidgetItem(stack_, {row.name, row.value});
    stack_->setText(kValue, QString::number(values->machine.stackPointer - 1));

    auto show = [&](QTreeWidgetItem* item) {
        const QVariant cell = item->data(kValue, kCellRole);
        if (!cell.isValid()) return;
        const bool changed = model_.Changed(VariableOf(cell));
        item->setText(kValue, model_.ValueText(VariableOf(cell)));
        item->setBackground(kValue, changed ? QBrush(kChangedColour) : QBrush());
        if (changed && item->parent()) item->parent()->setBackground(kValue, kChangedColour);
    };
    for (int i = 0; i < topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = topLevelItem(i);
        if (item != stack_ && item->childCount() > 0) item->setBackground(kValue, QBrush());
        show(item);
        for (int k = 0; k < item->childCount(); ++k) show(item->child(k));
    }
    resizeColumnToContents(kValue);
}

QTreeWidgetItem* VariablesPane::itemNamed(const QString& name) const {
    for (QTreeWidgetItem* item : findItems(name, Qt::MatchFixedString | Qt::MatchRecursive, kName))
        if (!item->data(kName, kWatchRole).toBool() && item->parent() != stack_) return item;
    return nullptr;
}

QTreeWidgetItem* VariablesPane::watchNamed(const QString& name) const {
    for (QTreeWidgetItem* item : findItems(name, Qt::MatchFixedString, kName))
        if (item->data(kName, kWatchRole).toBool()) return item;
    return nullptr;
}

const VariableRow* VariablesPane::RowOf(const QTreeWidgetItem& item) const {
    if (&item == stack_ || item.parent() == stack_) return nullptr;
    return model_.RowNamed(item.text(kName));
}

// The pinned rows as the model has them: the same names in the same order
// are updated in place (a check may come from a row's own click); others
// are rebuilt, once the row's own signal is over when it came from there.
void VariablesPane::FollowWatches() {
    QStringList shown;
    for (int i = 0; i < topLevelItemCount() && topLevelItem(i)->data(kName, kWatchRole).toBool();
         ++i)
        shown << topLevelItem(i)->text(kName);
    QStringList wanted;
    for (const QString& name : model_.watches())
        if (model_.RowNamed(name)) wanted << name;
    if (shown != wanted) {
        if (!takingCheck_) return RebuildWatches();
        if (!rebuildPending_) {
            rebuildPending_ = true;
            QTimer::singleShot(0, this, [this] {
                rebuildPending_ = false;
                RebuildWatches();
            });
        }
        return;
    }
    const QSignalBlocker quiet(this);
    for (int i = 0; i < shown.size(); ++i) {
        QTreeWidgetItem* watch = topLevelItem(i);
        if (watch->flags() & Qt::ItemIsUserCheckable)
            watch->setCheckState(kName, model_.Breaks(shown[i]) ? Qt::Checked : Qt::Unchecked);
    }
}

// The pinned rows copy their variable's row, value included, above the list.
void VariablesPane::RebuildWatches() {
    const QSignalBlocker quiet(this);
    for (int i = topLevelItemCount() - 1; i >= 0; --i)
        if (topLevelItem(i)->data(kName, kWatchRole).toBool()) delete takeTopLevelItem(i);
    int row = 0;
    for (const QString& name : model_.watches()) {
        const QTreeWidgetItem* source = itemNamed(name);
        if (!source) continue;  // gone from the program; kept should it come back
        auto* watch = source->clone();
        qDeleteAll(watch->takeChildren());
        watch->setData(kName, kWatchRole, true);
        if (const VariableRow* variable = RowOf(*source);
            variable && BreakOperandOf(*variable) >= 0) {
            watch->setFlags(watch->flags() | Qt::ItemIsUserCheckable);
            watch->setCheckState(kName, model_.Breaks(name) ? Qt::Checked : Qt::Unchecked);
            watch->setToolTip(kName, tr("Останавливать при изменении"));
        }
        insertTopLevelItem(row++, watch);
    }
}

// The check box of a pinned row. Qt is still handling the click on that row
// when this runs: the row must outlive it (see FollowWatches).
void VariablesPane::TakeWatchCheck(QTreeWidgetItem* item) {
    if (!item->data(kName, kWatchRole).toBool() || !(item->flags() & Qt::ItemIsUserCheckable))
        return;
    takingCheck_ = true;
    model_.SetBreakOnChange(item->text(kName), item->checkState(kName) == Qt::Checked);
    takingCheck_ = false;
}

QList<QAction*> VariablesPane::ActionsFor(QTreeWidgetItem* item) {
    const VariableRow* row = item ? RowOf(*item) : nullptr;
    if (!row || !row->cell) return {};
    const QString name = item->text(kName);
    const bool pinned = model_.watches().contains(name);
    auto* pin = new QAction(pinned ? tr("Открепить") : tr("Закрепить наверху"), this);
    connect(pin, &QAction::triggered, this, [this, name, pinned] {
        if (pinned) {
            model_.Unpin(name);
        } else {
            model_.Pin(name);
        }
    });
    auto* breaks = new QAction(tr("Останавливать при изменении"), this);
    breaks->setCheckable(true);
    breaks->setChecked(model_.Breaks(name));
    breaks->setEnabled(BreakOperandOf(*row) >= 0);
    connect(breaks, &QAction::toggled, this,
            [this, name](bool on) { model_.SetBreakOnChange(name, on); });
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
