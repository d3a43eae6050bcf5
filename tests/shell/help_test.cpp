// The language help: the compiled collection opens, every Kelto word, every
// instruction and every compiler message has its topic, the links between
// the pages lead somewhere, and the viewer opens at the topic of a word.
#include <QDir>
#include <QHelpEngine>
#include <QHelpFilterEngine>
#include <QHelpLink>
#include <QHelpSearchEngine>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include "compiler/keywords.h"
#include "machine/opcodes.h"
#include "shell/help/help_browser.h"
#include "shell/help/help_location.h"
#include "shell/help/help_search_results.h"
#include "shell/help/help_topics.h"
#include "shell/help/help_viewer.h"

using zr::shell::HelpLocation;
using zr::shell::HelpTopics;
using zr::shell::HelpViewer;

namespace {

QString Page(const QUrl& url) {
    return url.adjusted(QUrl::RemoveFragment).fileName();
}

// The build places the help beside zr7340-ide, in <build>/shell; this test
// runs from <build>/tests/shell unless the build names the folder.
QString HelpFolder() {
#ifdef ZR_HELP_DIR
    return QStringLiteral(ZR_HELP_DIR);
#else
    return QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/../../shell"))
        .absolutePath();
#endif
}

}  // namespace

class HelpTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        qputenv(HelpLocation::kFolderVariable.toUtf8(), HelpFolder().toUtf8());
        viewer_ = std::make_unique<HelpViewer>(HelpLocation::CollectionFile(), nullptr);
        QVERIFY2(viewer_->hasHelp(), "the compiled help did not open");
    }

    void everyWordAndInstructionHasATopic() {
        const HelpTopics topics(*viewer_->engine());
        for (const auto& entry : zr::compiler::KeywordTable::Standard().entries()) {
            const QString word = QString::fromStdString(entry.word);
            const QUrl topic = topics.topicFor(word);
            QVERIFY2(topic != HelpTopics::ContentsPage(), qPrintable("no topic for " + word));
            QVERIFY2(!viewer_->engine()->fileData(topic).isEmpty(),
                     qPrintable("empty page for " + word));
        }
        // Statement words the compiler knows beyond the editor's table, and the instructions.
        QStringList words = {"SwapN", "Stack>X", "Stack", "i", "o", "r@", "clr"};
        for (const auto& opcode : zr::machine::kOpcodeTable)
            for (std::string_view text : {opcode.name, opcode.word})
                if (!text.empty()) words << QString::fromUtf8(text.data(), qsizetype(text.size()));
        for (const QString& word : words)
            QVERIFY2(!topics.keywordFor(word).isEmpty(), qPrintable("no topic for " + word));
    }

    void everyCompilerMessageHasATopic() {
        const HelpTopics topics(*viewer_->engine());
        // Every message the compiler declares, read from its header.
        QFile header(ZR_SOURCE_DIR "/compiler/messages.h");
        QVERIFY(header.open(QIODevice::ReadOnly));
        const QRegularExpression declared("string_view k\\w+\\s*=\\s*\"([^\"]*)\"");
        QStringList texts;
        for (auto match = declared.globalMatch(QString::fromUtf8(header.readAll()));
             match.hasNext();)
            texts << match.next().captured(1);
        QVERIFY(texts.size() >= 42);
        for (const QString& text : texts) {
            const QUrl topic = topics.topicFor(text);
            QCOMPARE(Page(topic), QString("messages.html"));
            // The page holds the text exactly as the compiler shows it.
            const QString page = QString::fromUtf8(viewer_->engine()->fileData(topic));
            QVERIFY2(page.contains(text.trimmed().toHtmlEscaped()), qPrintable(text));
        }
    }

    void wordsAreLookedUpIgnoringCaseAndUnknownOnesGiveTheContents() {
        const HelpTopics topics(*viewer_->engine());
        QCOMPARE(topics.topicFor("dup").toString(),
                 QString("qthelp://zr7340.kelto/doc/stack.html#Dup"));
        // The page and, after a '#', the anchor; declared names lead to their statement.
        const std::pair<const char*, const char*> cases[] = {{"DIMS", "declarations.html"},
                                                             {"goto", "jumps.html"},
                                                             {" Messanges ", "datalists.html"},
                                                             {"->", "operands.html"},
                                                             {"?", "output.html"},
                                                             {"Start:", "jumps.html"},
                                                             {"Start#", "#address"},
                                                             {"count@", "#indirect"}};
        for (const auto& [word, expected] : cases) {
            const QUrl topic = topics.topicFor(word);
            const QString page = QString(expected).section('#', 0, 0);
            if (!page.isEmpty()) QCOMPARE(Page(topic), page);
            if (QString(expected).contains('#'))
                QCOMPARE(topic.fragment(), QString(expected).section('#', 1));
        }
        for (const char* unknown : {"Counter", "", "   ", ":"})
            QCOMPARE(topics.topicFor(unknown), HelpTopics::ContentsPage());
    }

    // Links and pictures alike.
    void everyLinkLeadsToAPageAndAnchor() {
        QHelpEngine* engine = viewer_->engine();
        const QList<QUrl> pages =
            engine->files(HelpTopics::kNamespace, QString(), QStringLiteral("html"));
        QVERIFY(pages.size() >= 25);
        const QRegularExpression link(QStringLiteral("(?:href|src)=\"([^\"#]*)(?:#([^\"]*))?\""));
        for (const QUrl& page : pages) {
            const QString text = QString::fromUtf8(engine->fileData(page));
            for (auto match = link.globalMatch(text); match.hasNext();) {
                const auto found = match.next();
                if (found.captured(1).startsWith(QLatin1String("http"))) continue;
                const QUrl target =
                    found.captured(1).isEmpty() ? page : page.resolved(found.captured(1));
                const QString targetText = QString::fromUtf8(engine->fileData(target));
                QVERIFY2(!targetText.isEmpty(),
                         qPrintable(page.fileName() + " links to missing " + found.captured(1)));
                if (!found.captured(2).isEmpty())
                    QVERIFY2(
                        targetText.contains(QStringLiteral("id=\"%1\"").arg(found.captured(2))),
                        qPrintable(page.fileName() + " links to missing anchor " +
                                   found.captured(0)));
            }
        }
    }

    void everyIndexKeywordLeadsToAPageAndAnchor() {
        QHelpEngine* engine = viewer_->engine();
        const QStringList keywords = engine->filterEngine()->indices();
        QVERIFY(keywords.size() >= 150);
        for (const QString& keyword : keywords) {
            const QList<QHelpLink> links = engine->documentsForKeyword(keyword);
            QVERIFY2(!links.isEmpty(), qPrintable(keyword));
            const QString page = QString::fromUtf8(engine->fileData(links.first().url));
            QVERIFY2(!page.isEmpty(), qPrintable(keyword));
            const QString anchor = links.first().url.fragment();
            QVERIFY2(anchor.isEmpty() || page.contains(QStringLiteral("id=\"%1\"").arg(anchor)),
                     qPrintable(keyword + " leads to a missing anchor " + anchor));
        }
    }

    void showTopicOpensOneViewerAtTheWord() {
        QWidget owner;
        HelpViewer::ShowTopic("swap", &owner);
        HelpViewer* first = HelpViewer::Instance();
        QVERIFY(first);
        QVERIFY(first->isVisible());
        QCOMPARE(first->currentPage().fragment(), QString("Swap"));
        QVERIFY(first->browser()->toPlainText().contains(QStringLiteral("меняет местами X и Y")));

        HelpViewer::ShowTopic("NoSuchWord", &owner);
        QCOMPARE(HelpViewer::Instance(), first);
        QCOMPARE(first->currentPage(), HelpTopics::ContentsPage());
    }

    void clickingALinkOpensItsPage() {
        HelpViewer viewer(HelpLocation::CollectionFile(), nullptr);
        viewer.resize(900, 640);
        viewer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&viewer));
        zr::shell::HelpBrowser* browser = viewer.browser();
        const QTextCursor link = browser->document()->find(QStringLiteral("Первый сеанс:"));
        QVERIFY(!link.isNull());
        browser->setTextCursor(link);
        browser->ensureCursorVisible();
        QTextCursor start = link;
        start.setPosition(link.selectionStart() + 2);
        const QPoint inside = browser->cursorRect(start).center();
        QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, inside);
        QTRY_COMPARE(Page(viewer.currentPage()), QString("getting-started.html"));
    }

    void fullTextSearchFindsAPage() {
        // The viewer builds the search index in the background when it opens;
        // a search before the index is ready finds nothing. Build it now and
        // wait for it (slow on a loaded machine), then ask until a search finds it.
        QHelpSearchEngine* search = viewer_->engine()->searchEngine();
        QSignalSpy indexed(search, &QHelpSearchEngine::indexingFinished);
        search->reindexDocumentation();
        QVERIFY(indexed.wait(120000));
        auto findsHardwarePage = [search] {
            QSignalSpy searched(search, &QHelpSearchEngine::searchingFinished);
            search->search(QStringLiteral("синхронизации"));
            if (!searched.wait(5000)) return false;
            const auto results = search->searchResults(0, search->searchResultCount());
            return std::any_of(results.begin(), results.end(), [](const auto& result) {
                return Page(result.url()) == "hardware.html";
            });
        };
        QTRY_VERIFY_WITH_TIMEOUT(findsHardwarePage(), 30000);

        // The hits show the page's characters, not HTML entities.
        auto* results = viewer_->findChild<zr::shell::HelpSearchResults*>("helpSearchResults");
        QVERIFY(results);
        QSignalSpy searched(search, &QHelpSearchEngine::searchingFinished);
        search->search(QStringLiteral("тик"));
        QVERIFY(searched.wait(5000));
        const QString shown = results->toPlainText();
        QVERIFY2(shown.contains("\"тик\""), qPrintable(shown));
        QVERIFY2(!shown.contains("&quot") && !shown.contains("&lt") && !shown.contains("&gt"),
                 qPrintable(shown));
    }

    void searchSnippetsLoseOnlyCutEntities() {
        const struct {
            const char* snippet;
            const char* clean;
        } cases[] = {{"...k 5 &lt; Ret <b>x</b>...", "...k 5 &lt; Ret <b>x</b>..."},
                     {"...не IF, иначе &quot...", "...не IF, иначе ..."},
                     {"...GoTo &l", "...GoTo "},
                     {"...t; Ret &amp; <b>Dup</b>", "... Ret &amp; <b>Dup</b>"},
                     {"&#8804; 0", "&#8804; 0"}};
        for (const auto& c : cases)
            QCOMPARE(zr::shell::HelpSearchResults::CleanSnippet(c.snippet), QString(c.clean));
    }

    void missingHelpIsExplained() {
        QTemporaryDir empty;
        qputenv(HelpLocation::kFolderVariable.toUtf8(), empty.path().toUtf8());
        QCOMPARE(HelpLocation::CollectionFile(), QString());
        HelpViewer viewer(HelpLocation::CollectionFile(), nullptr);
        QVERIFY(!viewer.hasHelp());
        const QString shown = viewer.browser()->toPlainText();
        QVERIFY(shown.contains("KeltoHelp.qhc"));
        QVERIFY(shown.contains(QDir::toNativeSeparators(empty.path())));
        viewer.OpenWord("Dup");  // harmless without help
        qputenv(HelpLocation::kFolderVariable.toUtf8(), HelpFolder().toUtf8());
    }

  private:
    std::unique_ptr<HelpViewer> viewer_;
};

QTEST_MAIN(HelpTest)
#include "help_test.moc"
