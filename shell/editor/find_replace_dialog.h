// The modeless find and replace dialog of the source editor. Opened in find
// mode the replacement box and both replace buttons are disabled. Each
// opening takes the editor's selection as the text to find; every command
// reads the editor's current text and selection afresh. "Find next" goes on
// from the start of the text after the last occurrence and says so; a text
// that is nowhere is reported in the dialog.
#pragma once

#include <QDialog>

#include "shell/editor/text_search.h"
#include "shell/editor/text_search_editor_target.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTextEdit;

namespace zr::shell {

class FindReplaceDialog : public QDialog {
    Q_OBJECT

  public:
    FindReplaceDialog(QTextEdit* editor, QWidget* parent);

  public slots:
    void showFind();
    void showReplace();

  private slots:
    void findNext();
    void replace();
    void replaceAll();

  private:
    void OpenInMode(bool replaceMode);
    SearchOrigin origin() const;

    TextSearchEditorTarget target_;
    QLineEdit* findText_;
    QLineEdit* replaceText_;
    QRadioButton* fromCurrent_;
    QRadioButton* fromFirst_;
    QPushButton* findButton_;
    QPushButton* replaceButton_;
    QPushButton* replaceAllButton_;
    QPushButton* cancelButton_;
    QLabel* searchNote_;  // "not found", or that the search went on from the start
};

}  // namespace zr::shell
