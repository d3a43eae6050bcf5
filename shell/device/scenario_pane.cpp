#include "shell/device/scenario_pane.h"

#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTextBlock>
#include <QVBoxLayout>

#include "scenario/scenario_runner.h"
#include "shell/editor/source_editor.h"
#include "shell/main_window/data_folders.h"
#include "shell/main_window/frm_main.h"

namespace zr::shell {
namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kLineRole = Qt::UserRole + 1;

}  // namespace

ScenarioMark RunScenarioFile(const QString& path, const scenario::LoadOptions& options) {
    ScenarioMark mark{path};
    const auto loaded = scenario::LoadScenario(path.toStdU16String(), options);
    if (!loaded.scenario) {
        mark.line = loaded.error.line;
        mark.summary = QString::fromStdString(loaded.error.message);
        return mark;
    }
    const auto result = scenario::RunScenario(*loaded.scenario);
    mark.passed = result.passed();
    if (mark.passed) {
        mark.summary = QStringLiteral("ok");
    } else {
        const auto& failure = *result.failure;
        mark.line = failure.line;
        mark.summary = QString::fromStdString(failure.keyword + ": expected " + failure.expected +
                                              ", found " + failure.actual);
    }
    return mark;
}

ScenarioPane::ScenarioPane(scenario::LoadOptions options, QWidget* parent)
    : QWidget(parent),
      options_(std::move(options)),
      list_(new QListWidget(this)),
      runOne_(new QPushButton(tr("Запустить"), this)),
      runAll_(new QPushButton(tr("Запустить все"), this)),
      status_(new QLabel(this)) {
    setObjectName("scenarioPane");
    list_->setObjectName("scenarioList");
    runOne_->setObjectName("runScenario");
    runAll_->setObjectName("runAllScenarios");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(runOne_);
    buttons->addWidget(runAll_);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addLayout(buttons);
    layout->addWidget(list_);
    layout->addWidget(status_);
    connect(runOne_, &QPushButton::clicked, this, &ScenarioPane::runSelected);
    connect(runAll_, &QPushButton::clicked, this, &ScenarioPane::runAll);
    connect(list_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        if (item->data(kLineRole).toInt() > 0)
            emit openScenarioAt(item->data(kPathRole).toString(), item->data(kLineRole).toInt());
    });
    setSource({});
}

ScenarioPane::~ScenarioPane() {
    Stop();
}

void ScenarioPane::Stop() {
    cancel_ = true;
    if (worker_.joinable()) worker_.join();
    cancel_ = false;
}

void ScenarioPane::setSource(const QString& sourcePath) {
    list_->clear();
    if (!sourcePath.isEmpty()) {
        const QFileInfo source(sourcePath);
        const QFileInfoList files = source.dir().entryInfoList(
            {source.completeBaseName() + "*.scn.yaml"}, QDir::Files, QDir::Name | QDir::IgnoreCase);
        for (const QFileInfo& file : files) {
            auto* item = new QListWidgetItem(file.fileName(), list_);
            item->setData(kPathRole, file.absoluteFilePath());
        }
    }
    if (list_->count() > 0) list_->setCurrentRow(0);
    runOne_->setEnabled(list_->count() > 0);
    runAll_->setEnabled(list_->count() > 0);
    status_->setText(list_->count() ? tr("Сценариев: %1").arg(list_->count())
                                    : tr("Рядом с программой нет сценариев (ИМЯ*.scn.yaml)"));
    emit scenariosListed(list_->count());
}

QStringList ScenarioPane::scenarioFiles() const {
    QStringList files;
    for (int row = 0; row < list_->count(); ++row)
        files << list_->item(row)->data(kPathRole).toString();
    return files;
}

void ScenarioPane::runSelected() {
    if (QListWidgetItem* item = list_->currentItem()) Run({item->data(kPathRole).toString()});
}

void ScenarioPane::runAll() {
    std::vector<QString> paths;
    for (const QString& path : scenarioFiles()) paths.push_back(path);
    Run(std::move(paths));
}

// One run at a time: a new one waits for the scenario under way to end.
void ScenarioPane::Run(std::vector<QString> paths) {
    if (paths.empty()) return;
    Stop();
    done_ = false;
    runOne_->setEnabled(false);
    runAll_->setEnabled(false);
    status_->setText(tr("Выполняется…"));
    worker_ = std::thread([this, paths = std::move(paths), options = options_] {
        for (const QString& path : paths) {
            if (cancel_) break;
            const ScenarioMark mark = RunScenarioFile(path, options);
            QMetaObject::invokeMethod(
                this, [this, mark] { Mark(mark); }, Qt::QueuedConnection);
        }
        QMetaObject::invokeMethod(
            this,
            [this] {
                done_ = true;
                runOne_->setEnabled(true);
                runAll_->setEnabled(true);
                int passed = 0;
                for (int row = 0; row < list_->count(); ++row)
                    passed += list_->item(row)->data(Qt::UserRole + 2).toBool();
                status_->setText(tr("Прошли: %1 из %2").arg(passed).arg(list_->count()));
                emit runFinished();
            },
            Qt::QueuedConnection);
    });
}

void ScenarioPane::Mark(const ScenarioMark& mark) {
    for (int row = 0; row < list_->count(); ++row) {
        QListWidgetItem* item = list_->item(row);
        if (item->data(kPathRole).toString() != mark.path) continue;
        const QString name = QFileInfo(mark.path).fileName();
        item->setText(mark.passed ? tr("✓ %1").arg(name)
                                  : tr("✗ %1:%2 — %3").arg(name).arg(mark.line).arg(mark.summary));
        item->setForeground(mark.passed ? QColor(0, 128, 0) : QColor(192, 0, 0));
        item->setToolTip(mark.passed ? QString()
                                     : tr("Двойной щелчок открывает сценарий на этой строке"));
        item->setData(kLineRole, mark.passed ? 0 : mark.line);
        item->setData(Qt::UserRole + 2, mark.passed);
    }
}

ScenarioPane* ScenarioPane::InstallInto(FrmMain& main) {
    const QStringList folders = LibraryFolders();
    scenario::LoadOptions options;
    if (!folders.isEmpty()) options.libDir = folders.front().toStdU16String();
    for (int i = 1; i < folders.size(); ++i)
        options.laterLibDirs.emplace_back(folders[i].toStdU16String());
    auto* pane = new ScenarioPane(std::move(options));
    auto* dock = new QDockWidget(QObject::tr("Тесты"), &main);
    dock->setObjectName("scenarioDock");
    dock->setWidget(pane);
    main.addDockWidget(Qt::BottomDockWidgetArea, dock);
    // The pane takes room from the editor only for a source that has scenarios.
    QObject::connect(pane, &ScenarioPane::scenariosListed, dock, [dock, &main](int count) {
        const bool appears = count > 0 && dock->isHidden();
        dock->setVisible(count > 0);
        // A few lines of list: the editor keeps most of the window.
        if (appears)
            main.resizeDocks({dock}, {dock->fontMetrics().lineSpacing() * 9}, Qt::Vertical);
    });
    QObject::connect(&main, &FrmMain::currentFileChanged, pane, &ScenarioPane::setSource);
    QObject::connect(pane, &ScenarioPane::openScenarioAt, &main,
                     [&main](const QString& path, int line) {
                         if (!main.MaybeSave() || !main.LoadFile(path)) return;
                         QTextCursor cursor(main.editor()->document()->findBlockByNumber(line - 1));
                         main.editor()->setTextCursor(cursor);
                         main.editor()->setFocus();
                     });
    pane->setSource(main.currentFileName());
    return pane;
}

}  // namespace zr::shell
