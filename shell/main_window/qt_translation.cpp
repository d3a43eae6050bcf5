#include "shell/main_window/qt_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace zr::shell {
namespace {

bool InstallCatalogue(QCoreApplication& app, const QString& name) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(QLocale(QLocale::Russian), name, QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

}  // namespace

bool InstallQtTranslation(QCoreApplication& app) {
    // "qt" gathers the catalogues of Qt's modules (qtbase, ...) but not the
    // help widgets' ("Search", the hit count), which come on their own.
    const bool base = InstallCatalogue(app, QStringLiteral("qt"));
    const bool help = InstallCatalogue(app, QStringLiteral("qt_help"));
    return base && help;
}

}  // namespace zr::shell
