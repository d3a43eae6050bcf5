// frmTrac: the trace window. Shows the stack list, the current statement line
// and its history, and the watched variable; its buttons step, stop or close.
// What they do is decided by whoever listens to its signals.
#pragma once

#include <QStringList>
#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace zr::shell {

class FrmTrac : public QWidget {
    Q_OBJECT

  public:
    explicit FrmTrac(QWidget* parent = nullptr);

    void ShowStack(const QStringList& lines);
    // A stop: the line goes to Label2 and to the end of the history.
    void ShowStatement(const QString& line);
    void ShowWatchedValue(const QString& text);
    void ClearWatchName();

    QLabel* statementLabel() const { return label2_; }
    QLabel* watchedValueLabel() const { return label1_; }
    QLineEdit* watchName() const { return text1_; }
    QListWidget* stackList() const { return list1_; }
    QListWidget* history() const { return list2_; }

  signals:
    void stepChosen();
    void stopChosen();
    void closeChosen();  // "Закрыть" or the close box
    void watchChosen(const QString& name);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    QLabel* label2_;
    QPushButton* command2_;
    QLineEdit* text1_;
    QLabel* label1_;
    QListWidget* list1_;
    QListWidget* list2_;
};

}  // namespace zr::shell
