// The Variables pane of the emulator window: every name the compiled
// program knows (the predeclared i..o, Stack, PORT, ADC, I2C and each
// declared Single, Integer and Byte variable and array, arrays expandable)
// with its kind, area address and value in the display's number form, and
// the value stack on top. It shows the WatchModel it shares with the
// Watches pane: values published at a pause, never read from the running
// emulator; values changed since the last pause are highlighted. Watches
// pinned at the top repeat a variable's row; a watch marked to break on
// change (its check box) is a data breakpoint.
#pragma once

#include <QStringList>
#include <QTreeWidget>
#include <vector>

#include "compiler/names.h"
#include "emulator/io_model.h"
#include "emulator/machine.h"
#include "shell/debugger/watch_list.h"
#include "shell/debugger/watch_model.h"

namespace zr::shell {

class VariablesPane : public QTreeWidget {
    Q_OBJECT

  public:
    // The value next to the name: the column a narrow pane still shows.
    enum Column { kName, kValue, kKind, kAddress };

    explicit VariablesPane(QWidget* parent = nullptr);

    // What the pane shows, shared with the Watches pane.
    WatchModel& model() { return model_; }
    const WatchModel& model() const { return model_; }

    // The names of a new program; values show at the next pause.
    void SetNames(const compiler::NameTable& names) { model_.SetNames(names); }
    void ShowValues(const emulator::MachineState& machine, const emulator::IoModel& io,
                    char decimalSeparator);

    // The item of a name ("b1") or an element ("t(2)"), or null.
    QTreeWidgetItem* itemNamed(const QString& name) const;
    static bool IsHighlighted(const QTreeWidgetItem& item);

    // ---- Watches: the model's, kept by name through a new compile ----
    void PinWatch(const QString& name) { model_.Pin(name); }
    void UnpinWatch(const QString& name) { model_.Unpin(name); }
    // Pins the watch too when it is set.
    void SetBreakOnChange(const QString& name, bool on) { model_.SetBreakOnChange(name, on); }
    QTreeWidgetItem* watchNamed(const QString& name) const;  // the pinned row, or null
    const QStringList& watches() const { return model_.watches(); }
    // All the watches, and putting them back (names the program lacks are
    // kept for a later one); SetWatchList emits nothing.
    WatchList watchList() const { return model_.list(); }
    void SetWatchList(const WatchList& list) { model_.SetList(list); }
    // The VariableOperands of the watches that break on change.
    std::vector<int> dataBreakpointOperands() const { return model_.dataBreakpointOperands(); }
    // The name of the watch that breaks on a change of `operand`, or empty.
    QString breakingWatchOf(int operand) const { return model_.breakingWatchOf(operand); }
    // The context menu's actions for an item (pin or unpin, break on change).
    QList<QAction*> ActionsFor(QTreeWidgetItem* item);

  signals:
    void dataBreakpointsChanged();
    // A watch was pinned or unpinned, or its break on change set or cleared.
    void watchesChanged();

  protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void BuildRows();
    void ShowValuesInRows();
    void FollowWatches();
    void RebuildWatches();
    void TakeWatchCheck(QTreeWidgetItem* item);
    const VariableRow* RowOf(const QTreeWidgetItem& item) const;

    WatchModel model_;
    QTreeWidgetItem* stack_ = nullptr;
    bool takingCheck_ = false;  // inside a row's own itemChanged: no rows are deleted
    bool rebuildPending_ = false;
};

}  // namespace zr::shell
