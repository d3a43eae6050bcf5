// Serial channel 1 as a console: the lines PRINT writes, and a field whose
// lines INPUT reads.
#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace zr::shell {

class SerialConsole : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kKeptLines = 2000;

    explicit SerialConsole(QWidget* parent = nullptr);

    void AppendOutput(const QString& line);
    void NoteDroppedLines(int count);
    // Shows whether a program waits in INPUT for a line.
    void SetWaitingForInput(bool waiting);

    QString outputText() const;
    QLineEdit* inputField() const { return input_; }

  signals:
    void lineEntered(const QString& line);

  private:
    QPlainTextEdit* output_;
    QLineEdit* input_;
    QLabel* state_;
};

}  // namespace zr::shell
