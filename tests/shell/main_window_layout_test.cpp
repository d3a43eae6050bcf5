// The main window as the user meets it: caption, menus in order, toolbar keys
// and tooltips.
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>

#include "shell/find_replace_dialog.h"
#include "shell_test_support.h"

namespace zr::shell::testing {

namespace {

QStringList Captions(const QList<QAction*>& actions) {
    QStringList captions;
    for (QAction* action : actions) captions << (action->isSeparator() ? "-" : action->text());
    return captions;
}

}  // namespace

class MainWindowLayoutTest : public QObject {
    Q_OBJECT

  private slots:
    void captionIsFixed();
    void menusAndItemsInOrder();
    void toolbarKeysAndTooltips();
    void toolbarKeysAreComparedExactly();
    void rightClickMenuIsTheEditMenu();
    void findAndReplaceShareOneModelessDialog();
};

void MainWindowLayoutTest::captionIsFixed() {
    TestWindow test;
    QCOMPARE(test.window->windowTitle(), QString("Code Highlight Test"));
}

void MainWindowLayoutTest::menusAndItemsInOrder() {
    TestWindow test;
    const QList<QAction*> menus = test.window->menuBar()->actions();
    QCOMPARE(Captions(menus), (QStringList{"&File", "Редактирование", "&Help", "Комиляция",
                                           "Отладка", "Библиотеки", "Help"}));
    auto items = [&](int menu) { return Captions(menus[menu]->menu()->actions()); };
    QCOMPARE(items(0),
             (QStringList{"Новый", "Открыть", "Сохранить", "Загрузить Zr7340", "-", "Выход"}));
    QCOMPARE(items(1), (QStringList{"Вырезать", "Копировать", "Вставить", "-", "Выбрать все",
                                    "Найти", "Заменить"}));
    QCOMPARE(items(3),
             (QStringList{"Пробная компиляция", "Компиляция и запуск", "-", "Эмулятор  ZR-7340"}));
    QCOMPARE(items(4), (QStringList{"Трассировка"}));
    QCOMPARE(items(5), (QStringList{"Сохранить библиотеку", "Редактировать библиотеку"}));
    QCOMPARE(items(6), (QStringList{"Kelto", "О проекте"}));
}

void MainWindowLayoutTest::toolbarKeysAndTooltips() {
    TestWindow test;
    auto* toolbar = test.window->findChild<QToolBar*>("tbMain");
    QStringList keys, tips;
    int separators = 0;
    for (QAction* action : toolbar->actions()) {
        if (action->isSeparator()) {
            ++separators;
            continue;
        }
        keys << action->objectName();
        tips << action->toolTip();
        QVERIFY2(!action->icon().isNull(), qPrintable(action->objectName()));
    }
    QCOMPARE(keys, (QStringList{"new", "open", "save", "cut", "copy", "paste", "Find", "Replace",
                                "Run", "Help"}));
    QCOMPARE(tips, (QStringList{"New", "Open", "Save", "Cut", "Copy", "Paste", "Find", "Replace",
                                "Run", "Help"}));
    QCOMPARE(separators, 4);
}

void MainWindowLayoutTest::toolbarKeysAreComparedExactly() {
    TestWindow test;
    test.setText("Dup End");
    test.prompts->unsavedChoices = {UnsavedChoice::Discard};
    test.window->onToolbarKey("New");  // not a key: nothing happens
    test.window->onToolbarKey("run");
    QCOMPARE(test.prompts->unsavedQuestions, 0);
    QVERIFY(test.prompts->reports.empty());
    test.window->onToolbarKey("Run");
    QCOMPARE(test.prompts->reports.size(), size_t(1));
    test.window->onToolbarKey("new");
    QCOMPARE(test.prompts->unsavedQuestions, 1);
}

void MainWindowLayoutTest::rightClickMenuIsTheEditMenu() {
    TestWindow test;
    test.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(test.window.get()));
    auto* editMenu = test.window->findChild<QMenu*>("menuEdit");
    QSignalSpy shown(editMenu, &QMenu::aboutToShow);
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(10, 10),
                            test.editor()->viewport()->mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(test.editor()->viewport(), &event);
    QCOMPARE(shown.size(), 1);
    editMenu->hide();
}

void MainWindowLayoutTest::findAndReplaceShareOneModelessDialog() {
    TestWindow test;
    test.window->show();
    test.window->findChild<QAction*>("mnuEdit5")->trigger();
    auto* dialog = test.window->findChild<FindReplaceDialog*>();
    QVERIFY(dialog);
    QVERIFY(dialog->isVisible());
    QVERIFY(!dialog->isModal());
    test.window->onToolbarKey("Replace");
    QCOMPARE(test.window->findChildren<FindReplaceDialog*>().size(), 1);
}

}  // namespace zr::shell::testing

QTEST_MAIN(zr::shell::testing::MainWindowLayoutTest)
#include "main_window_layout_test.moc"
