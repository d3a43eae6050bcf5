#include "shell/editor/find_replace_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <QVBoxLayout>

namespace zr::shell {

FindReplaceDialog::FindReplaceDialog(QTextEdit* editor, QWidget* parent)
    : QDialog(parent),
      target_(editor),
      findText_(new QLineEdit(this)),
      replaceText_(new QLineEdit(this)),
      fromCurrent_(new QRadioButton(tr("Search on the current position"), this)),
      fromFirst_(new QRadioButton(tr("Search from the first position"), this)),
      findButton_(new QPushButton(tr("Find next"), this)),
      replaceButton_(new QPushButton(tr("Replace"), this)),
      replaceAllButton_(new QPushButton(tr("Replace ALL"), this)),
      cancelButton_(new QPushButton(tr("Cancel"), this)),
      searchNote_(new QLabel(this)) {
    setObjectName(QStringLiteral("rfmFindReplace"));
    setWindowTitle(tr(" Find & Replace"));
    setModal(false);
    // The controls keep the names the rest of the system knows them by.
    findText_->setObjectName(QStringLiteral("Text1"));
    replaceText_->setObjectName(QStringLiteral("Text2"));
    fromCurrent_->setObjectName(QStringLiteral("Option1"));
    fromFirst_->setObjectName(QStringLiteral("Option2"));
    findButton_->setObjectName(QStringLiteral("Command1"));
    replaceButton_->setObjectName(QStringLiteral("Command2"));
    replaceAllButton_->setObjectName(QStringLiteral("Command3"));
    cancelButton_->setObjectName(QStringLiteral("Command4"));
    searchNote_->setObjectName(QStringLiteral("searchNote"));
    fromCurrent_->setChecked(true);
    findButton_->setDefault(true);

    auto* texts = new QGridLayout;
    texts->addWidget(new QLabel(tr("Find:"), this), 0, 0);
    texts->addWidget(findText_, 0, 1);
    texts->addWidget(new QLabel(tr("Replace with:"), this), 1, 0);
    texts->addWidget(replaceText_, 1, 1);
    texts->addWidget(fromCurrent_, 2, 1);
    texts->addWidget(fromFirst_, 3, 1);
    texts->addWidget(searchNote_, 4, 0, 1, 2);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {findButton_, replaceButton_, replaceAllButton_, cancelButton_})
        buttons->addWidget(button);
    buttons->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(texts, 1);
    layout->addLayout(buttons);

    connect(findButton_, &QPushButton::clicked, this, &FindReplaceDialog::findNext);
    connect(replaceButton_, &QPushButton::clicked, this, &FindReplaceDialog::replace);
    connect(replaceAllButton_, &QPushButton::clicked, this, &FindReplaceDialog::replaceAll);
    connect(cancelButton_, &QPushButton::clicked, this, &FindReplaceDialog::close);
}

void FindReplaceDialog::showFind() {
    OpenInMode(false);
}

void FindReplaceDialog::showReplace() {
    OpenInMode(true);
}

void FindReplaceDialog::OpenInMode(bool replaceMode) {
    searchNote_->clear();
    findText_->setText(target_.selectedText());
    replaceText_->setEnabled(replaceMode);
    replaceButton_->setEnabled(replaceMode);
    replaceAllButton_->setEnabled(replaceMode);
    show();
    raise();
    activateWindow();
    findText_->setFocus();
    findText_->selectAll();
}

SearchOrigin FindReplaceDialog::origin() const {
    return fromFirst_->isChecked() ? SearchOrigin::FirstPosition : SearchOrigin::CurrentPosition;
}

void FindReplaceDialog::findNext() {
    const QString text = findText_->text();
    searchNote_->clear();
    if (TextSearch::IsBlank(text)) return;
    TextSearch search(target_);
    bool found = search.FindNext(text, origin());
    if (!found && origin() == SearchOrigin::CurrentPosition) {
        found = search.FindNext(text, SearchOrigin::FirstPosition);
        if (found) searchNote_->setText(tr("Достигнут конец текста; поиск продолжен с начала."));
    }
    if (!found) searchNote_->setText(tr("Не найдено: «%1»").arg(text));
    // Once the first occurrence is found, "Find next" goes on from it instead
    // of finding the same first occurrence again and again.
    if (found && fromFirst_->isChecked()) fromCurrent_->setChecked(true);
}

void FindReplaceDialog::replace() {
    TextSearch(target_).Replace(replaceText_->text());
}

void FindReplaceDialog::replaceAll() {
    TextSearch(target_).ReplaceAll(findText_->text(), replaceText_->text(), origin());
}

}  // namespace zr::shell
