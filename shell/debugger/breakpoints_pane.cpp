#include "shell/debugger/breakpoints_pane.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace zr::shell {

BreakpointsPane::BreakpointsPane(QWidget* parent) : QWidget(parent) {
    setObjectName("breakpointsPane");
    tree_ = new QTreeWidget;
    tree_->setObjectName("breakpointsTree");
    tree_->setRootIsDecorated(false);
    tree_->setHeaderLabels({tr("Файл"), tr("Строка"), tr("Условие"), tr("Попадание")});
    tree_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // Tabbed with the listing: the pane must not make the window taller.
    tree_->setMinimumHeight(fontMetrics().height() * 2);
    tree_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::SelectedClicked);
    refusal_ = new QLabel;
    refusal_->setObjectName("breakpointRefusal");
    refusal_->setWordWrap(true);
    refusal_->setStyleSheet("color: #b00000");
    refusal_->hide();
    remove_ = new QPushButton(tr("Удалить"));
    remove_->setObjectName("removeBreakpoint");
    removeAll_ = new QPushButton(tr("Удалить все"));
    removeAll_->setObjectName("removeAllBreakpoints");
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addWidget(remove_);
    buttons->addWidget(removeAll_);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tree_);
    layout->addWidget(refusal_);
    layout->addLayout(buttons);

    connect(tree_, &QTreeWidget::itemChanged, this, &BreakpointsPane::TakeEdit);
    connect(remove_, &QPushButton::clicked, this, [this] {
        const int row = tree_->indexOfTopLevelItem(tree_->currentItem());
        if (row >= 0 && row < static_cast<int>(entries_.size()))
            emit removeChosen(entries_[row].line);
    });
    connect(removeAll_, &QPushButton::clicked, this, &BreakpointsPane::removeAllChosen);
    Rebuild();
}

QString BreakpointsPane::refusal() const {
    return refusal_->isHidden() ? QString() : refusal_->text();
}

void BreakpointsPane::Show(const std::vector<BreakpointEntry>& entries, const QString& fileName) {
    const bool sameLines =
        entries.size() == entries_.size() && fileName == fileName_ &&
        std::equal(entries.begin(), entries.end(), entries_.begin(),
                   [](const auto& a, const auto& b) { return a.line == b.line; });
    entries_ = entries;
    fileName_ = fileName;
    if (sameLines && !rebuildPending_) {
        for (int row = 0; row < tree_->topLevelItemCount(); ++row)
            FillRow(*tree_->topLevelItem(row), entries_[row]);
        return;
    }
    if (rebuildPending_) return;
    rebuildPending_ = true;
    QTimer::singleShot(0, this, &BreakpointsPane::Rebuild);
}

void BreakpointsPane::Rebuild() {
    rebuildPending_ = false;
    const QSignalBlocker quiet(tree_);
    tree_->clear();
    for (const BreakpointEntry& entry : entries_) {
        auto* item = new QTreeWidgetItem(tree_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable |
                       Qt::ItemIsEditable);
        FillRow(*item, entry);
    }
    remove_->setEnabled(!entries_.empty());
    removeAll_->setEnabled(!entries_.empty());
}

// Under a blocker: filling a row is no edit of it.
void BreakpointsPane::FillRow(QTreeWidgetItem& item, const BreakpointEntry& entry) {
    const QSignalBlocker quiet(tree_);
    item.setText(FileColumn, fileName_.isEmpty() ? tr("(без имени)") : fileName_);
    item.setCheckState(FileColumn, entry.enabled ? Qt::Checked : Qt::Unchecked);
    item.setText(LineColumn, QString::number(entry.line));
    item.setText(ConditionColumn, entry.condition);
    item.setText(HitCountColumn, HitCountText(entry.hitCount));
}

// The row stays (the gutter's answer comes back through Show, in place).
void BreakpointsPane::TakeEdit(QTreeWidgetItem* item, int column) {
    const int row = tree_->indexOfTopLevelItem(item);
    if (row < 0 || row >= static_cast<int>(entries_.size())) return;
    BreakpointEntry entry = entries_[row];
    switch (column) {
        case FileColumn:
            entry.enabled = item->checkState(FileColumn) == Qt::Checked;
            break;
        case ConditionColumn: {
            const QString condition = item->text(ConditionColumn).trimmed();
            const QString refusal = ConditionRefusal(condition, names_);
            if (!refusal.isEmpty()) return Refuse(*item, refusal);
            entry.condition = condition;
            break;
        }
        case HitCountColumn: {
            const int hitCount = HitCountOf(item->text(HitCountColumn));
            if (hitCount < 0)
                return Refuse(*item, tr("Попадание — целое число от 1: остановка на N-м попадании "
                                        "(пусто — на каждом)"));
            entry.hitCount = hitCount;
            break;
        }
        default:  // the file and line are the gutter's
            FillRow(*item, entries_[row]);
            return;
    }
    refusal_->hide();
    refusal_->clear();
    if (entry == entries_[row]) return FillRow(*item, entry);
    emit breakpointChanged(entry);
}

void BreakpointsPane::Refuse(QTreeWidgetItem& item, const QString& message) {
    refusal_->setText(message);
    refusal_->show();
    FillRow(item, entries_[tree_->indexOfTopLevelItem(&item)]);
}

}  // namespace zr::shell
