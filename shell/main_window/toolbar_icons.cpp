#include "shell/main_window/toolbar_icons.h"

#include <QApplication>
#include <QFileInfo>
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
    void (*draw)(QPainter&);  // a picture when nothing else has one
};

// The drawn pictures, on a 32x32 canvas in the button text's colour; shapes,
// not font glyphs, so no font can leave them blank.
void DrawScissors(QPainter& painter) {
    painter.drawEllipse(QRectF(5, 20, 8, 8));
    painter.drawEllipse(QRectF(19, 20, 8, 8));
    painter.drawLine(QPointF(11, 21), QPointF(23, 4));
    painter.drawLine(QPointF(21, 21), QPointF(9, 4));
}

void DrawTwoPages(QPainter& painter) {
    painter.drawRect(QRectF(5, 4, 15, 19));
    painter.setBrush(QApplication::palette().color(QPalette::Base));
    painter.drawRect(QRectF(12, 10, 15, 19));
}

void DrawClipboard(QPainter& painter) {
    painter.drawRoundedRect(QRectF(6, 6, 20, 23), 2, 2);
    painter.setBrush(painter.pen().color());
    painter.drawRoundedRect(QRectF(11, 3, 10, 6), 1.5, 1.5);
    for (const qreal y : {15.0, 20.0, 25.0}) painter.drawLine(QPointF(10, y), QPointF(22, y));
}

constexpr IconSource kSources[] = {
    {"new", "document-new", QStyle::SP_FileIcon, true, nullptr},
    {"open", "document-open", QStyle::SP_DialogOpenButton, true, nullptr},
    {"save", "document-save", QStyle::SP_DialogSaveButton, true, nullptr},
    {"cut", "edit-cut", QStyle::SP_CustomBase, false, DrawScissors},
    {"copy", "edit-copy", QStyle::SP_CustomBase, false, DrawTwoPages},
    {"paste", "edit-paste", QStyle::SP_CustomBase, false, DrawClipboard},
    {"Find", "edit-find", QStyle::SP_FileDialogContentsView, true, nullptr},
    {"Replace", "edit-find-replace", QStyle::SP_BrowserReload, true, nullptr},
    {"Run", "media-playback-start", QStyle::SP_MediaPlay, true, nullptr},
    {"Help", "help-contents", QStyle::SP_DialogHelpButton, true, nullptr},
};

QIcon DrawnIcon(void (*draw)(QPainter&)) {
    QIcon icon;
    for (const int scale : {1, 2}) {  // sharp on high-density screens too
        QPixmap picture(32 * scale, 32 * scale);
        picture.setDevicePixelRatio(scale);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QApplication::palette().color(QPalette::ButtonText), 2));
        draw(painter);
        painter.end();
        icon.addPixmap(picture);
    }
    return icon;
}

}  // namespace

QIcon ToolbarIcon(const QString& key) {
    for (const IconSource& source : kSources) {
        if (key != QLatin1String(source.key)) continue;
        QIcon themed = QIcon::fromTheme(source.themeName);
        if (!themed.isNull()) return themed;
        if (source.hasStandard) return QApplication::style()->standardIcon(source.standard);
        return DrawnIcon(source.draw);
    }
    return {};
}

void PrepareIconTheme() {
    // Without a desktop session Qt looks only in hicolor, which has no action
    // icons; a theme set as fallback is not consulted then either.
    const QString theme = QIcon::themeName();
    if (!theme.isEmpty() && theme != QLatin1String("hicolor")) return;
    for (const QString& folder : QIcon::themeSearchPaths()) {
        if (QFileInfo::exists(folder + QLatin1String("/Adwaita/index.theme"))) {
            QIcon::setThemeName(QStringLiteral("Adwaita"));
            return;
        }
    }
}

}  // namespace zr::shell
