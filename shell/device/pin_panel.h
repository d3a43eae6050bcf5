// Pic1: the input/output panel. Holds the port check boxes, the ADC sliders
// and their captions in a grid, and draws the pin indicators of the
// clsZRPins objects in PinSets: each on the row of its anchor (the caption
// with the pin's name), or, without an anchor, in its 0..100 coordinates.
#pragma once

#include <QWidget>
#include <array>
#include <map>

#include "shell/device/cls_zr_pins.h"

namespace zr::shell {

class PinPanel : public QWidget {
    Q_OBJECT

  public:
    static constexpr const char* kDeviceKey = "ZR7340";

    explicit PinPanel(QWidget* parent = nullptr);

    // Empties PinSets and adds a fresh clsZRPins (all low) under "ZR7340".
    void ResetPins();
    // Draws every object in PinSets again.
    void RedrawPins();
    void SetPin(int pin, int value);
    // The indicator of `pin` is drawn left of `anchor`, level with its middle.
    void SetIndicatorAnchor(int pin, QWidget* anchor);
    // Where the indicator of `pin` is drawn, in the panel's pixels.
    QRectF IndicatorRect(int pin) const;

    const ClsZRPins& pins() const { return pinSets_.at(kDeviceKey); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::map<QString, ClsZRPins> pinSets_;
    std::array<QWidget*, ClsZRPins::kPins> anchors_{};
};

}  // namespace zr::shell
