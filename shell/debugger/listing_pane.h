// The listing pane of the emulator window: the compiled image decoded from
// the opcode table, each statement's instructions under its source line.
// While paused the instruction about to run is highlighted; a click on a
// line asks for its source line in the editor.
#pragma once

#include <QListWidget>

#include "compiler/compiler.h"

namespace zr::shell {

class ListingPane : public QListWidget {
    Q_OBJECT

  public:
    explicit ListingPane(QWidget* parent = nullptr);

    void SetProgram(const compiler::Compiler& compiled);
    // The instruction at `address` highlighted; -1: none.
    void ShowPause(int address);
    // The row of the instruction at `address`, or -1.
    int rowOfAddress(int address) const;
    int highlightedRow() const { return highlighted_; }

  signals:
    // 1-based line of the main text.
    void sourceLineChosen(int line);

  private:
    int highlighted_ = -1;
};

}  // namespace zr::shell
