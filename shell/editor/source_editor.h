// Text1: the Kelto source editor. Colours the word before the caret when a
// trigger key goes down, copies rich text and cuts and pastes plain text.
#pragma once

#include <QTextCursor>
#include <QTextEdit>
#include <optional>
#include <span>

#include "formats/rich_text.h"
#include "shell/editor/document_conversion.h"
#include "shell/editor/keyword_colourer.h"

class QMenu;

namespace zr::shell {

class EditorGutter;

class SourceEditor : public QTextEdit {
    Q_OBJECT

  public:
    explicit SourceEditor(QWidget* parent = nullptr);

    // The menu shown on a right click (the Edit menu).
    void setContextMenu(QMenu* menu) { contextMenu_ = menu; }

    // Replaces the whole content, unmodified and without undo history, with
    // the caret at the start. `colourWords`: colour it as if typed (for text
    // that came without colours). `progress` as for FillDocument: false when it
    // stopped the load (the editor then holds only the beginning).
    bool LoadDocument(const formats::RichText& document, bool colourWords = false,
                      const FillProgress& progress = {});
    formats::RichText richText() const;

    // Line numbers and breakpoints, left of the text.
    EditorGutter* gutter() const { return gutter_; }

    // The word the caret stands in, for the help.
    QString wordAtCaret() const;

    // The debugger's mark on the statement about to run: its extent gets a
    // background, its line a tint and the gutter an arrow, and the view
    // scrolls to it. It is no selection: the caret and the user's selection
    // stay as they are, so typing never replaces the statement. Positions in
    // editor units; the mark follows edits of the text around it.
    void setExecutionMark(int start, int length);
    void clearExecutionMark();
    // The marked text, empty without a mark.
    QString executionMarkText() const;
    bool hasExecutionMark() const { return executionMark_.has_value(); }
    // The text of the line being debugged (the marked statement's line), else
    // of the caret line, in global coordinates: what a window opening over the
    // editor should leave visible.
    QRect lineInUseOnScreen() const;

    // The language engine's marks (the error's wavy underline, the name
    // under the caret's uses), shown with the editor's own.
    void setLanguageMarks(const QList<ExtraSelection>& marks);
    const QList<ExtraSelection>& languageMarks() const { return languageMarks_; }

    // True for the keys that colour the word before the caret: Enter, Space,
    // Up, Down, and typing a bracket.
    static bool IsTriggerKey(const QKeyEvent& event);

    // Colours the word before the caret and shows its hint.
    void ColorText();

  public slots:
    void copyAsRichText();
    void cutAsPlainText();
    void pastePlainText();

  signals:
    void hintChanged(const QString& hint);
    void helpRequested(const QString& word);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    QMimeData* createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

  private:
    bool FillUnseen(const QString& text, std::span<const formats::ColourRun> runs,
                    const FillProgress& progress);
    void PaintLineTint(const QTextCursor& at, const QColor& colour);
    void ShowExtraSelections();
    void InsertPlain(const QString& text);

    KeywordColourer colourer_;
    EditorGutter* gutter_ = nullptr;
    QMenu* contextMenu_ = nullptr;
    bool colouring_ = false;                    // ColorText is changing the text
    std::optional<QTextCursor> executionMark_;  // selects the marked statement
    QList<ExtraSelection> languageMarks_;
};

// Selects `length` editor positions from `start` (UTF-16 units), clamped to the
// text: the one way the error selection, the trace mark and find select text.
void SelectRange(QTextEdit& editor, int start, int length);

}  // namespace zr::shell
