// What the Variables and Watches panes show, kept once for both: the rows of
// the loaded program's names, the device state at the latest pause (and the
// one before, for what changed), and the watches: the pinned names in order
// and which of them break on change (data breakpoints). The panes only show
// it; a pin, unpin or check in either reaches both through the signals.
#pragma once

#include <QObject>
#include <QSet>
#include <QStringList>
#include <optional>
#include <vector>

#include "compiler/names.h"
#include "shell/debugger/variable_rows.h"
#include "shell/debugger/watch_list.h"

namespace zr::shell {

class WatchModel : public QObject {
    Q_OBJECT

  public:
    explicit WatchModel(QObject* parent = nullptr);

    // ---- The program and its values ----
    // A new program's names; its values come with its first pause.
    void SetNames(const compiler::NameTable& names);
    const std::vector<VariableRow>& rows() const { return rows_; }
    const VariableRow* RowNamed(const QString& name) const;
    void ShowPause(PausedValues values);
    // Null before the program's first pause.
    const PausedValues* values() const { return values_ ? &*values_ : nullptr; }
    // The value of a cell at the latest pause, empty before one.
    QString ValueText(machine::DecodedOperand cell) const;
    // The cell's value differs from the pause before (false at the first).
    bool Changed(machine::DecodedOperand cell) const;

    // ---- Watches (kept by name through a new compile) ----
    const QStringList& watches() const { return watches_; }
    bool Breaks(const QString& name) const { return breakOnChange_.contains(name); }
    // Only a name the program has; pins it once.
    void Pin(const QString& name);
    void Unpin(const QString& name);
    // Only for a name whose change can break; pins the watch too when set.
    void SetBreakOnChange(const QString& name, bool on);
    // All the watches, and putting them back (names the program lacks are
    // kept for a later one); SetList emits only listChanged.
    WatchList list() const;
    void SetList(const WatchList& list);
    // The VariableOperands of the watches that break on change.
    std::vector<int> dataBreakpointOperands() const;
    // The name of the watch that breaks on a change of `operand`, or empty.
    QString breakingWatchOf(int operand) const;

  signals:
    void namesChanged();   // a new program: its rows
    void valuesChanged();  // a pause
    // The watches or their checks changed, for any reason: the panes follow.
    void listChanged();
    // A watch was pinned or unpinned, or its break on change set or cleared
    // (by the user, not by SetList): to be kept.
    void watchesChanged();
    void dataBreakpointsChanged();

  private:
    std::vector<VariableRow> rows_;
    std::optional<PausedValues> values_;
    std::optional<PausedValues> before_;  // the pause before values_
    QStringList watches_;
    QSet<QString> breakOnChange_;
};

}  // namespace zr::shell
