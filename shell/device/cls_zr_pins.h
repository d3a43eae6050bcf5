// clsZRPins: the 14 pin indicators (D0..D7, WE, CE, ADC1..ADC4) as records in
// the indicator panel's coordinates (0..100 left to right, 100..0 top to
// bottom). Colours are 0x00BBGGRR values.
#pragma once

#include <QString>
#include <array>
#include <cstdint>

class QPainter;
class QRectF;

namespace zr::shell {

// One indicator: a box of half size `halfSize` around (centreX, centreY),
// its name to the right. The fields keep the order and meaning of clsZRPins'
// X, Y, Name, Value, HalfSize and Colour.
struct PinRecord {
    std::int16_t centreX = 1;
    std::int16_t centreY = 0;
    QString name;
    std::int16_t value = 0;
    std::int16_t halfSize = 2;
    std::uint32_t highColour = 255;  // pure red, shown while value > 0
};

class ClsZRPins {
  public:
    static constexpr int kPins = 14;
    static constexpr std::uint32_t kLowColour = 0xFF8080;  // light blue

    ClsZRPins();

    int PinValue(int pin) const { return records_[pin].value; }
    // The number rounded (half to even) and kept in a signed 16-bit value.
    void SetPinValue(int pin, double value);

    // Red when high, light blue otherwise.
    std::uint32_t IndicatorColour(int pin) const;
    const PinRecord& record(int pin) const { return records_[pin]; }

    // Draws all 14 indicators on `panel`, the pixel rectangle of the panel.
    void reDraw(QPainter& painter, const QRectF& panel) const;

  private:
    std::array<PinRecord, kPins> records_;
};

}  // namespace zr::shell
