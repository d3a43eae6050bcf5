// Where the main, emulator and trace windows appear: the place and size a
// window had when it was last hidden, kept on the screen; or, for a window
// seen for the first time, beside its owner so it does not cover the editor.
#pragma once

#include <QObject>
#include <QRect>
#include <QSettings>
#include <QString>
#include <memory>
#include <vector>

class QWidget;

namespace zr::shell {

// `window` (a frame rectangle) moved and, when larger, shrunk so it lies
// within `available`.
QRect ClampToScreen(const QRect& window, const QRect& available);

// A frame rectangle of `size` for a new window: right of `owner`, else left
// of it, else right or left of one of `others`, never over `owner` or
// `others`. Without room beside: at the screen's right edge, so it covers as
// little of `owner` as it can (the right part, where lines are short), and
// clear of `keepClear` (the text of the line being worked on or debugged, in
// global coordinates): beside its end when it ends further left, else below
// the line when it fits there, else above it.
QRect PlaceBeside(const QSize& size, const QRect& owner, const std::vector<QRect>& others,
                  const QRect& available, const QRect& keepClear);

class WindowPlaces : public QObject {
    Q_OBJECT

  public:
    // `settings` null: "windows.ini" in the application's configuration folder.
    explicit WindowPlaces(std::unique_ptr<QSettings> settings = nullptr, QObject* parent = nullptr);
    ~WindowPlaces() override;

    // Gives `window` the place saved under `key`, kept on the screen it was
    // on (or the primary one). False when nothing was saved.
    bool Restore(QWidget& window, const QString& key);
    // Saves the place of `window` under `key` each time it is hidden or closed.
    void Track(QWidget& window, const QString& key);
    void Save(const QWidget& window, const QString& key);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::unique_ptr<QSettings> settings_;
};

}  // namespace zr::shell
