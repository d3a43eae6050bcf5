// Small helpers shared by the environment's tests.
#pragma once

#include <QFile>
#include <QStandardPaths>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <cstdint>
#include <memory>
#include <string_view>

#include "fake_prompts.h"
#include "shell/editor/editor_colours.h"
#include "shell/editor/source_editor.h"
#include "shell/main_window/frm_main.h"

namespace zr::shell::testing {

// A UTF-8 text (a compiler message, say) as a QString.
inline QString Utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

inline QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Windows colour (0x00BBGGRR) of the character at `position`.
inline std::uint32_t ColourAt(const QTextDocument& document, int position) {
    QTextCursor cursor(const_cast<QTextDocument*>(&document));
    cursor.setPosition(position + 1);
    return WindowsColourOf(cursor.charFormat());
}

// A main window whose dialogs are answered by the returned FakePrompts.
struct TestWindow {
    std::unique_ptr<FrmMain> window;
    FakePrompts* prompts = nullptr;

    explicit TestWindow(const QString& programFolder = QString()) {
        // The remembered folder goes to a test settings file, not the user's.
        QStandardPaths::setTestModeEnabled(true);
        window = std::make_unique<FrmMain>(programFolder);
        auto fake = std::make_unique<FakePrompts>();
        prompts = fake.get();
        window->setPrompts(std::move(fake));
    }
    SourceEditor* editor() const { return window->editor(); }

    // Replaces the text as if typed (so the document counts as changed).
    void setText(const QString& text) const {
        editor()->selectAll();
        editor()->insertPlainText(text);
    }
};

}  // namespace zr::shell::testing
