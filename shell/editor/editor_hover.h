// The tooltip on the word under the resting mouse: the error's message over
// its extent, and for a keyword or declared name the language engine's hover
// text. Ctrl+click on a name asks to go to its declaration.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "shell/editor/editor_analysis.h"

namespace zr::shell {

class SourceEditor;

// A declared name's value to add to its hover text (while the debugger is
// paused); empty for none.
using HoverValueSource = std::function<QString(const language::Declaration&)>;

// The tooltip for editor position `position`; empty when there is nothing to say.
QString HoverTextAt(const EditorAnalysis& analysis, int position,
                    const HoverValueSource& value = {});

class EditorHover : public QObject {
    Q_OBJECT

  public:
    using AnalysisSource = std::function<std::shared_ptr<const EditorAnalysis>()>;
    EditorHover(SourceEditor& editor, AnalysisSource analysis);

    void setValueSource(HoverValueSource value) { value_ = std::move(value); }
    // The tooltip for a point of the editor's viewport.
    QString TextAt(const QPoint& viewportPoint) const;

  signals:
    // Ctrl+click at this editor position.
    void declarationRequested(int position);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The editor position under a viewport point; -1 beyond a line's end.
    int PositionAt(const QPoint& viewportPoint) const;

    SourceEditor& editor_;
    AnalysisSource analysis_;
    HoverValueSource value_;
};

}  // namespace zr::shell
