// "Стек вызовов": while paused, the return stack's levels from the top: the
// statement about to run, each Call waiting for its routine (with its line
// and file), and each event routine that interrupted the program. A double
// click on a level of the main text shows its line.
#pragma once

#include <QStringList>
#include <QTreeWidget>
#include <vector>

#include "emulator/debugger.h"
#include "emulator/machine.h"

namespace zr::shell {

class CallStackPane : public QTreeWidget {
    Q_OBJECT

  public:
    explicit CallStackPane(QWidget* parent = nullptr);

    // `libraryFiles[k - 1]`: the file name of library k.
    void SetProgram(std::vector<emulator::DebugStatement> statements, QStringList libraryFiles);
    void ShowPause(const emulator::MachineState& machine);

  signals:
    // 1-based line of the main text.
    void sourceLineChosen(int line);

  private:
    std::vector<emulator::DebugStatement> statements_;
    QStringList libraryFiles_;
};

}  // namespace zr::shell
