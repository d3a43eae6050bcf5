// A UserPrompts that answers from a script and records what it was asked.
#pragma once

#include <QStringList>
#include <deque>
#include <vector>

#include "shell/main_window/user_prompts.h"

namespace zr::shell::testing {

class FakePrompts : public UserPrompts {
  public:
    // Answers, used in order; an empty queue means "cancel".
    std::deque<QString> openNames;
    std::deque<QString> saveNames;
    std::deque<UnsavedChoice> unsavedChoices;
    std::deque<bool> confirmAnswers;
    std::deque<RecoveryChoice> recoveryChoices;  // empty: Later

    // What was asked and shown.
    std::vector<FileDialogSetup> openDialogs;
    std::vector<FileDialogSetup> saveDialogs;
    int unsavedQuestions = 0;
    QStringList fileErrors;
    std::vector<compiler::Message> compilerMessages;
    std::vector<compiler::MemoryReport> reports;
    QStringList notices;
    QStringList confirmations;      // the texts of the warnings that asked
    QStringList recoveryQuestions;  // the documents offered from recovery files

    QString askOpenFileName(const FileDialogSetup& setup) override {
        openDialogs.push_back(setup);
        return Take(openNames);
    }
    QString askSaveFileName(const FileDialogSetup& setup) override {
        saveDialogs.push_back(setup);
        return Take(saveNames);
    }
    UnsavedChoice askAboutUnsavedChanges() override {
        ++unsavedQuestions;
        return Take(unsavedChoices, UnsavedChoice::Cancel);
    }
    void showFileError(const QString& text) override { fileErrors << text; }
    void showCompilerMessage(const compiler::Message& message) override {
        compilerMessages.push_back(message);
    }
    void showCompileReport(const compiler::MemoryReport& report) override {
        reports.push_back(report);
    }
    void showNotice(const QString& text) override { notices << text; }
    bool confirm(const QString& text, const QString&) override {
        confirmations << text;
        return Take(confirmAnswers, false);
    }

    RecoveryChoice askAboutRecovery(const QString& document, const QDateTime&) override {
        recoveryQuestions << document;
        return Take(recoveryChoices, RecoveryChoice::Later);
    }

  private:
    template <typename T>
    static T Take(std::deque<T>& answers, T cancel = {}) {
        if (answers.empty()) return cancel;
        T answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

}  // namespace zr::shell::testing
