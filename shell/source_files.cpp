#include "shell/source_files.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <cstring>
#include <filesystem>
#include <string>

#include "formats/atomic_save.h"
#include "formats/zrt.h"

namespace zr::shell {
namespace {

std::filesystem::path ToPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

QString Tr(const char* text) {
    return QCoreApplication::translate("SourceFiles", text);
}

// The reason alone, in the system's language; the caller names the file.
bool SaveBytes(const QString& path, const std::string& bytes, QString* error) {
    int errorNumber = 0;
    if (formats::SaveFileAtomically(ToPath(path), bytes, nullptr, &errorNumber)) return true;
    if (error) *error = QString::fromLocal8Bit(std::strerror(errorNumber));
    return false;
}

// Why the file at `path` cannot be opened as a source before reading a byte
// (a pipe would block the window); empty when it can be tried.
QString RefusalOf(const QString& path) {
    std::error_code failed;
    const std::filesystem::file_status status = std::filesystem::status(ToPath(path), failed);
    if (failed || status.type() == std::filesystem::file_type::not_found)
        return {};  // opening says why
    if (status.type() == std::filesystem::file_type::directory) return Tr("Это папка, а не файл.");
    if (status.type() != std::filesystem::file_type::regular)
        return Tr("Это не обычный файл (канал, устройство или сокет).");
    const auto size = std::filesystem::file_size(ToPath(path), failed);
    if (!failed && size > static_cast<std::uintmax_t>(kLargestSourceFile))
        return Tr("Файл слишком велик (%1 МБ); исходный текст не бывает больше %2 МБ.")
            .arg(size / (1024 * 1024))
            .arg(kLargestSourceFile / (1024 * 1024));
    return {};
}

}  // namespace

ReadResult ReadSourceFile(const QString& path) {
    if (const QString refusal = RefusalOf(path); !refusal.isEmpty()) return {std::nullopt, refusal};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {std::nullopt, file.errorString()};
    const QByteArray bytes = file.read(kLargestSourceFile + 1);
    if (file.error() != QFileDevice::NoError) return {std::nullopt, file.errorString()};
    const std::string_view view(bytes.constData(), bytes.size());
    ReadResult result;
    result.document = formats::ReadZrt(view);
    if (formats::IsRtf(view)) {
        result.damaged = !formats::IsCompleteRtf(view);
    } else {
        result.plainText = true;
        result.binary = LooksBinary(bytes);
    }
    return result;
}

bool LooksBinary(const QByteArray& bytes) {
    const QByteArray head = bytes.left(64 * 1024);
    if (head.contains('\0')) return true;
    qsizetype controls = 0;
    for (const char c : head) {
        const auto byte = static_cast<unsigned char>(c);
        // Tab, line ends, form feed and the old end-of-file mark occur in text.
        if ((byte < 0x20 && !QByteArrayView("\t\n\r\f\x1A").contains(c)) || byte == 0x7F)
            ++controls;
    }
    return controls * 100 > head.size();
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
