#include "shell/debugger/watches_pane.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace zr::shell {
namespace {

const QColor kChangedColour(255, 230, 120);

}  // namespace

WatchesPane::WatchesPane(WatchModel& model, QWidget* parent) : QWidget(parent), model_(model) {
    setObjectName("watchesPane");
    tree_ = new QTreeWidget;
    tree_->setObjectName("watchesTree");
    tree_->setRootIsDecorated(false);
    tree_->setUniformRowHeights(true);
    tree_->setHeaderLabels({tr("Имя"), tr("Значение"), tr("Вид")});
    tree_->header()->setStretchLastSection(true);
    tree_->setContextMenuPolicy(Qt::DefaultContextMenu);
    tree_->viewport()->installEventFilter(this);
    tree_->installEventFilter(this);
    nameField_ = new QLineEdit;
    nameField_->setObjectName("watchName");
    nameField_->setPlaceholderText(tr("Закрепить имя (Enter), например t(2)"));
    unpin_ = new QPushButton(tr("Открепить"));
    unpin_->setObjectName("unpinWatch");
    refusal_ = new QLabel;
    refusal_->setObjectName("watchRefusal");
    refusal_->setWordWrap(true);
    refusal_->setStyleSheet("color: #b00000");
    refusal_->hide();
    // One line of commands, Enter pins: on a short screen the pane shrinks
    // to two rows of watches and that line.
    tree_->setMinimumHeight(fontMetrics().lineSpacing() * 2 + 4);
    auto* commands = new QHBoxLayout;
    commands->setContentsMargins(0, 0, 0, 0);
    commands->addWidget(nameField_, 1);
    commands->addWidget(unpin_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tree_);
    layout->addWidget(refusal_);
    layout->addLayout(commands);

    connect(tree_, &QTreeWidget::itemChanged, this, &WatchesPane::TakeCheck);
    connect(nameField_, &QLineEdit::returnPressed, this, &WatchesPane::PinTypedName);
    connect(nameField_, &QLineEdit::textEdited, refusal_, &QLabel::hide);
    connect(unpin_, &QPushButton::clicked, this, &WatchesPane::UnpinCurrent);
    connect(&model_, &WatchModel::namesChanged, this, &WatchesPane::Rebuild);
    connect(&model_, &WatchModel::listChanged, this, &WatchesPane::FollowList);
    connect(&model_, &WatchModel::valuesChanged, this, &WatchesPane::ShowValues);
    Rebuild();
}

QTreeWidgetItem* WatchesPane::rowNamed(const QString& name) const {
    for (int i = 0; i < tree_->topLevelItemCount(); ++i)
        if (tree_->topLevelItem(i)->text(NameColumn) == name) return tree_->topLevelItem(i);
    return nullptr;
}

bool WatchesPane::IsHighlighted(const QTreeWidgetItem& row) {
    return row.background(ValueColumn).style() != Qt::NoBrush;
}

QString WatchesPane::refusal() const {
    return refusal_->isHidden() ? QString() : refusal_->text();
}

// The same names in the same order: the rows are updated in place (a check
// may come from a row's own click); else they are rebuilt, once the row's
// own signal is over when it came from there.
void WatchesPane::FollowList() {
    bool same = tree_->topLevelItemCount() == model_.watches().size();
    for (int i = 0; same && i < tree_->topLevelItemCount(); ++i)
        same = tree_->topLevelItem(i)->text(NameColumn) == model_.watches()[i];
    if (same) {
        for (int i = 0; i < tree_->topLevelItemCount(); ++i) FillRow(*tree_->topLevelItem(i));
        return;
    }
    if (!takingCheck_) return Rebuild();
    if (rebuildPending_) return;
    rebuildPending_ = true;
    QTimer::singleShot(0, this, [this] {
        rebuildPending_ = false;
        Rebuild();
    });
}

void WatchesPane::Rebuild() {
    {
        const QSignalBlocker quiet(tree_);
        tree_->clear();
        for (const QString& name : model_.watches()) {
            auto* row = new QTreeWidgetItem(tree_, {name});
            FillRow(*row);
        }
    }
    unpin_->setEnabled(!model_.watches().isEmpty());
    tree_->resizeColumnToContents(NameColumn);
    tree_->resizeColumnToContents(ValueColumn);
}

