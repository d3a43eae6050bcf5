// UserPrompts through Qt's dialogs and message boxes.
#pragma once

#include "shell/main_window/user_prompts.h"

class QWidget;

namespace zr::shell {

class DialogPrompts : public UserPrompts {
  public:
    explicit DialogPrompts(QWidget* owner) : owner_(owner) {}

    QString askOpenFileName(const FileDialogSetup& setup) override;
    QString askSaveFileName(const FileDialogSetup& setup) override;
    UnsavedChoice askAboutUnsavedChanges() override;
    void showFileError(const QString& text) override;
    void showCompilerMessage(const compiler::Message& message) override;
    void showCompileReport(const compiler::MemoryReport& report) override;
    void showNotice(const QString& text) override;
    bool confirm(const QString& text, const QString& goOn) override;
    RecoveryChoice askAboutRecovery(const QString& document, const QDateTime& savedAt) override;

  private:
    QWidget* owner_;
};

}  // namespace zr::shell
