#include "shell/frm_trac.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

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
    setFixedSize(TwipsRect(*this, 0, 0, 3345, 5820).size());

    label2_->setObjectName("Label2");
    label2_->setGeometry(TwipsRect(*this, 0, 0, 3255, 375));
    command2_->setObjectName("Command2");
    command2_->setGeometry(TwipsRect(*this, 0, 360, 1095, 375));
    text1_->setObjectName("Text1");
    text1_->setGeometry(TwipsRect(*this, 1080, 360, 975, 405));
    label1_->setObjectName("Label1");
    label1_->setGeometry(TwipsRect(*this, 2040, 360, 1215, 375));
    list1_->setObjectName("List1");
    list1_->setGeometry(TwipsRect(*this, 0, 720, 3255, 2205));

    auto* frame1 = new QGroupBox("История", this);
    frame1->setObjectName("Frame1");
    frame1->setGeometry(TwipsRect(*this, 0, 3000, 3255, 1935));
    list2_ = new QListWidget(frame1);
    list2_->setObjectName("List2");
    list2_->setGeometry(TwipsRect(*this, 120, 240, 3015, 1425));

    auto button = [this](const char* name, const QString& caption, QRect place) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setGeometry(place);
        return b;
    };
    auto* command1 = button("Command1", "Закрыть", TwipsRect(*this, 120, 5040, 1455, 372));
    auto* command4 = button("Command4", "STOP", TwipsRect(*this, 120, 5400, 1455, 372));
    auto* command3 = button("Command3", "ШАГ", TwipsRect(*this, 1800, 5040, 1455, 735));

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
