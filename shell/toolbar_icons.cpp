#include "shell/toolbar_icons.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QStyle>

namespace zr::shell {
namespace {

struct IconSource {
    const char* key;
    const char* themeName;  // freedesktop icon name
    QStyle::StandardPixmap standard;
    bool hasStandard;
    const char* glyph;  // drawn when nothing else has a picture
};

constexpr IconSource kSources[] = {
    {"new", "document-new", QStyle::SP_FileIcon, true, ""},
    {"open", "document-open", QStyle::SP_DialogOpenButton, true, ""},
    {"save", "document-save", QStyle::SP_DialogSaveButton, true, ""},
    {"cut", "edit-cut", QStyle::SP_CustomBase, false, "\u2702"},
    {"copy", "edit-copy", QStyle::SP_CustomBase, false, "\u2398"},
    {"paste", "edit-paste", QStyle::SP_CustomBase, false, "\U0001F4CB"},
    {"Find", "edit-find", QStyle::SP_FileDialogContentsView, true, ""},
    {"Replace", "edit-find-replace", QStyle::SP_BrowserReload, true, ""},
    {"Run", "media-playback-start", QStyle::SP_MediaPlay, true, ""},
    {"Help", "help-contents", QStyle::SP_DialogHelpButton, true, ""},
};

QIcon DrawnIcon(const QString& glyph) {
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font = painter.font();
    font.setPixelSize(24);
    painter.setFont(font);
    painter.setPen(QApplication::palette().color(QPalette::ButtonText));
    painter.drawText(picture.rect(), Qt::AlignCenter, glyph);
    return QIcon(picture);
}

}  // namespace

QIcon ToolbarIcon(const QString& key) {
    for (const IconSource& source : kSources) {
        if (key != QLatin1String(source.key)) continue;
        QIcon themed = QIcon::fromTheme(source.themeName);
        if (!themed.isNull()) return themed;
        if (source.hasStandard) return QApplication::style()->standardIcon(source.standard);
        return DrawnIcon(QString::fromUtf8(source.glyph));
    }
    return {};
}

void PrepareIconTheme() {
    if (QIcon::fallbackThemeName().isEmpty() || QIcon::fallbackThemeName() == "hicolor")
        QIcon::setFallbackThemeName("Adwaita");
}

}  // namespace zr::shell