// A name the program lacks stays listed, greyed, for a later program.
void WatchesPane::FillRow(QTreeWidgetItem& row) {
    const QSignalBlocker quiet(tree_);
    const QString name = row.text(NameColumn);
    const VariableRow* variable = model_.RowNamed(name);
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (variable && BreakOperandOf(*variable) >= 0) {
        flags |= Qt::ItemIsUserCheckable;
        row.setCheckState(NameColumn, model_.Breaks(name) ? Qt::Checked : Qt::Unchecked);
        row.setToolTip(NameColumn, tr("Останавливать при изменении"));
    } else {
        row.setData(NameColumn, Qt::CheckStateRole, QVariant());
        row.setToolTip(NameColumn, QString());
    }
    row.setFlags(flags);
    if (!variable) {
        row.setText(ValueColumn, QString());
        row.setText(KindColumn, tr("нет в программе"));
        row.setForeground(NameColumn, palette().brush(QPalette::Disabled, QPalette::Text));
        row.setBackground(ValueColumn, QBrush());
        return;
    }
    row.setForeground(NameColumn, QBrush());
    row.setText(KindColumn, variable->kind.isEmpty() ? tr("элемент массива") : variable->kind);
    const bool changed = variable->cell && model_.Changed(*variable->cell);
    const PausedValues* values = model_.values();
    row.setText(ValueColumn, values ? ValueSummary(*variable, *values) : QString());
    row.setBackground(ValueColumn, changed ? QBrush(kChangedColour) : QBrush());
}

void WatchesPane::ShowValues() {
    for (int i = 0; i < tree_->topLevelItemCount(); ++i) FillRow(*tree_->topLevelItem(i));
    tree_->resizeColumnToContents(ValueColumn);
}

void WatchesPane::TakeCheck(QTreeWidgetItem* row) {
    if (!(row->flags() & Qt::ItemIsUserCheckable)) return;
    takingCheck_ = true;
    model_.SetBreakOnChange(row->text(NameColumn), row->checkState(NameColumn) == Qt::Checked);
    takingCheck_ = false;
}

void WatchesPane::PinTypedName() {
    const QString typed = nameField_->text().trimmed();
    if (typed.isEmpty()) return;
    const VariableRow* variable = model_.RowNamed(typed);
    if (!variable) {
        refusal_->setText(tr("В программе нет имени «%1»").arg(typed));
        refusal_->show();
        return;
    }
    refusal_->hide();
    refusal_->clear();
    nameField_->clear();
    model_.Pin(variable->name);  // as the program spells it
}

void WatchesPane::UnpinCurrent() {
    if (QTreeWidgetItem* row = tree_->currentItem()) model_.Unpin(row->text(NameColumn));
}

QList<QAction*> WatchesPane::ActionsFor(QTreeWidgetItem* row) {
    if (!row) return {};
    const QString name = row->text(NameColumn);
    auto* unpin = new QAction(tr("Открепить"), this);
    connect(unpin, &QAction::triggered, this, [this, name] { model_.Unpin(name); });
    auto* breaks = new QAction(tr("Останавливать при изменении"), this);
    breaks->setCheckable(true);
    breaks->setChecked(model_.Breaks(name));
    const VariableRow* variable = model_.RowNamed(name);
    breaks->setEnabled(variable && BreakOperandOf(*variable) >= 0);
    connect(breaks, &QAction::toggled, this,
            [this, name](bool on) { model_.SetBreakOnChange(name, on); });
    return {unpin, breaks};
}

// The tree's context menu and its Delete key; the unpin waits until the
// tree has finished with the event, as it deletes the row.
bool WatchesPane::eventFilter(QObject* watched, QEvent* event) {
    if (watched == tree_->viewport() && event->type() == QEvent::ContextMenu) {
        auto* menuEvent = static_cast<QContextMenuEvent*>(event);
        const QList<QAction*> actions = ActionsFor(tree_->itemAt(menuEvent->pos()));
        if (actions.isEmpty()) return false;
        QMenu menu(this);
        menu.addActions(actions);
        menu.exec(menuEvent->globalPos());
        qDeleteAll(actions);
        return true;
    }
    if (watched == tree_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        QTimer::singleShot(0, this, &WatchesPane::UnpinCurrent);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace zr::shell
