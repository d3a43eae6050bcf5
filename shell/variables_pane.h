// The Variables pane of the emulator window: every name the compiled
// program knows (the predeclared i..o, Stack, PORT, ADC, I2C and each
// declared Single, Integer and Byte variable and array, arrays expandable)
// with its kind, area address and value in the display's number form, and
// the value stack on top. Filled from the state published at a pause, never
// from the running emulator; values changed since the last pause are
// highlighted.
#pragma once

#include <QTreeWidget>

#include "compiler/names.h"
#include "emulator/io_model.h"
#include "emulator/machine.h"

namespace zr::shell {

class VariablesPane : public QTreeWidget {
    Q_OBJECT

  public:
    // The value next to the name: the column a narrow pane still shows.
    enum Column { kName, kValue, kKind, kAddress };

    explicit VariablesPane(QWidget* parent = nullptr);

    // The names of a new program; values show at the next pause.
    void SetNames(const compiler::NameTable& names);
    void ShowValues(const emulator::MachineState& machine, const emulator::IoModel& io,
                    char decimalSeparator);

    // The item of a name ("b1") or an element ("t(2)"), or null.
    QTreeWidgetItem* itemNamed(const QString& name) const;
    static bool IsHighlighted(const QTreeWidgetItem& item);

  private:
    QTreeWidgetItem* stack_ = nullptr;
    bool shownBefore_ = false;  // a pause has shown values since SetNames
};

}  // namespace zr::shell
