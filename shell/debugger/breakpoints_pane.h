// "Точки останова": every breakpoint of the editor's gutter with its file and
// line, a check box to enable it, its condition and hit count editable in
// place, how often the run reached it by the last pause, and the commands to
// remove one or all. The pane edits nothing
// itself: it asks, and shows what the gutter then holds.
#pragma once

#include <QWidget>
#include <optional>
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
    enum Column { FileColumn, LineColumn, ConditionColumn, HitCountColumn, HitsColumn };

    explicit BreakpointsPane(QWidget* parent = nullptr);

    // The names a condition is checked against: a new program's, whose run
    // has reached no breakpoint yet.
    void SetNames(const compiler::NameTable& names);
    // The counts at a pause; a breakpoint without one shows 0.
    void ShowHits(const std::vector<BreakpointHits>& hits);
    // A new run: no counts until its first pause.
    void ForgetHits();
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
    void ShowHitsInRows();
    void FillHits(QTreeWidgetItem& item, int line);
    void TakeEdit(QTreeWidgetItem* item, int column);
    void Refuse(QTreeWidgetItem& item, const QString& message);

    QTreeWidget* tree_ = nullptr;
    QLabel* refusal_ = nullptr;
    QPushButton* remove_ = nullptr;
    QPushButton* removeAll_ = nullptr;
    std::vector<BreakpointEntry> entries_;  // as the rows show them, row by row
    QString fileName_;
    compiler::NameTable names_;
    std::optional<std::vector<BreakpointHits>> hits_;  // none before the program's first pause
    bool rebuildPending_ = false;
};

}  // namespace zr::shell
