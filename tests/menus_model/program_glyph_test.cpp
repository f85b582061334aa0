// The program glyph: where its outline and bar fall at the sizes it is drawn.
#include "foundation/QXProgramGlyph.h"
#include "support/TestProgram.h"

#include <QTest>

class ProgramGlyphTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shape_data()
    {
        QTest::addColumn<QSizeF>("size");
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<qreal>("inset");
        QTest::addColumn<qreal>("lineWidth");
        QTest::addColumn<QList<QPointF>>("opaque");      // in points
        QTest::addColumn<QList<QPointF>>("transparent"); // in points

        // Status item: outline around (0.5, 1.5, 13, 14), bar (2, 3, 10, 4).
        const QList<QPointF> statusOpaque{{0.5, 9.5},  {13.5, 9.5}, {7.5, 1.5},
                                          {7.5, 15.5}, {6.5, 4.5},  {3.5, 6.5}};
        const QList<QPointF> statusClear{
            {7.5, 0.5}, {7.5, 16.5}, {6.5, 9.5}, {1.5, 9.5}, {6.5, 7.5}};
        QTest::newRow("status item")
            << QSizeF(14, 17) << 1.0 << 0.0 << 1.0 << statusOpaque << statusClear;
        QTest::newRow("status item, double density")
            << QSizeF(14, 17) << 2.0 << 0.0 << 1.0 << statusOpaque << statusClear;

        // Largest menu glyph: outline (3.5, 4.5, 23, 28) 3 wide, bar (7, 8, 16, 6).
        QTest::newRow("menu glyph at 30 points")
            << QSizeF(30, 37) << 1.0 << 1.0 << 3.0
            << QList<QPointF>{{3.5, 18.5}, {26.5, 18.5}, {15.5, 10.5}, {15.5, 4.5}}
            << QList<QPointF>{{1.5, 18.5}, {15.5, 20.5}, {15.5, 1.5}, {28.5, 18.5}};
    }
    void shape()
    {
        // The pixel holding a point, at the image's density.
        const auto pixel = [](const QPointF& point, qreal density) {
            return QPoint(int(point.x() * density), int(point.y() * density));
        };
        QFETCH(QSizeF, size);
        QFETCH(qreal, ratio);
        QFETCH(qreal, inset);
        QFETCH(qreal, lineWidth);
        QFETCH(QList<QPointF>, opaque);
        QFETCH(QList<QPointF>, transparent);

        const QImage image = QXProgramGlyph::templateImage(size, ratio, inset, lineWidth);
        QCOMPARE(image.size(), (size * ratio).toSize());
        QCOMPARE(image.devicePixelRatio(), ratio);
        for (const QPointF& point : opaque) {
            const QColor color = image.pixelColor(pixel(point, ratio));
            QVERIFY2(color.alpha() > 200 && color.black() == 255,
                     qPrintable(
                         QStringLiteral("(%1, %2) should be black").arg(point.x()).arg(point.y())));
        }
        for (const QPointF& point : transparent) {
            QVERIFY2(image.pixelColor(pixel(point, ratio)).alpha() < 50,
                     qPrintable(
                         QStringLiteral("(%1, %2) should be clear").arg(point.x()).arg(point.y())));
        }
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
