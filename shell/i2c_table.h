// The I2C buffer (elements 1..128) as a table of 16 rows of 8. A cell the
// user edits sends its value to the device.
#pragma once

#include <QTableWidget>
#include <array>
#include <cstdint>

#include "emulator/io_model.h"

namespace zr::shell {

class I2cTable : public QTableWidget {
    Q_OBJECT

  public:
    static constexpr int kColumns = 8;

    explicit I2cTable(QWidget* parent = nullptr);

    // Index 0 is unused.
    void ShowBuffer(const std::array<std::uint8_t, emulator::kI2CSize + 1>& buffer);
    QString cellText(int element) const;

  signals:
    void elementEdited(int element, int value);

  private:
    bool showing_ = false;
};

}  // namespace zr::shell
