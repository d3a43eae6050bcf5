#include "shell/editor/source_files.h"

#include <QCoreApplication>
#include <QLocale>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

#include "formats/atomic_save.h"
#include "formats/zrt.h"
#include "machine/file_read.h"

namespace zr::shell {
namespace {

std::filesystem::path ToPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

QString Tr(const char* text) {
    return QCoreApplication::translate("SourceFiles", text);
}

// The reason alone, in the system's language; the caller names the file. A link is saved
// through to its file; a folder, device, pipe or socket is never replaced.
bool SaveBytes(const QString& path, const std::string& bytes, QString* error) {
    const formats::SaveResult saved = formats::SaveFileAtomically(ToPath(path), bytes);
    if (saved.ok()) return true;
    if (!error) return false;
    if (saved.failure == formats::SaveResult::Failure::NotRegular)
        *error =
            Tr("Это не обычный файл (канал, устройство или сокет): сохранение не "
               "заменяет его. Выберите другое имя.");
    else if (saved.errorNumber == EISDIR)
        *error = Tr("Это папка, а не файл.");
    else
        *error = QString::fromLocal8Bit(std::strerror(saved.errorNumber));
    return false;
}

// Why the read failed, for the message that names the file.
QString ReasonOf(const machine::FileRead& read, const QString& path) {
    using Failure = machine::FileRead::Failure;
    if (read.failure == Failure::NotRegular)
        return Tr("Это не обычный файл (канал, устройство или сокет).");
    if (read.failure == Failure::TooLarge) {
        constexpr std::uintmax_t kMegabyte = std::uintmax_t{1} << 20;
        std::error_code failed;
        const auto size = std::filesystem::file_size(ToPath(path), failed);
        return Tr("Файл слишком велик для редактора (%1 МБ; предел — %2 МБ). Программа "
                  "устройства умещается в 1024 байта; keltoc читает исходные тексты до %3 МБ.")
            .arg(failed ? read.cap / kMegabyte + 1 : size / kMegabyte)
            .arg(read.cap / kMegabyte)
            .arg(machine::kMaxTextFileSize / kMegabyte);
    }
    if (read.errorNumber == EISDIR) return Tr("Это папка, а не файл.");
    return QString::fromLocal8Bit(std::strerror(read.errorNumber));
}

}  // namespace

ReadResult ReadSourceFile(const QString& path) {
    // Only a regular file is read: a pipe would block the window.
    const machine::FileRead read = machine::ReadRegularFile(ToPath(path), kLargestSourceFile);
    if (!read.ok()) return {std::nullopt, ReasonOf(read, path)};
    const std::string_view view(read.bytes);
    ReadResult result;
    result.document = formats::ReadZrt(view);
    if (formats::IsRtf(view)) {
        result.damaged = formats::IsCutShort(view);
    } else {
        result.plainText = true;
        result.binary = LooksBinary(QByteArray::fromRawData(view.data(), qsizetype(view.size())));
    }
    return result;
}

bool LooksBinary(const QByteArray& bytes) {
    const QByteArray head = bytes.left(qsizetype{64} * 1024);
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

bool IsPlainSourcePath(const QString& path) {
    return path.endsWith(QLatin1String(".kel"), Qt::CaseInsensitive);
}

bool SaveSourceFile(const QString& path, const formats::RichText& document, QString* error) {
    if (!IsPlainSourcePath(path)) return SaveBytes(path, formats::WriteZrt(document), error);
    QString text = QString::fromStdString(document.text);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    return SaveBytes(path, text.toStdString(), error);
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
