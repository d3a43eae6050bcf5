#include "shell/examples_folder.h"

#include <QCoreApplication>
#include <QDir>

namespace zr::shell {

QString ExamplesFolder() {
    const QString configured = qEnvironmentVariable("ZR7340_EXAMPLES_DIR");
    if (!configured.isEmpty()) return configured;
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("examples"));
}

}  // namespace zr::shell
