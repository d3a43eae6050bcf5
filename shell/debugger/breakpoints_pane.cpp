#include "shell/debugger/breakpoints_pane.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace zr::shell {
namespace {

class ShownOnly : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget*, const QStyleOptionViewItem&,
                          const QModelIndex&) const override {
        return nullptr;
    }
};

}  // namespace

BreakpointsPane::BreakpointsPane(QWidget* parent) : QWidget(parent) {
    setObjectName("breakpointsPane");
    tree_ = new QTreeWidget;
    tree_->setObjectName("breakpointsTree");
    tree_->setRootIsDecorated(false);
    tree_->setHeaderLabels({tr("Файл"), tr("Строка"), tr("Условие"), tr("Попадание"), tr("Счёт")});
    tree_->headerItem()->setToolTip(HitCountColumn, tr("Остановка на N-м попадании"));
    tree_->headerItem()->setToolTip(HitsColumn,
                                    tr("Попаданий за этот запуск (на последней паузе)"));
    // The file, the line and the count are shown, not edited: no editor opens there.
    for (const int column : {FileColumn, LineColumn, HitsColumn})
        tree_->setItemDelegateForColumn(column, new ShownOnly(tree_));
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

void BreakpointsPane::SetNames(const compiler::NameTable& names) {
    names_ = names;
    hits_.reset();
    ShowHitsInRows();
}

void BreakpointsPane::ForgetHits() {
    hits_.reset();
    ShowHitsInRows();
}

void BreakpointsPane::ShowHits(const std::vector<BreakpointHits>& hits) {
    hits_ = hits;
    ShowHitsInRows();
}

// In place: the rows stay, only their counts change.
void BreakpointsPane::ShowHitsInRows() {
    if (rebuildPending_) return;  // the rebuild shows them
    for (int row = 0; row < tree_->topLevelItemCount(); ++row)
        FillHits(*tree_->topLevelItem(row), entries_[row].line);
}

void BreakpointsPane::FillHits(QTreeWidgetItem& item, int line) {
    QString text;
    if (hits_) {
        const auto it = std::find_if(hits_->begin(), hits_->end(),
                                     [line](const BreakpointHits& h) { return h.line == line; });
        text = QString::number(it == hits_->end() ? 0 : it->hits);
    }
    const QSignalBlocker quiet(tree_);
    item.setText(HitsColumn, text);
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
    FillHits(item, entry.line);
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
        default:  // the file and line are the gutter's, the count the run's
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
