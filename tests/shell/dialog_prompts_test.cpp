// The real dialogs: each compiler message in its own box, critical ones with
// the error icon, plain ones without, both with OK only and the text alone;
// the unsaved-changes question with Save, Discard and Cancel.
#include "shell/main_window/dialog_prompts.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

namespace zr::shell::testing {

namespace {

// Runs `answer` on the message box once it is up.
void WhenMessageBoxShows(const std::function<void(QMessageBox&)>& answer) {
    QTimer::singleShot(0, [answer] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        answer(*box);
    });
}

}  // namespace

class DialogPromptsTest : public QObject {
    Q_OBJECT

  private slots:
    void compilerMessagesHaveTheirIconOkOnlyAndTheText() {
        QWidget owner;
        DialogPrompts prompts(&owner);
        for (auto [style, icon] :
             {std::pair{compiler::MessageStyle::Critical, QMessageBox::Critical},
              std::pair{compiler::MessageStyle::Plain, QMessageBox::NoIcon}}) {
            QMessageBox::Icon shownIcon = QMessageBox::Question;
            QString text;
            QMessageBox::StandardButtons buttons;
            WhenMessageBoxShows([&](QMessageBox& box) {
                shownIcon = box.icon();
                text = box.text();
                buttons = box.standardButtons();
                box.button(QMessageBox::Ok)->click();
            });
            prompts.showCompilerMessage({"Ошибка синтаксиса!", style});
            QCOMPARE(shownIcon, icon);
            QCOMPARE(text, QString("Ошибка синтаксиса!"));
            QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        }
    }

    void unsavedQuestionOffersSaveDiscardAndCancel() {
        QWidget owner;
        DialogPrompts prompts(&owner);
        QMessageBox::StandardButtons buttons;
        WhenMessageBoxShows([&](QMessageBox& box) {
            buttons = box.standardButtons();
            box.button(QMessageBox::Discard)->click();
        });
        QCOMPARE(prompts.askAboutUnsavedChanges(), UnsavedChoice::Discard);
        QCOMPARE(buttons, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);

        WhenMessageBoxShows([](QMessageBox& box) { box.reject(); });  // Escape, or the close button
        QCOMPARE(prompts.askAboutUnsavedChanges(), UnsavedChoice::Cancel);
    }
};

}  // namespace zr::shell::testing

QTEST_MAIN(zr::shell::testing::DialogPromptsTest)
#include "dialog_prompts_test.moc"
