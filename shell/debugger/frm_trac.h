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
    // A stop: the line goes to the statement label and to the end of the history.
    void ShowStatement(const QString& line);
    void ShowWatchedValue(const QString& text);
    void ClearWatchName();

    QLabel* statementLabel() const { return statementLabel_; }
    QLabel* watchedValueLabel() const { return watchedValueLabel_; }
    QLineEdit* watchName() const { return watchName_; }
    QListWidget* stackList() const { return stackList_; }
    QListWidget* history() const { return history_; }

  signals:
    void stepChosen();
    void stopChosen();
    void closeChosen();  // "Закрыть" or the close box
    void watchChosen(const QString& name);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    QLabel* statementLabel_;
    QPushButton* watchButton_;
    QLineEdit* watchName_;
    QLabel* watchedValueLabel_;
    QListWidget* stackList_;
    QListWidget* history_;
};

}  // namespace zr::shell
