#include "shell/frm_trac.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "shell/twips.h"

namespace zr::shell {

FrmTrac::FrmTrac(QWidget* parent)
    : QWidget(parent, Qt::Window),
      label2_(new QLabel(this)),
      command2_(new QPushButton("Переменная", this)),
      text1_(new QLineEdit(this)),
      label1_(new QLabel(this)),
      list1_(new QListWidget(this)),
      list2_(nullptr) {
    setObjectName("frmTrac");
    setWindowTitle("Трассировка");

    label2_->setObjectName("Label2");
    label2_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A long statement line must not widen the window; the history shows it whole.
    label2_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    command2_->setObjectName("Command2");
    text1_->setObjectName("Text1");
    text1_->setMinimumWidth(fontMetrics().averageCharWidth() * 8);
    label1_->setObjectName("Label1");
    label1_->setMinimumWidth(fontMetrics().averageCharWidth() * 10);
    label1_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    list1_->setObjectName("List1");

    auto* frame1 = new QGroupBox("История", this);
    frame1->setObjectName("Frame1");
    list2_ = new QListWidget(frame1);
    list2_->setObjectName("List2");
    auto* frameLayout = new QVBoxLayout(frame1);
    frameLayout->addWidget(list2_);

    auto button = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        return b;
    };
    auto* command1 = button("Command1", "Закрыть");
    auto* command4 = button("Command4", "STOP");
    auto* command3 = button("Command3", "ШАГ");
    command3->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    command3->setDefault(true);

    // Top to bottom: the statement line, the watched variable, the stack,
    // the history, and the buttons (Закрыть over STOP, ШАГ beside them).
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label2_);
    auto* watch = new QHBoxLayout;
    watch->addWidget(command2_);
    watch->addWidget(text1_, 1);
    watch->addWidget(label1_, 1);
    layout->addLayout(watch);
    layout->addWidget(list1_, 1);
    layout->addWidget(frame1, 1);
    auto* buttons = new QGridLayout;
    buttons->addWidget(command1, 0, 0);
    buttons->addWidget(command4, 1, 0);
    buttons->addWidget(command3, 0, 1, 2, 1);
    layout->addLayout(buttons);
    resize(TwipsRect(*this, 0, 0, 3345, 5820).size().expandedTo(minimumSizeHint()));

    connect(command1, &QPushButton::clicked, this, &FrmTrac::closeChosen);
    connect(command4, &QPushButton::clicked, this, &FrmTrac::stopChosen);
    connect(command3, &QPushButton::clicked, this, &FrmTrac::stepChosen);
    connect(command2_, &QPushButton::clicked, this, [this] { emit watchChosen(text1_->text()); });
}

void FrmTrac::ShowStack(const QStringList& lines) {
    if (list1_->count() == lines.size()) {
        bool same = true;
        for (int i = 0; i < lines.size() && same; ++i) same = list1_->item(i)->text() == lines[i];
        if (same) return;
    }
    list1_->clear();
    list1_->addItems(lines);
}

void FrmTrac::ShowStatement(const QString& line) {
    label2_->setText(line);
    list2_->addItem(line);
    list2_->setCurrentRow(list2_->count() - 1);
    list2_->scrollToBottom();
}

void FrmTrac::ShowWatchedValue(const QString& text) {
    label1_->setText(text);
}

void FrmTrac::ClearWatchName() {
    text1_->clear();
}

void FrmTrac::closeEvent(QCloseEvent* event) {
    event->ignore();  // the listener hides and unloads the window
    emit closeChosen();
}

}  // namespace zr::shell
