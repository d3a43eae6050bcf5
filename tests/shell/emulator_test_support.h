// Helpers for the emulator and trace window tests: compiling a snippet and
// working the keypad picture as a user would.
#pragma once

#include <QDockWidget>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTreeWidget>
#include <QtTest>
#include <memory>

#include "compiler/compiler.h"
#include "compiler/source_text.h"
#include "shell/device/emulator_windows.h"
#include "shell/device/frm_test.h"
#include "shell/device/keypad_picture.h"

namespace zr::shell::testing {

// Waits long enough for the worker thread, never as an assertion on speed.
inline constexpr int kWorkerTimeout = 10000;

inline std::unique_ptr<compiler::Compiler> Compile(const QString& source) {
    auto compiled = std::make_unique<compiler::Compiler>();
    if (!compiled->CompileSource(compiler::ToCompilerText(source.toStdString())))
        for (const auto& message : compiled->messages)
            qWarning("compile: %s", message.text.c_str());
    return compiled;
}

// A click in the middle of key `index` of the window's keypad picture.
inline void ClickKey(FrmTest& window, int index) {
    KeypadPicture* keypad = window.keypad();
    const QPoint centre((2 * (index % 4) + 1) * keypad->width() / 8,
                        (2 * (index / 4) + 1) * keypad->height() / 8);
    QTest::mousePress(keypad, Qt::LeftButton, {}, centre);
    QTest::mouseRelease(keypad, Qt::LeftButton, {}, centre);
}

// A loop whose line 4 is reached once per pass, with i = 1, 2, 3.
inline constexpr const char* kLoopProgram =
    "DimI sum\n"
    "0 -> sum\n"
    "Do + i = 1 >> 3\n"
    "  sum i + -> sum\n"
    "Loop i\n"
    "-1 Wait\n";

// Clicks the check box of `item`'s first column as the mouse would.
inline void ClickCheckBox(QTreeWidget& tree, QTreeWidgetItem& item) {
    // The pane shares its dock area with others as tabs: bring its tab up.
    for (QWidget* parent = tree.parentWidget(); parent; parent = parent->parentWidget())
        if (auto* dock = qobject_cast<QDockWidget*>(parent)) dock->raise();
    QTRY_VERIFY(tree.viewport()->height() > 0);
    tree.scrollToItem(&item);
    QStyleOptionViewItem option;
    option.initFrom(&tree);
    option.rect = tree.visualItemRect(&item);
    option.features |= QStyleOptionViewItem::HasCheckIndicator;
    const QRect box =
        tree.style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, &tree);
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, box.center());
}

// Two waits for a key, each after a word on the display.
inline constexpr const char* kTwoWaits = R"(! [1,1,clr] "First"
-1 Wait
! [1,1,clr] "Second"
-1 Wait
End
)";

inline constexpr int kKeyF = 12;
inline constexpr int kKeyEnter = 15;

// Waits until display line 1 of `window` reads `text`, or shows the address prompt.
#define ZR_WAIT_LINE1(window, text)                                              \
    QTRY_COMPARE_WITH_TIMEOUT((window)->displayLine(1).trimmed(), QString(text), \
                              zr::shell::testing::kWorkerTimeout)
#define ZR_WAIT_PROMPT(window)                                                     \
    QTRY_VERIFY_WITH_TIMEOUT((window)->displayLine(1).startsWith("Adres\\Enter?"), \
                             zr::shell::testing::kWorkerTimeout)

// Opens the emulator on `compiled` after a run command and starts the program
// at address 1: a key for the greeting, Enter at the address prompt. Returns
// the window, or null after a failed wait.
inline FrmTest* StartAtAddressOne(EmulatorWindows& windows, const compiler::Compiler& compiled) {
    windows.OpenEmulator(compiled, EmulatorStart::AfterRun);
    FrmTest* window = windows.emulatorWindow();
    [&] {
        ZR_WAIT_LINE1(window, "ZR-7340 vers.B01");
        ClickKey(*window, 1);
        ZR_WAIT_PROMPT(window);
        ClickKey(*window, kKeyEnter);
    }();
    return QTest::currentTestFailed() ? nullptr : window;
}

}  // namespace zr::shell::testing
