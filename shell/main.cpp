// Start-up: the main window, then the splash over it until it hides itself.
#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

#include "shell/emulator_windows.h"
#include "shell/frm_main.h"
#include "shell/frm_splash.h"
#include "shell/toolbar_icons.h"

namespace {

struct Options {
    bool splash = true;
    QString screenshot;  // for the documentation: save a picture of the window and quit
    QString file;
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
        "file", QCoreApplication::translate("main", "A .zrt source to open."), "[file]");
    parser.process(app);

    Options options;
    options.splash = !parser.isSet(noSplash) && !parser.isSet(screenshot);
    options.screenshot = parser.value(screenshot);
    if (!parser.positionalArguments().isEmpty())
        options.file = parser.positionalArguments().constFirst();
    return options;
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
            QCoreApplication::setApplicationVersion("1.03");
            ParseOptions(app);  // prints and exits
        }
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    AnswerHelpOrVersion(argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName("ZR-7340");
    QApplication::setApplicationVersion("1.03");
    const Options options = ParseOptions(app);
    zr::shell::PrepareIconTheme();

    zr::shell::FrmMain window(QApplication::applicationDirPath());
    zr::shell::EmulatorWindows::InstallInto(window, /*rememberPlaces=*/true);
    window.show();
    if (!options.file.isEmpty()) window.loadFile(options.file);

    if (!options.screenshot.isEmpty()) {
        QTimer::singleShot(1000, &window, [&window, target = options.screenshot] {
            QApplication::exit(window.grab().save(target) ? 0 : 1);
        });
        return QApplication::exec();
    }
    if (options.splash) {
        zr::shell::FrmSplash splash(&window);
        splash.exec();
    }
    return QApplication::exec();
}
