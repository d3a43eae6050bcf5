// Start-up: the main window, then the splash over it until it hides itself.
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QMessageBox>
#include <QTextStream>
#include <QTimer>

#include "shell/device/emulator_windows.h"
#include "shell/device/scenario_pane.h"
#include "shell/help/help_location.h"
#include "shell/help/window_help_key.h"
#include "shell/main_window/data_folders.h"
#include "shell/main_window/frm_main.h"
#include "shell/main_window/frm_splash.h"
#include "shell/main_window/qt_translation.h"
#include "shell/main_window/termination_signals.h"
#include "shell/main_window/toolbar_icons.h"

namespace {

struct Options {
    bool splash = true;
    QString screenshot;  // for the documentation: save a picture of the window and quit
    QStringList files;
};

Options ParseOptions(const QCoreApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QCoreApplication::translate("main", "The ZR-7340 development environment for Kelto."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption noSplash(
        "no-splash",
        QCoreApplication::translate("main", "Start without the six-second splash window."));
    parser.addOption(noSplash);
    QCommandLineOption screenshot("screenshot", "", "FILE");
    screenshot.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(screenshot);
    parser.addPositionalArgument(
        "file",
        QCoreApplication::translate(
            "main",
            "A .zrt source or .bib library to open; the environment holds one "
            "document, so further files are not opened."),
        "[file...]");
    parser.process(app);

    Options options;
    options.splash = !parser.isSet(noSplash) && !parser.isSet(screenshot);
    options.screenshot = parser.value(screenshot);
    options.files = parser.positionalArguments();
    return options;
}

// For the package check: prints the folders the environment uses and exits
// with 0 when the help collection, the examples and the shipped libraries are
// all where they were looked for.
int PrintDataFolders(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    using namespace zr::shell;
    const QString help = HelpFolder();
    const bool helpFound = QFileInfo::exists(help + u'/' + HelpLocation::kCollectionName);
    const bool examplesFound = QFileInfo(ExamplesFolder()).isDir();
    const bool librariesFound = ShippedLibraryFolder() != QCoreApplication::applicationDirPath();
    QTextStream out(stdout);
    const auto state = [](bool found) { return found ? "" : " (missing)"; };
    out << "help: " << help << state(helpFound) << '\n'
        << "examples: " << ExamplesFolder() << state(examplesFound) << '\n'
        << "libraries: " << LibraryFolders().join(u':') << state(librariesFound) << '\n';
    out.flush();
    return helpFound && examplesFound && librariesFound ? 0 : 1;
}

// --help and --version answer before the window system is touched, so they
// work without a display; everything else waits for QApplication, which takes
// its own options (-platform, -style, ...) out of the arguments first.
void AnswerHelpOrVersion(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "-h" || argument == "--help" || argument == "--help-all" ||
            argument == "-v" || argument == "--version") {
            QCoreApplication app(argc, argv);
            QCoreApplication::setApplicationVersion(ZR_VERSION);
            ParseOptions(app);  // prints and exits
        }
    }
}

// The environment holds one document: the first file given opens, and the
// user is told which of the others did not.
void RefuseFurtherFiles(QWidget& window, const QStringList& files) {
    QStringList refused;
    for (qsizetype i = 1; i < files.size(); ++i) refused << QDir::toNativeSeparators(files[i]);
    QMessageBox::information(
        &window, QApplication::applicationName(),
        QCoreApplication::translate("main",
                                    "Среда работает с одним документом за раз.\n\n"
                                    "Открыт:\n%1\n\nНе открыты:\n%2")
            .arg(QDir::toNativeSeparators(files.constFirst()), refused.join(u'\n')));
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc == 2 && QByteArray(argv[1]) == "--data-folders") return PrintDataFolders(argc, argv);
    AnswerHelpOrVersion(argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName("ZR-7340");
    QApplication::setApplicationVersion(ZR_VERSION);
    // The installed icon and desktop entry, for the window list and the dock.
    QApplication::setDesktopFileName("zr7340-ide");
    QApplication::setWindowIcon(QIcon::fromTheme("zr7340-ide"));
    const Options options = ParseOptions(app);
    zr::shell::InstallQtTranslation(app);
    zr::shell::PrepareIconTheme();
    zr::shell::WindowHelpKey helpKey(&app);

    zr::shell::FrmMain window(zr::shell::ShippedLibraryFolder());
    zr::shell::EmulatorWindows::InstallInto(window, /*rememberPlaces=*/true);
    // A logout or `kill` closes the environment as its close command would,
    // without questions; unsaved text stays in its recovery file.
    zr::shell::TerminationSignals termination(&app);
    QObject::connect(&termination, &zr::shell::TerminationSignals::terminationRequested, &window,
                     [&window] {
                         window.CloseWithoutQuestions();
                         QApplication::quit();
                     });
    zr::shell::ScenarioPane::InstallInto(window);
    window.show();
    if (!options.files.isEmpty()) window.LoadFile(options.files.constFirst());

    if (!options.screenshot.isEmpty()) {
        QTimer::singleShot(1000, &window, [&window, target = options.screenshot] {
            QApplication::exit(window.grab().save(target) ? 0 : 1);
        });
        return QApplication::exec();
    }
    if (options.files.size() > 1) RefuseFurtherFiles(window, options.files);
    window.OfferRecoveredDocuments();
    if (options.splash) {
        zr::shell::FrmSplash splash(&window);
        splash.exec();
    }
    return QApplication::exec();
}
