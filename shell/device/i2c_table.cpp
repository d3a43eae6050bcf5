#include "shell/device/i2c_table.h"

#include <QHeaderView>
#include <QToolTip>

namespace zr::shell {

I2cTable::I2cTable(QWidget* parent)
    : QTableWidget(emulator::kI2CSize / kColumns, kColumns, parent) {
    QStringList rows;
    for (int row = 0; row < rowCount(); ++row) rows << QString::number(row * kColumns + 1);
    setVerticalHeaderLabels(rows);
    QStringList columns;
    for (int column = 0; column < kColumns; ++column) columns << QString("+%1").arg(column);
    setHorizontalHeaderLabels(columns);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    for (int element = 1; element <= emulator::kI2CSize; ++element)
        setItem((element - 1) / kColumns, (element - 1) % kColumns, new QTableWidgetItem("0"));

    connect(this, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (showing_) return;
        const int element = item->row() * kColumns + item->column() + 1;
        bool ok = false;
        const int value = item->text().trimmed().toInt(&ok);
        if (!ok || value < 0 || value > 255) {  // not a byte: refused, the old value stays
            showing_ = true;
            item->setText(QString::number(values_[element]));
            showing_ = false;
            refusal_ = tr("Элемент I2C %1: допустимы целые от 0 до 255").arg(element);
            QToolTip::showText(viewport()->mapToGlobal(visualItemRect(item).bottomLeft()), refusal_,
                               viewport());
            emit editRefused(refusal_);
            return;
        }
        values_[element] = value;
        emit elementEdited(element, value);
    });
}

void I2cTable::ShowBuffer(const std::array<std::uint8_t, emulator::kI2CSize + 1>& buffer) {
    showing_ = true;
    for (int element = 1; element <= emulator::kI2CSize; ++element) {
        QTableWidgetItem* cell = item((element - 1) / kColumns, (element - 1) % kColumns);
        const QString text = QString::number(buffer[element]);
        if (cell == currentItem() && state() == EditingState) continue;
        values_[element] = buffer[element];
        if (cell->text() != text) cell->setText(text);
    }
    showing_ = false;
}

QString I2cTable::cellText(int element) const {
    return item((element - 1) / kColumns, (element - 1) % kColumns)->text();
}

}  // namespace zr::shell
