// Keeps the recovery file of one editor document: written within a few seconds
// after typing stops while the document has unsaved changes, removed when the
// changes are saved or given up. The file is locked for as long as this object
// lives, so a second environment does not offer it.
#pragma once

#include <QLockFile>
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

#include "formats/rich_text.h"

class QTextDocument;

namespace zr::shell {

class DocumentRecovery : public QObject {
    Q_OBJECT

  public:
    // `folder`: where recovery files live; `content` gives the document's text
    // with colours and `path` its file (empty for a new source) when written.
    DocumentRecovery(QTextDocument& document, const QString& folder,
                     std::function<formats::RichText()> content, std::function<QString()> path,
                     QObject* parent = nullptr);
    ~DocumentRecovery() override;

    // This document's recovery file (it exists only while there is unsaved text).
    QString file() const { return file_; }

    // Writes the recovery file now if the document has unsaved changes.
    void WriteNow();
    // The changes are saved or given up: no recovery file.
    void Discard();

    // How long after the last change the file is written.
    static constexpr int kQuietMilliseconds = 2000;
    // A shorter pause, for tests that type and wait for the file.
    void setQuietMilliseconds(int milliseconds) { quiet_.setInterval(milliseconds); }

  private:
    QTextDocument& document_;
    QString file_;
    std::unique_ptr<QLockFile> lock_;
    std::function<formats::RichText()> content_;
    std::function<QString()> path_;
    QTimer quiet_;
};

}  // namespace zr::shell
