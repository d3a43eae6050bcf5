// The keypad picture: which key a click picks, the frame while a button is
// held, and the PC keys that stand for device keys.
#include "shell/device/keypad_picture.h"

#include <QSignalSpy>
#include <QtTest>

#include "shell/device/keypad_layout.h"

using zr::shell::KeyIndexAt;
using zr::shell::KeyIndexForPcKey;
using zr::shell::KeypadPicture;

class KeypadPictureTest : public QObject {
    Q_OBJECT

  private:
    // Releases a click from `from` at `at` and returns the key reported, or -1.
    static int ClickAt(KeypadPicture& picture, QPoint at, QPoint from = {-1, -1}) {
        QSignalSpy released(&picture, &KeypadPicture::keyReleased);
        QTest::mousePress(&picture, Qt::LeftButton, {}, from.x() < 0 ? at : from);
        QTest::mouseRelease(&picture, Qt::LeftButton, {}, at);
        return released.isEmpty() ? -1 : released.takeFirst().at(0).toInt();
    }

  private slots:
    void eachQuarterCellGivesItsKey() {
        for (const QSize size : {QSize(553, 361), QSize(200, 120)}) {  // shown stretched
            KeypadPicture picture;
            picture.resize(size);
            for (int index = 0; index < 16; ++index) {
                const int row = index / 4;
                const int column = index % 4;
                const QPoint inner(column * size.width() / 4 + 2, row * size.height() / 4 + 2);
                const QPoint centre((2 * column + 1) * size.width() / 8,
                                    (2 * row + 1) * size.height() / 8);
                QCOMPARE(ClickAt(picture, inner), index);
                QCOMPARE(ClickAt(picture, centre), index);
            }
        }
        // 553 / 4 = 138: x = 552 would be a fifth column, read as the next row's key.
        QCOMPARE(KeyIndexAt(552, 10, 553, 361), 3);
        QCOMPARE(KeyIndexAt(10, 360, 553, 361), 12);
        QCOMPARE(KeyIndexAt(552, 360, 553, 361), 15);
    }

    void frameShowsWhileAButtonIsHeldAndAReleaseOutsideGivesNoKey() {
        KeypadPicture picture;
        picture.resize(400, 300);
        QVERIFY(!picture.framed());
        QTest::mousePress(&picture, Qt::RightButton, {}, QPoint(50, 50));
        QVERIFY(picture.framed());
        QTest::mouseRelease(&picture, Qt::RightButton, {}, QPoint(50, 50));
        QVERIFY(!picture.framed());
        QCOMPARE(ClickAt(picture, QPoint(-3, 10), QPoint(10, 10)), -1);
        QCOMPARE(ClickAt(picture, QPoint(10, 300), QPoint(10, 10)), -1);
        QVERIFY(!picture.framed());
    }

    void pcKeysStandForTheDeviceKeys() {
        for (int digit = 0; digit <= 9; ++digit)
            QCOMPARE(KeyIndexForPcKey(Qt::Key_0 + digit), digit);
        int index = 10;
        for (int key :
             {Qt::Key_Comma, Qt::Key_Minus, Qt::Key_F, Qt::Key_Left, Qt::Key_Right, Qt::Key_Return})
            QCOMPARE(KeyIndexForPcKey(key), index++);
        QCOMPARE(KeyIndexForPcKey(Qt::Key_A), -1);
    }
};

QTEST_MAIN(KeypadPictureTest)
#include "keypad_picture_test.moc"
