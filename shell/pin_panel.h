// Pic1: the input/output panel. Holds the port check boxes, the ADC sliders
// and their captions, and draws the pin indicators of the clsZRPins objects
// in PinSets in its 0..100 coordinate system.
#pragma once

#include <QWidget>
#include <map>

#include "shell/cls_zr_pins.h"

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

    const ClsZRPins& pins() const { return pinSets_.at(kDeviceKey); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::map<QString, ClsZRPins> pinSets_;
};

}  // namespace zr::shell
