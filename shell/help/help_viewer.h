// The Kelto language help: contents, index and full-text search beside the
// page view. One viewer serves the whole environment; F1 and the Help menu
// open it (or bring it to the front) at the topic of a word.
#pragma once

#include <QPointer>
#include <QUrl>
#include <QWidget>

class QHelpEngine;
class QLineEdit;
class QTabWidget;

namespace zr::shell {

class HelpBrowser;

class HelpViewer : public QWidget {
    Q_OBJECT

  public:
    // Opens the viewer at the page of `word` (looked up in the help index
    // ignoring case); an unknown or empty word shows the contents page.
    static void ShowTopic(const QString& word, QWidget* parent);

    // The viewer showTopic uses; null before the first call.
    static HelpViewer* Instance();

    // Opens the collection at `collectionFile`; an empty or unusable path
    // gives a viewer that explains where the help was expected.
    HelpViewer(const QString& collectionFile, QWidget* parent);

    bool hasHelp() const { return engine_ != nullptr; }
    void OpenWord(const QString& word);
    QUrl currentPage() const;
    HelpBrowser* browser() const { return browser_; }
    QHelpEngine* engine() const { return engine_; }

  private:
    bool OpenCollection(const QString& collectionFile);
    QWidget* CreateIndexTab();
    QWidget* CreateSearchTab();
    void ShowMissingHelp(const QString& collectionFile);

    static QPointer<HelpViewer> instance_;

    QHelpEngine* engine_ = nullptr;
    HelpBrowser* browser_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QLineEdit* indexFilter_ = nullptr;
};

}  // namespace zr::shell
