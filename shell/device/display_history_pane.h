// The display history pane: every screen of the run in order, one line each
// with the instruction count at which it appeared, so that output a later
// screen overwrote can still be read and copied. Keeps the last
// DisplayHistory::kMaxScreens screens.
#pragma once

#include <QPlainTextEdit>
#include <deque>

#include "emulator/display_history.h"

namespace zr::shell {

class DisplayHistoryPane : public QPlainTextEdit {
    Q_OBJECT

  public:
    explicit DisplayHistoryPane(QWidget* parent = nullptr);

    // A new run: the screens of the last one go.
    void Restart();
    void Append(const std::deque<emulator::DisplayScreen>& screens);

    int screenCount() const;
    // "      1234  |line 1          |line 2          |"
    static QString ScreenLine(const emulator::DisplayScreen& screen);

  private:
    bool following_ = true;  // keeps the newest screen in view
};

}  // namespace zr::shell
