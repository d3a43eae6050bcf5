// "Контрольные значения": the watches of the Variables pane in a pane of
// their own: each pinned name in order with its value at the pause (changed
// ones highlighted) and its kind, and a check box to break when it changes.
// A name typed below is pinned with Enter; "Открепить", Delete or the
// context menu unpin. It shows the WatchModel it shares with the Variables pane, so a pin
// or a check in either shows in both.
#pragma once

#include <QWidget>

#include "shell/debugger/watch_model.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace zr::shell {

class WatchesPane : public QWidget {
    Q_OBJECT

  public:
    enum Column { NameColumn, ValueColumn, KindColumn };

    explicit WatchesPane(WatchModel& model, QWidget* parent = nullptr);

    QTreeWidget* tree() const { return tree_; }
    // The row of a pinned name, or null.
    QTreeWidgetItem* rowNamed(const QString& name) const;
    static bool IsHighlighted(const QTreeWidgetItem& row);
    // Why the last typed name was not pinned; empty after one that was.
    QString refusal() const;
    // The context menu's actions for a row (unpin, break on change).
    QList<QAction*> ActionsFor(QTreeWidgetItem* row);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FollowList();
    void Rebuild();
    void FillRow(QTreeWidgetItem& row);
    void ShowValues();
    void TakeCheck(QTreeWidgetItem* row);
    void PinTypedName();
    void UnpinCurrent();

    WatchModel& model_;
    QTreeWidget* tree_ = nullptr;
    QLineEdit* nameField_ = nullptr;
    QPushButton* unpin_ = nullptr;
    QLabel* refusal_ = nullptr;
    bool takingCheck_ = false;  // inside a row's own itemChanged: no rows are deleted
    bool rebuildPending_ = false;
};

}  // namespace zr::shell
