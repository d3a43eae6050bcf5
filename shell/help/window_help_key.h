// F1 in the environment's other windows opens the help page of that window.
// The editor keeps its own F1, which opens the page of the word at the caret.
#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace zr::shell {

class WindowHelpKey : public QObject {
  public:
    // Installs itself as an event filter of the application.
    explicit WindowHelpKey(QObject* parent);

    // The help index keyword of the window that `widget` belongs to; empty
    // when F1 there is left to the window.
    static QString TopicFor(const QWidget* widget);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace zr::shell
