#include "shell/source_files.h"

#include <QFile>
#include <QLocale>
#include <filesystem>
#include <string>

#include "formats/atomic_save.h"
#include "formats/zrt.h"

namespace zr::shell {
namespace {

std::filesystem::path ToPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

bool SaveBytes(const QString& path, const std::string& bytes, QString* error) {
    std::string reason;
    if (formats::SaveFileAtomically(ToPath(path), bytes, &reason)) return true;
    if (error) *error = QString::fromStdString(reason);
    return false;
}

}  // namespace

ReadResult ReadSourceFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {std::nullopt, file.errorString()};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return {std::nullopt, file.errorString()};
    return {formats::ReadZrt(std::string_view(bytes.constData(), bytes.size())), {}};
}

bool SaveSourceFile(const QString& path, const formats::RichText& document, QString* error) {
    return SaveBytes(path, formats::WriteZrt(document), error);
}

bool SaveLibraryFile(const QString& path, const QString& plainText, QString* error) {
    QString text = plainText;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    text.replace(QLatin1String("\n"), QLatin1String("\r\n"));
    return SaveBytes(path, text.toStdString(), error);
}

QString NewSourceText(const QDate& date) {
    return QStringLiteral("'---Project: ") +
           QLocale::system().toString(date, QLocale::ShortFormat) + QStringLiteral("---\n");
}

}  // namespace zr::shell
