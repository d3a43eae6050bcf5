// Start-up: the main window, then the splash over it until it hides itself.
#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

#include "shell/frm_main.h"
#include "shell/frm_splash.h"
#include "shell/source_editor.h"
#include "shell/toolbar_icons.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("ZR-7340");
    QApplication::setApplicationVersion("1.03");
    zr::shell::PrepareIconTheme();

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QApplication::translate("main", "The ZR-7340 development environment for Kelto."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption noSplash(
        "no-splash",
        QApplication::translate("main", "Start without the six-second splash window."));
    parser.addOption(noSplash);
    // For the documentation: save a picture of the window and quit.
    QCommandLineOption screenshot("screenshot", "", "FILE");
    screenshot.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(screenshot);
    parser.addPositionalArgument("file", QApplication::translate("main", "A .zrt source to open."),
                                 "[file]");
    parser.process(app);

    zr::shell::FrmMain window(QApplication::applicationDirPath());
    window.show();
    if (!parser.positionalArguments().isEmpty())
        window.loadFile(parser.positionalArguments().constFirst());

    if (parser.isSet(screenshot)) {
        const QString target = parser.value(screenshot);
        QTimer::singleShot(1000, &window, [&window, target] {
            const bool saved = window.grab().save(target);
            QApplication::exit(saved ? 0 : 1);
        });
        return QApplication::exec();
    }

    if (!parser.isSet(noSplash)) {
        zr::shell::FrmSplash splash(&window);
        splash.exec();
    }
    return QApplication::exec();
}
