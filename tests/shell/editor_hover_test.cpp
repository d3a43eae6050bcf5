// Hover: the word under the resting mouse shows the engine's text for a
// keyword or a declared name, the error's message over its extent, and a
// value from the debugger's hook when one is given.
#include "shell/editor/editor_hover.h"

#include <QTest>

#include "compiler/messages.h"
#include "language/hover.h"
#include "shell/editor/language_features.h"
#include "shell_test_support.h"

namespace zr::shell::testing {

class EditorHoverTest : public QObject {
    Q_OBJECT

  private slots:
    void keywordsAndNamesHaveTheEngineText() {
        const QString text = "DimS speed\nDup Mv speed\nGoTo Nowhere\n";
        const EditorAnalysis analysis(text, {});
        const int dup = text.indexOf("Dup") + 1;
        const QString dupText = HoverTextAt(analysis, dup);
        const auto* keyword = compiler::KeywordTable::Standard().FindKeyword("Dup");
        QCOMPARE(dupText, QString::fromStdString(language::KeywordHoverText(*keyword)));

        const int use = text.lastIndexOf("speed") + 2;
        QVERIFY(HoverTextAt(analysis, use).startsWith("speed: переменная Single"));
        QVERIFY(HoverTextAt(analysis, use).contains("строка 1"));

        // Over the error: its message first.
        const QString atError = HoverTextAt(analysis, text.indexOf("Nowhere") + 2);
        QVERIFY(atError.startsWith(Utf8(compiler::messages::kLabelNotFound)));
        QVERIFY(!dupText.contains(Utf8(compiler::messages::kLabelNotFound)));
    }

    void theDebuggerMayAddAValue() {
        const QString text = "DimI count\n5 Mv count\nDup\n";
        const EditorAnalysis analysis(text, {});
        const HoverValueSource value = [](const language::Declaration& declaration) {
            return declaration.name == "count" ? QString("= 5") : QString();
        };
        QVERIFY(HoverTextAt(analysis, text.lastIndexOf("count") + 1, value).endsWith("\n= 5"));
        QVERIFY(!HoverTextAt(analysis, text.indexOf("Dup") + 1, value).contains("= 5"));
    }

    void theMouseOverAWordGetsItsText() {
        TestWindow test;
        test.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(test.window.get()));
        test.setText("Swap\n");
        EditorHover& hover = test.window->languageFeatures()->hover();
        QTextCursor at(test.editor()->document());
        at.setPosition(2);
        const QPoint onSwap = test.editor()->cursorRect(at).center();
        QVERIFY(hover.TextAt(onSwap).startsWith("Swap"));
        // Far right of the line's end: no word there.
        QVERIFY(hover.TextAt(QPoint(test.editor()->viewport()->width() - 5, onSwap.y())).isEmpty());
    }
};

}  // namespace zr::shell::testing

QTEST_MAIN(zr::shell::testing::EditorHoverTest)
#include "editor_hover_test.moc"
