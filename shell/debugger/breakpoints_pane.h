// "Точки останова": every breakpoint of the editor's gutter with its file and
// line, a check box to enable it, its condition and hit count editable in
// place, and the commands to remove one or all. The pane edits nothing
// itself: it asks, and shows what the gutter then holds.
#pragma once

#include <QWidget>
#include <vector>

#include "compiler/names.h"
#include "shell/debugger/breakpoint_rules.h"

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace zr::shell {

class BreakpointsPane : public QWidget {
    Q_OBJECT

  public:
    enum Column { FileColumn, LineColumn, ConditionColumn, HitCountColumn };

    explicit BreakpointsPane(QWidget* parent = nullptr);

    // The names a condition is checked against (the loaded program's).
    void SetNames(const compiler::NameTable& names) { names_ = names; }
    // The gutter's breakpoints now. Rows of the same lines are updated in
    // place; other rows are rebuilt once the event that asked is over, as
    // this may be called from inside a row's own signal.
    void Show(const std::vector<BreakpointEntry>& entries, const QString& fileName);

    QTreeWidget* tree() const { return tree_; }
    // The message of the last refused edit; empty after an accepted one.
    QString refusal() const;

  signals:
    void breakpointChanged(const zr::shell::BreakpointEntry& entry);
    void removeChosen(int line);
    void removeAllChosen();

  private:
    void Rebuild();
    void FillRow(QTreeWidgetItem& item, const BreakpointEntry& entry);
    void TakeEdit(QTreeWidgetItem* item, int column);
    void Refuse(QTreeWidgetItem& item, const QString& message);

    QTreeWidget* tree_ = nullptr;
    QLabel* refusal_ = nullptr;
    QPushButton* remove_ = nullptr;
    QPushButton* removeAll_ = nullptr;
    std::vector<BreakpointEntry> entries_;  // as the rows show them, row by row
    QString fileName_;
    compiler::NameTable names_;
    bool rebuildPending_ = false;
};

}  // namespace zr::shell
