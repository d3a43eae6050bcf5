#include "shell/editor/place_list_pane.h"

#include <QHeaderView>
#include <QTreeWidget>

namespace zr::shell {

PlaceListPane::PlaceListPane(const QString& title, const QStringList& headers, bool goOnClick,
                             QWidget* parent)
    : QDockWidget(title, parent), list_(new QTreeWidget(this)) {
    list_->setHeaderLabels(headers);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->header()->setStretchLastSection(true);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWidget(list_);
    connect(list_, &QTreeWidget::itemActivated, this, &PlaceListPane::OnItem);
    if (goOnClick) connect(list_, &QTreeWidget::itemClicked, this, &PlaceListPane::OnItem);
}

void PlaceListPane::setRows(std::vector<PlaceRow> rows) {
    if (rows == rows_) return;  // a list the user scrolled stays where it is
    rows_ = std::move(rows);
    list_->clear();
    QList<QTreeWidgetItem*> items;
    for (const PlaceRow& row : rows_) {
        auto* item = new QTreeWidgetItem(row.columns);
        item->setToolTip(0, row.columns.value(0));
        items.append(item);
    }
    list_->addTopLevelItems(items);
    for (int column = 0; column + 1 < list_->columnCount(); ++column)
        list_->resizeColumnToContents(column);
}

void PlaceListPane::activateRow(int index) {
    if (index >= 0 && index < static_cast<int>(rows_.size()))
        emit placeActivated(rows_[index].place);
}

void PlaceListPane::OnItem(QTreeWidgetItem* item) {
    activateRow(list_->indexOfTopLevelItem(item));
}

}  // namespace zr::shell
