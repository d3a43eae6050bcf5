#include "shell/main_window/dialog_prompts.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

#include "shell/main_window/frm_paport_compiler.h"

namespace zr::shell {
namespace {

QString Tr(const char* text) {
    return QCoreApplication::translate("DialogPrompts", text);
}

// "*.zrt" -> "*.zrt (*.zrt)": the description is the pattern itself.
QString DialogFilter(const QString& pattern) {
    return pattern + " (" + pattern + ")";
}

// The suffix a name without one gets under a filter: "*.zrt" -> "zrt".
QString SuffixOf(const QString& filter) {
    return filter.section(u' ', 0, 0).remove("*.");
}

void PrepareDialog(QFileDialog& dialog, const FileDialogSetup& setup) {
    QStringList filters;
    for (const QString& pattern : setup.filter.split(";;")) filters << DialogFilter(pattern);
    dialog.setNameFilters(filters);
    if (!setup.caption.isEmpty()) dialog.setWindowTitle(setup.caption);
    if (!setup.places.isEmpty()) {
        QList<QUrl> places = dialog.sidebarUrls();
        for (const QString& folder : setup.places) places.prepend(QUrl::fromLocalFile(folder));
        dialog.setSidebarUrls(places);
    }
    const QFileInfo startAt(setup.startAt);
    if (startAt.isDir()) {
        dialog.setDirectory(setup.startAt);
    } else {
        dialog.setDirectory(startAt.absolutePath());
        dialog.selectFile(startAt.fileName());
    }
}

}  // namespace

QString DialogPrompts::askOpenFileName(const FileDialogSetup& setup) {
    QFileDialog dialog(owner_);
    PrepareDialog(dialog, setup);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

QString DialogPrompts::askSaveFileName(const FileDialogSetup& setup) {
    QFileDialog dialog(owner_);
    PrepareDialog(dialog, setup);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The suffix follows the filter chosen: "prog" under "*.kel" saves prog.kel.
    dialog.setDefaultSuffix(SuffixOf(setup.filter.section(";;", 0, 0)));
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, &dialog,
        [&dialog](const QString& filter) { dialog.setDefaultSuffix(SuffixOf(filter)); });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

UnsavedChoice DialogPrompts::askAboutUnsavedChanges() {
    const auto answer = QMessageBox::warning(
        owner_, QCoreApplication::applicationName(),
        Tr("Текст программы изменён. Сохранить изменения?"),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    switch (answer) {
        case QMessageBox::Save:
            return UnsavedChoice::Save;
        case QMessageBox::Discard:
            return UnsavedChoice::Discard;
        default:
            return UnsavedChoice::Cancel;
    }
}

void DialogPrompts::showFileError(const QString& text) {
    QMessageBox::critical(owner_, QCoreApplication::applicationName(), text);
}

void DialogPrompts::showCompilerMessage(const compiler::Message& message) {
    const auto icon = message.style == compiler::MessageStyle::Critical ? QMessageBox::Critical
                                                                        : QMessageBox::NoIcon;
    QMessageBox box(icon, QCoreApplication::applicationName(), QString::fromStdString(message.text),
                    QMessageBox::Ok, owner_);
    box.exec();
}

void DialogPrompts::showCompileReport(const compiler::MemoryReport& report) {
    FrmPaportCompiler window(report, owner_);
    window.exec();
}

void DialogPrompts::showNotice(const QString& text) {
    QMessageBox::information(owner_, QCoreApplication::applicationName(), text);
}

bool DialogPrompts::confirm(const QString& text, const QString& goOn) {
    QMessageBox box(QMessageBox::Warning, QCoreApplication::applicationName(), text,
                    QMessageBox::Cancel, owner_);
    QPushButton* goOnButton = box.addButton(goOn, QMessageBox::AcceptRole);
    box.setDefaultButton(QMessageBox::Cancel);
    box.exec();
    return box.clickedButton() == goOnButton;
}

RecoveryChoice DialogPrompts::askAboutRecovery(const QString& document, const QDateTime& savedAt) {
    QMessageBox box(QMessageBox::Question, QCoreApplication::applicationName(),
                    QCoreApplication::translate(
                        "DialogPrompts",
                        "Найден несохранённый текст: %1, сохранён для восстановления %2.\n"
                        "Восстановить его в редакторе?")
                        .arg(document, QLocale().toString(savedAt, QLocale::ShortFormat)),
                    QMessageBox::NoButton, owner_);
    QPushButton* restore = box.addButton(
        QCoreApplication::translate("DialogPrompts", "Восстановить"), QMessageBox::AcceptRole);
    QPushButton* remove = box.addButton(QCoreApplication::translate("DialogPrompts", "Удалить"),
                                        QMessageBox::DestructiveRole);
    QPushButton* later = box.addButton(QCoreApplication::translate("DialogPrompts", "Позже"),
                                       QMessageBox::RejectRole);
    box.setDefaultButton(restore);
    box.setEscapeButton(later);
    box.exec();
    if (box.clickedButton() == restore) return RecoveryChoice::Restore;
    if (box.clickedButton() == remove) return RecoveryChoice::Delete;
    return RecoveryChoice::Later;
}

}  // namespace zr::shell
