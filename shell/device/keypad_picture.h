// Image1: the keypad, drawn by the program and stretched to the widget. A
// frame shows while a mouse button is held; the release picks the key.
#pragma once

#include <QWidget>

namespace zr::shell {

class KeypadPicture : public QWidget {
    Q_OBJECT

  public:
    explicit KeypadPicture(QWidget* parent = nullptr);

    bool framed() const { return pressed_; }

  signals:
    // A release inside the picture: the key index 0..15.
    void keyReleased(int index);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool pressed_ = false;
};

}  // namespace zr::shell
