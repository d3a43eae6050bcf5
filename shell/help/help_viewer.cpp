#include "shell/help/help_viewer.h"

#include <QDir>
#include <QFileInfo>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QHelpSearchEngine>
#include <QHelpSearchQueryWidget>
#include <QLineEdit>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>

#include "shell/help/help_browser.h"
#include "shell/help/help_location.h"
#include "shell/help/help_search_results.h"
#include "shell/help/help_topics.h"
#include "shell/main_window/data_folders.h"

namespace zr::shell {

QPointer<HelpViewer> HelpViewer::instance_;

void HelpViewer::ShowTopic(const QString& word, QWidget* parent) {
    if (!instance_) {
        const QString collection = HelpLocation::CollectionFile();
        instance_ = new HelpViewer(
            collection.isEmpty() ? collection : HelpLocation::WritableCollection(collection),
            parent);
        instance_->setAttribute(Qt::WA_DeleteOnClose);
    }
    instance_->OpenWord(word);
    instance_->show();
    instance_->raise();
    instance_->activateWindow();
}

HelpViewer* HelpViewer::Instance() {
    return instance_;
}

HelpViewer::HelpViewer(const QString& collectionFile, QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(tr("Справка по языку Kelto"));
    resize(900, 640);

    const bool opened = OpenCollection(collectionFile);
    browser_ = new HelpBrowser(engine_, this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    if (!opened) {
        layout->addWidget(browser_);
        ShowMissingHelp(collectionFile);
        return;
    }

    tabs_ = new QTabWidget(this);
    tabs_->addTab(engine_->contentWidget(), tr("Содержание"));
    tabs_->addTab(CreateIndexTab(), tr("Указатель"));
    tabs_->addTab(CreateSearchTab(), tr("Поиск"));
    connect(engine_->contentWidget(), &QHelpContentWidget::linkActivated, browser_,
            [this](const QUrl& page) { browser_->setSource(page); });
    // The contents are built in the background; show their chapters open.
    connect(engine_->contentModel(), &QHelpContentModel::contentsCreated, this,
            [this] { engine_->contentWidget()->expandToDepth(1); });

    auto* splitter = new QSplitter(this);
    splitter->addWidget(tabs_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 3);
    layout->addWidget(splitter);
    browser_->setSource(HelpTopics::ContentsPage());
}

bool HelpViewer::OpenCollection(const QString& collectionFile) {
    if (collectionFile.isEmpty()) return false;
    auto* engine = new QHelpEngine(collectionFile, this);
    engine->setReadOnly(true);
    engine->setUsesFilterEngine(true);
    if (!engine->setupData() || engine->registeredDocumentations().isEmpty()) {
        delete engine;
        return false;
    }
    engine_ = engine;
    return true;
}

QWidget* HelpViewer::CreateIndexTab() {
    auto* tab = new QWidget(this);
    indexFilter_ = new QLineEdit(tab);
    indexFilter_->setPlaceholderText(tr("Введите слово"));
    indexFilter_->setClearButtonEnabled(true);
    QHelpIndexWidget* index = engine_->indexWidget();
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(indexFilter_);
    layout->addWidget(index);

    connect(indexFilter_, &QLineEdit::textChanged, index,
            [index](const QString& text) { index->filterIndices(text); });
    connect(indexFilter_, &QLineEdit::returnPressed, index, &QHelpIndexWidget::activateCurrentItem);
    connect(index, &QHelpIndexWidget::documentActivated, this,
            [this](const QHelpLink& document) { browser_->setSource(document.url); });
    // A keyword on several pages: its first page is the main one.
    connect(index, &QHelpIndexWidget::documentsActivated, this,
            [this](const QList<QHelpLink>& documents) {
                if (!documents.isEmpty()) browser_->setSource(documents.first().url);
            });
    return tab;
}

QWidget* HelpViewer::CreateSearchTab() {
    auto* tab = new QWidget(this);
    QHelpSearchEngine* search = engine_->searchEngine();
    auto* layout = new QVBoxLayout(tab);
    auto* results = new HelpSearchResults(*search, tab);
    layout->addWidget(search->queryWidget());
    layout->addWidget(results, 1);
    connect(search->queryWidget(), &QHelpSearchQueryWidget::search, search,
            [search] { search->search(search->queryWidget()->searchInput()); });
    connect(results, &HelpSearchResults::pageChosen, browser_,
            [this](const QUrl& page) { browser_->setSource(page); });
    // The index of the pages is built in the background the first time.
    search->scheduleIndexDocumentation();
    return tab;
}

void HelpViewer::ShowMissingHelp(const QString& collectionFile) {
    const QString folder =
        collectionFile.isEmpty() ? HelpFolder() : QFileInfo(collectionFile).absolutePath();
    browser_->setHtml(
        tr("<h2>Справка по языку недоступна</h2>"
           "<p>Сборник справки <b>%1</b> и её страницы <b>%2</b> ожидались в папке "
           "<b>%3</b>, рядом с файлом программы среды, и не открылись.</p>"
           "<p>Сборка среды кладёт оба файла туда: соберите её заново или укажите "
           "папку с ними в переменной окружения <b>%4</b>.</p>")
            .arg(HelpLocation::kCollectionName, HelpLocation::kDocumentationName,
                 QDir::toNativeSeparators(QDir(folder).absolutePath()).toHtmlEscaped(),
                 HelpLocation::kFolderVariable));
}

void HelpViewer::OpenWord(const QString& word) {
    if (!engine_) return;
    browser_->setSource(HelpTopics(*engine_).topicFor(word));
}

QUrl HelpViewer::currentPage() const {
    return browser_->source();
}

}  // namespace zr::shell
