// The program glyph at the sizes it is drawn.
#include "foundation/QXProgramGlyph.h"
#include "support/TestProgram.h"

#include <QTest>

class ProgramGlyphTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Black on transparency at every density, inside its image: a template
    // image the status item and the menu tint.
    void shape_data()
    {
        QTest::addColumn<QSizeF>("size");
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<qreal>("inset");
        QTest::addColumn<qreal>("lineWidth");
        QTest::newRow("status item") << QSizeF(14, 17) << 1.0 << 0.0 << 1.0;
        QTest::newRow("status item, double density") << QSizeF(14, 17) << 2.0 << 0.0 << 1.0;
        QTest::newRow("menu glyph at 30 points") << QSizeF(30, 37) << 1.0 << 1.0 << 3.0;
    }

    void shape()
    {
        QFETCH(QSizeF, size);
        QFETCH(qreal, ratio);
        QFETCH(qreal, inset);
        QFETCH(qreal, lineWidth);
        const QImage image = QXProgramGlyph::templateImage(size, ratio, inset, lineWidth);
        QCOMPARE(image.size(), (size * ratio).toSize());
        QCOMPARE(image.devicePixelRatio(), ratio);
        int opaque = 0;
        int clear = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor color = image.pixelColor(x, y);
                if (color.alpha() > 200) {
                    QCOMPARE(color.black(), 255);
                    ++opaque;
                } else if (color.alpha() == 0) {
                    ++clear;
                }
            }
        }
        QVERIFY(opaque > image.width() && clear > image.width());
    }

    // The program's own submenu grows its glyph with the menu font: the
    // standard size up to 13 points, then scaled, and a bolder outline at
    // large sizes.
    void menuItemImageFollowsTheFont_data()
    {
        QTest::addColumn<int>("fontSize");
        QTest::addColumn<QSizeF>("size");
        QTest::newRow("standard font") << 0 << QSizeF(13, 16);
        QTest::newRow("13 points") << 13 << QSizeF(13, 16);
        QTest::newRow("14 points") << 14 << QSizeF(14, 17);
        QTest::newRow("26 points") << 26 << QSizeF(26, 32);
        QTest::newRow("30 points") << 30 << QSizeF(30, 37);
    }

    void menuItemImageFollowsTheFont()
    {
        QFETCH(int, fontSize);
        QFETCH(QSizeF, size);
        const QImage image = QXProgramGlyph::menuItemImage(fontSize, 2.0);
        QCOMPARE(image.deviceIndependentSize(), size);
        QCOMPARE(image.devicePixelRatio(), 2.0);
    }

    void tooSmallToDrawStaysClear()
    {
        const QImage image = QXProgramGlyph::templateImage(QSizeF(3, 4), 1.0, 1.0, 3.0);
        QCOMPARE(image.size(), QSize(3, 4));
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                QCOMPARE(image.pixelColor(x, y).alpha(), 0);
            }
        }
        QVERIFY(!QXProgramGlyph::templateImage(QSizeF(0, 0), 0, 0, 1).isNull());
    }
};

TROVIX_TEST_MAIN(ProgramGlyphTest)
#include "program_glyph_test.moc"
