// The pin indicators: where they are drawn, their colours and the values
// SetPin gives them.
#include "shell/device/pin_panel.h"

#include <QtTest>

#include "shell/device/cls_zr_pins.h"

using zr::shell::ClsZRPins;
using zr::shell::PinPanel;

class PinPanelTest : public QObject {
    Q_OBJECT

  private slots:
    void valuesRoundHalfToEvenIntoSixteenBitsAndRedMeansHigh() {
        ClsZRPins pins;
        QCOMPARE(pins.IndicatorColour(8), 0xFF8080u);
        pins.SetPinValue(8, 1);
        QCOMPARE(pins.IndicatorColour(8), 255u);
        pins.SetPinValue(8, -1);
        QCOMPARE(pins.IndicatorColour(8), 0xFF8080u);
        pins.SetPinValue(0, 2.5);
        QCOMPARE(pins.PinValue(0), 2);
        pins.SetPinValue(0, 1e9);
        QCOMPARE(pins.PinValue(0), 32767);
    }

    void resetPinsStartsAllLow() {
        PinPanel panel;
        panel.SetPin(9, 1);
        QCOMPARE(panel.pins().PinValue(9), 1);
        panel.ResetPins();
        for (int i = 0; i < ClsZRPins::kPins; ++i) QCOMPARE(panel.pins().PinValue(i), 0);
    }

    void d0IsDrawnLowestAndAdc4Highest() {
        PinPanel panel;
        panel.resize(177, 497);
        panel.SetPin(0, 1);  // D0 red
        const QImage image = panel.grab().toImage();
        // D0: centre at x = 1, y = 4 units, i.e. near the bottom left.
        const QColor d0 = image.pixelColor(panel.width() / 100 + 1, panel.height() * 96 / 100);
        QCOMPARE(d0, QColor(255, 0, 0));
        // ADC4: y = 97 units, near the top, light blue.
        const QColor adc4 = image.pixelColor(panel.width() / 100 + 1, panel.height() * 3 / 100);
        QCOMPARE(adc4, QColor(0x80, 0x80, 0xFF));
    }
};

QTEST_MAIN(PinPanelTest)
#include "pin_panel_test.moc"
