// Everything the main window asks or tells the user through a modal dialog.
// The window talks to this interface only, so tests can answer in its place.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include "compiler/compiler.h"
#include "compiler/memory_report.h"

namespace zr::shell {

// What to do with unsaved changes before they would be replaced.
enum class UnsavedChoice { Save, Discard, Cancel };

// What to do with text found in a recovery file at start-up.
enum class RecoveryChoice { Restore, Delete, Later };

// A file dialog's set-up: its filter ("*.zrt", "*.zrt *.kel"), or several
// separated by ";;" of which the first is chosen ("*.zrt;;*.kel"), and the
// folder or file it starts at.
struct FileDialogSetup {
    QString filter;
    QString startAt;
    QString caption;     // the dialog's title; empty: the toolkit's own
    QStringList places;  // folders offered beside the file list
};

class UserPrompts {
  public:
    virtual ~UserPrompts() = default;

    // The chosen file, or empty when the user cancelled.
    virtual QString askOpenFileName(const FileDialogSetup& setup) = 0;
    virtual QString askSaveFileName(const FileDialogSetup& setup) = 0;

    virtual UnsavedChoice askAboutUnsavedChanges() = 0;

    // A failed file command: what failed and why.
    virtual void showFileError(const QString& text) = 0;

    // One compiler message in its own box (critical: error icon; plain: none).
    virtual void showCompilerMessage(const compiler::Message& message) = 0;

    // The compile report window, until it closes itself.
    virtual void showCompileReport(const compiler::MemoryReport& report) = 0;

    // A plain notice, e.g. a window that this version does not have yet.
    virtual void showNotice(const QString& text) = 0;

    // A warning that asks whether to go on: true when the user chose the
    // button `goOn` ("Открыть всё равно"), false for Cancel.
    virtual bool confirm(const QString& text, const QString& goOn) = 0;

    // Unsaved text of `document` (a file name, or words for a new text) was
    // kept at `savedAt` when the environment ended without saving it.
    virtual RecoveryChoice askAboutRecovery(const QString& document, const QDateTime& savedAt) = 0;
};

}  // namespace zr::shell
