// Where windows appear: a saved place kept on the screen, a new window beside
// its owner and clear of the caret line, and places saved when hidden.
#include "shell/main_window/window_places.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

using namespace zr::shell;

class WindowPlacesTest : public QObject {
    Q_OBJECT

  private slots:
    void clampKeepsTheWindowOnTheScreen() {
        const QRect screen(0, 0, 1600, 1000);
        struct Case {
            QRect window, expected;
        };
        for (const Case& c : {
                 Case{{100, 100, 400, 300}, {100, 100, 400, 300}},    // on screen: as saved
                 Case{{1500, 900, 400, 300}, {1200, 700, 400, 300}},  // off the right and bottom
                 Case{{-3000, -50, 400, 300}, {0, 0, 400, 300}},      // a screen that is gone
                 Case{{10, 10, 2000, 1200}, {0, 0, 1600, 1000}},      // larger than the screen
             })
            QCOMPARE(ClampToScreen(c.window, screen), c.expected);
        QCOMPARE(ClampToScreen({1700, 50, 100, 100}, QRect(1600, 0, 800, 600)),
                 QRect(1700, 50, 100, 100));  // a second screen
    }

    void aNewWindowGoesBesideItsOwnerAndClearOfTheCaretLine() {
        const QRect screen(0, 0, 1600, 1000);
        const QSize size(500, 400);
        const QRect shortLine(40, 290, 300, 20);
        // Room on the right of the owner.
        QCOMPARE(PlaceBeside(size, {0, 0, 800, 900}, {}, screen, shortLine),
                 QRect(800, 0, 500, 400));
        // Only on the left.
        QCOMPARE(PlaceBeside(size, {1000, 100, 600, 800}, {}, screen, shortLine),
                 QRect(500, 100, 500, 400));
        // Right of the owner is taken by the emulator window: beside that one.
        QCOMPARE(PlaceBeside({200, 400}, {0, 0, 800, 900}, {{800, 0, 500, 600}}, screen, shortLine),
                 QRect(1300, 0, 200, 400));
        // Too little room beside: at the screen's edge, not the owner's, so
        // the empty strip is used and less of the text is covered.
        QCOMPARE(PlaceBeside(size, {0, 50, 1250, 900}, {}, screen, shortLine),
                 QRect(1100, 50, 500, 400));
        // A full-screen owner whose caret line reaches under that place: below
        // the line, or above it when the line is low.
        const QRect below = PlaceBeside(size, screen, {}, screen, {40, 200, 1300, 20});
        QCOMPARE(below.right(), screen.right());
        QVERIFY(below.top() > 220);
        const QRect above = PlaceBeside(size, screen, {}, screen, {40, 900, 1300, 20});
        QVERIFY(above.bottom() < 900);
        QVERIFY(screen.contains(above));
        // A tall window that fits neither below nor above stays on the screen.
        QVERIFY(screen.contains(PlaceBeside({500, 900}, screen, {}, screen, {40, 500, 1300, 20})));
    }

    void placesAreSavedWhenHiddenAndRestoredOnTheScreen() {
        QTemporaryDir folder;
        const QString file = folder.filePath("places.ini");
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        {
            WindowPlaces places(std::make_unique<QSettings>(file, QSettings::IniFormat));
            QWidget window;
            QVERIFY(!places.Restore(window, "emulator"));  // nothing saved yet
            places.Track(window, "emulator");
            window.resize(220, 160);
            window.move(available.topLeft() + QPoint(30, 40));
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            window.hide();
        }
        {
            QSettings settings(file, QSettings::IniFormat);
            QCOMPARE(settings.value("windows/emulator").toRect().size(), QSize(220, 160));
            // As if the window had last been on a screen that is gone now.
            settings.setValue("windows/trace", QRect(available.right() + 5000, 20, 200, 150));
        }
        WindowPlaces places(std::make_unique<QSettings>(file, QSettings::IniFormat));
        QWidget window;
        QVERIFY(places.Restore(window, "emulator"));
        QCOMPARE(window.size(), QSize(220, 160));
        QWidget trace;
        QVERIFY(places.Restore(trace, "trace"));
        QVERIFY(available.contains(QRect(trace.pos(), trace.size())));
    }

    // A maximised window keeps the place it returns to, and opens maximised.
    void aMaximisedWindowSavesItsNormalPlace() {
        QTemporaryDir folder;
        const QString file = folder.filePath("places.ini");
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        {
            WindowPlaces places(std::make_unique<QSettings>(file, QSettings::IniFormat));
            QWidget window;
            places.Track(window, "emulator");
            window.resize(220, 160);
            window.move(available.topLeft() + QPoint(30, 40));
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            window.showMaximized();
            QTRY_VERIFY(window.isMaximized());
            window.hide();
        }
        WindowPlaces places(std::make_unique<QSettings>(file, QSettings::IniFormat));
        QWidget window;
        QVERIFY(places.Restore(window, "emulator"));
        QCOMPARE(window.size(), QSize(220, 160));
        QVERIFY(window.windowState() & Qt::WindowMaximized);
    }
};

QTEST_MAIN(WindowPlacesTest)
#include "window_places_test.moc"
