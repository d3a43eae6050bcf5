// The strip left of the source editor: line numbers, and breakpoints as red
// dots (hollow when disabled, barred when they carry a condition or a hit
// count). A breakpoint belongs to its text block, so it follows its line
// through edits above it and goes with the line when the line is deleted.
#pragma once

#include <QList>
#include <QWidget>
#include <functional>
#include <vector>

#include "shell/debugger/breakpoint_rules.h"

class QTextBlock;
class QTextEdit;

namespace zr::shell {

class EditorGutter : public QWidget {
    Q_OBJECT

  public:
    // Makes room for itself in `editor`'s left margin (the editor's own,
    // protected, setViewportMargins given as `setLeftMargin`) and follows
    // its scrolling.
    EditorGutter(QTextEdit& editor, std::function<void(int)> setLeftMargin);

    // 1-based line numbers with a breakpoint, ascending.
    QList<int> breakpointLines() const;
    // Replaces every breakpoint; lines past the end are dropped.
    void setBreakpointLines(const QList<int>& lines);
    bool hasBreakpoint(int line) const;
    // Replaces every breakpoint, with what each asks (no signal).
    void setBreakpoints(const std::vector<BreakpointEntry>& entries);
    // Every breakpoint with what it asks, by line.
    std::vector<BreakpointEntry> breakpoints() const;
    // Sets the breakpoint on `entry.line` with its settings (a new one when
    // the line had none). As the user's own change, it signals.
    void setBreakpoint(const BreakpointEntry& entry);
    void removeBreakpoint(int line);
    void removeAllBreakpoints();
    // The line of the statement about to run (an arrow); 0: none.
    void setExecutionLine(int line);
    int executionLine() const { return executionLine_; }
    // The line of the first compile error (its number shows in red); 0: none.
    void setErrorLine(int line);
    int errorLine() const { return errorLine_; }

    int widthNeeded() const;
    QSize sizeHint() const override;

  public slots:
    void toggleBreakpoint(int line);
    // The caret's line.
    void toggleBreakpointAtCaret();

  signals:
    // A breakpoint was set or cleared by the user (not by setBreakpointLines).
    void breakpointsChanged();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    void Relayout();
    QTextBlock FirstVisibleBlock() const;
    // The block's top in viewport coordinates.
    int BlockTop(const QTextBlock& block) const;

    QTextEdit& editor_;
    std::function<void(int)> setLeftMargin_;
    int executionLine_ = 0;
    int errorLine_ = 0;
};

}  // namespace zr::shell
