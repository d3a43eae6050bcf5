// The I2C buffer (elements 1..128) as a table of 16 rows of 8. A cell the
// user edits sends its value to the device; a value outside 0..255 is
// refused with a hint, and the cell keeps its old value.
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
    // The hint shown for the last edit refused (empty before any).
    QString lastRefusal() const { return refusal_; }

  signals:
    void elementEdited(int element, int value);
    // An edit outside 0..255 was refused; `hint` says why.
    void editRefused(const QString& hint);

  private:
    bool showing_ = false;
    std::array<int, emulator::kI2CSize + 1> values_{};  // as last shown or accepted
    QString refusal_;
};

}  // namespace zr::shell
