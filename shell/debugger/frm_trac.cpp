#include "shell/debugger/frm_trac.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "shell/main_window/twips.h"

namespace zr::shell {

FrmTrac::FrmTrac(QWidget* parent)
    : QWidget(parent, Qt::Window),
      statementLabel_(new QLabel(this)),
      watchButton_(new QPushButton(tr("Переменная"), this)),
      watchName_(new QLineEdit(this)),
      watchedValueLabel_(new QLabel(this)),
      stackList_(new QListWidget(this)),
      history_(nullptr) {
    setObjectName("frmTrac");
    setWindowTitle(tr("Трассировка"));

    statementLabel_->setObjectName("Label2");
    statementLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A long statement line must not widen the window; the history shows it whole.
    statementLabel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    watchButton_->setObjectName("Command2");
    watchName_->setObjectName("Text1");
    watchName_->setMinimumWidth(fontMetrics().averageCharWidth() * 8);
    watchedValueLabel_->setObjectName("Label1");
    watchedValueLabel_->setMinimumWidth(fontMetrics().averageCharWidth() * 10);
    watchedValueLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    stackList_->setObjectName("List1");

    auto* historyFrame = new QGroupBox(tr("История"), this);
    historyFrame->setObjectName("Frame1");
    history_ = new QListWidget(historyFrame);
    history_->setObjectName("List2");
    auto* frameLayout = new QVBoxLayout(historyFrame);
    frameLayout->addWidget(history_);

    auto button = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        return b;
    };
    auto* command1 = button("Command1", tr("Закрыть"));
    auto* command4 = button("Command4", tr("STOP"));
    auto* command3 = button("Command3", tr("ШАГ"));
    command3->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    command3->setDefault(true);

    // Top to bottom: the statement line, the watched variable, the stack,
    // the history, and the buttons (Закрыть over STOP, ШАГ beside them).
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(statementLabel_);
    auto* watch = new QHBoxLayout;
    watch->addWidget(watchButton_);
    watch->addWidget(watchName_, 1);
    watch->addWidget(watchedValueLabel_, 1);
    layout->addLayout(watch);
    layout->addWidget(stackList_, 1);
    layout->addWidget(historyFrame, 1);
    auto* buttons = new QGridLayout;
    buttons->addWidget(command1, 0, 0);
    buttons->addWidget(command4, 1, 0);
    buttons->addWidget(command3, 0, 1, 2, 1);
    layout->addLayout(buttons);
    resize(TwipsRect(*this, 0, 0, 3345, 5820).size().expandedTo(minimumSizeHint()));

    connect(command1, &QPushButton::clicked, this, &FrmTrac::closeChosen);
    connect(command4, &QPushButton::clicked, this, &FrmTrac::stopChosen);
    connect(command3, &QPushButton::clicked, this, &FrmTrac::stepChosen);
    connect(watchButton_, &QPushButton::clicked, this,
            [this] { emit watchChosen(watchName_->text()); });
}

void FrmTrac::ShowStack(const QStringList& lines) {
    if (stackList_->count() == lines.size()) {
        bool same = true;
        for (int i = 0; i < lines.size() && same; ++i)
            same = stackList_->item(i)->text() == lines[i];
        if (same) return;
    }
    stackList_->clear();
    stackList_->addItems(lines);
}

void FrmTrac::ShowStatement(const QString& line) {
    statementLabel_->setText(line);
    history_->addItem(line);
    history_->setCurrentRow(history_->count() - 1);
    history_->scrollToBottom();
}

void FrmTrac::ShowWatchedValue(const QString& text) {
    watchedValueLabel_->setText(text);
}

void FrmTrac::ClearWatchName() {
    watchName_->clear();
}

void FrmTrac::closeEvent(QCloseEvent* event) {
    event->ignore();  // the listener hides and unloads the window
    emit closeChosen();
}

}  // namespace zr::shell
