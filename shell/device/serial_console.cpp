#include "shell/device/serial_console.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace zr::shell {

SerialConsole::SerialConsole(QWidget* parent)
    : QWidget(parent),
      output_(new QPlainTextEdit(this)),
      input_(new QLineEdit(this)),
      state_(new QLabel(this)) {
    output_->setObjectName("serialOutput");
    output_->setReadOnly(true);
    output_->setMaximumBlockCount(kKeptLines);
    input_->setObjectName("serialInput");
    input_->setPlaceholderText(tr("Строка для INPUT, Enter - отправить"));
    state_->setObjectName("serialState");

    auto* inputRow = new QHBoxLayout;
    inputRow->addWidget(input_, 1);
    inputRow->addWidget(state_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(output_, 1);
    layout->addLayout(inputRow);

    connect(input_, &QLineEdit::returnPressed, this, [this] {
        const QString line = input_->text();
        input_->clear();
        output_->appendPlainText("> " + line);
        emit lineEntered(line);
    });
}

void SerialConsole::AppendOutput(const QString& line) {
    output_->appendPlainText(line);
}

void SerialConsole::NoteDroppedLines(int count) {
    output_->appendPlainText(tr("... пропущено строк: %1").arg(count));
}

void SerialConsole::SetWaitingForInput(bool waiting) {
    state_->setText(waiting ? tr("INPUT ждёт строку") : QString());
}

QString SerialConsole::outputText() const {
    return output_->toPlainText();
}

}  // namespace zr::shell
