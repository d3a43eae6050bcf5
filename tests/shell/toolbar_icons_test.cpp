// Every toolbar button has a picture that shows something, with the icon
// theme found and without any theme (no font glyph can leave one blank).
#include "shell/main_window/toolbar_icons.h"

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QTest>

namespace zr::shell {

class ToolbarIconsTest : public QObject {
    Q_OBJECT

    static int VisiblePixels(const QIcon& icon) {
        const QImage image = icon.pixmap(32, 32).toImage();
        int visible = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) visible += qAlpha(image.pixel(x, y)) > 0;
        return visible;
    }

    void CheckEveryKey() {
        for (const char* key :
             {"new", "open", "save", "cut", "copy", "paste", "Find", "Replace", "Run", "Help"}) {
            const QIcon icon = ToolbarIcon(QString::fromLatin1(key));
            QVERIFY2(!icon.isNull(), key);
            QVERIFY2(VisiblePixels(icon) > 20, key);
        }
    }

  private slots:
    void everyKeyShowsAPictureFromTheTheme() {
        PrepareIconTheme();
        CheckEveryKey();
    }

    void everyKeyShowsAPictureWithoutATheme() {
        QIcon::setThemeName(QStringLiteral("no-such-theme"));
        CheckEveryKey();
    }

    void anUnknownKeyHasNoPicture() { QVERIFY(ToolbarIcon(QStringLiteral("Spin")).isNull()); }
};

}  // namespace zr::shell

QTEST_MAIN(zr::shell::ToolbarIconsTest)
#include "toolbar_icons_test.moc"
