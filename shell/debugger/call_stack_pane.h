// "Стек вызовов": while paused, the return stack's levels from the top: the
// statement about to run, each Call waiting for its routine (with its line
// and file), and each event routine that interrupted the program. A double
// click on a level of the main text shows its line.
#pragma once

#include <QStringList>
#include <QTreeWidget>
#include <memory>

#include "emulator/machine.h"
#include "machine/statement_table.h"

namespace zr::shell {

class CallStackPane : public QTreeWidget {
    Q_OBJECT

  public:
    explicit CallStackPane(QWidget* parent = nullptr);

    // `libraryFiles[k - 1]`: the file name of library k.
    void SetProgram(std::shared_ptr<const machine::StatementTable> statements,
                    QStringList libraryFiles);
    void ShowPause(const emulator::MachineState& machine);

  signals:
    // 1-based line of the main text.
    void sourceLineChosen(int line);

  private:
    std::shared_ptr<const machine::StatementTable> statements_ =
        std::make_shared<const machine::StatementTable>();
    QStringList libraryFiles_;
};

}  // namespace zr::shell
