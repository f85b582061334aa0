#include "platform/pointer/ScreenPlacement.h"
#include "platform/pointer/kde/KWinCursorQuery.h"
#include "platform/pointer/sway/SwayCursorNudge.h"
#include "support/TestProgram.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using platform::ScreenArea;
namespace ScreenPlacement = platform::ScreenPlacement;

Q_DECLARE_METATYPE(QList<ScreenArea>)
Q_DECLARE_METATYPE(std::optional<platform::KWinCursorQuery::Cursor>)

namespace {

// Two outputs side by side, the second at scale 2 (1280x800 pixels, 640x400 in
// Qt's coordinates), the first one primary.
QList<ScreenArea> twoOutputs()
{
    return {{QRect(0, 0, 1280, 800), 1.0}, {QRect(1280, 0, 640, 400), 2.0}};
}

} // namespace

// Where a pop-up opens once the window system has told where the pointer is,
// or could not tell.
class PointerPlacementTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // KWin's script reports its cursor and its layout's size as
    // "X Y WIDTH HEIGHT"; any program on the bus can call the method it calls.
    void kwinCursorReports_data()
    {
        using Cursor = platform::KWinCursorQuery::Cursor;
        QTest::addColumn<QString>("report");
        QTest::addColumn<std::optional<Cursor>>("expected");
        QTest::newRow("whole numbers")
            << "350 210 2560 800" << std::optional(Cursor{QPoint(350, 210), QSize(2560, 800)});
        QTest::newRow("fractions round")
            << "-12.5 799.6 1280 800" << std::optional(Cursor{QPoint(-13, 800), QSize(1280, 800)});
        QTest::newRow("no layout") << "350 210" << std::optional<Cursor>();
        QTest::newRow("empty layout") << "350 210 0 800" << std::optional<Cursor>();
        QTest::newRow("five numbers") << "1 2 3 4 5" << std::optional<Cursor>();
        QTest::newRow("not numbers")
            << "undefined undefined undefined undefined" << std::optional<Cursor>();
        QTest::newRow("not a number") << "nan 5 10 10" << std::optional<Cursor>();
        QTest::newRow("beyond any layout") << "1e300 5 10 10" << std::optional<Cursor>();
        QTest::newRow("empty") << "" << std::optional<Cursor>();
    }

    void kwinCursorReports()
    {
        QFETCH(QString, report);
        QFETCH(std::optional<platform::KWinCursorQuery::Cursor>, expected);
        QCOMPARE(platform::KWinCursorQuery::parseReport(report), expected);
    }

    // X11 clients see KWin's layout as it is, or twice as large when KWin
    // lets them scale themselves at scale 2.
    void kwinCursorInTheXDesktopsCoordinates()
    {
        using platform::KWinCursorQuery;
        const KWinCursorQuery::Cursor cursor{QPoint(700, 450), QSize(1280, 800)};
        QCOMPARE(KWinCursorQuery::scaledTo(cursor, QSize(1280, 800)), QPoint(700, 450));
        QCOMPARE(KWinCursorQuery::scaledTo(cursor, QSize(2560, 1600)), QPoint(1400, 900));
        QCOMPARE(KWinCursorQuery::scaledTo(cursor, QSize(1920, 1200)), QPoint(1050, 675));
        QCOMPARE(KWinCursorQuery::scaledTo(cursor, QSize()), QPoint(700, 450));
    }

    void positionsAreScaledOnTheirOwnOutput_data()
    {
        QTest::addColumn<QList<ScreenArea>>("screens");
        QTest::addColumn<QPoint>("native");
        QTest::addColumn<QPoint>("expected");
        const QList<ScreenArea> single{{QRect(0, 0, 1280, 800), 1.0}};
        QTest::newRow("one output at scale 1") << single << QPoint(300, 200) << QPoint(300, 200);
        QTest::newRow("first of two, the other scaled")
            << twoOutputs() << QPoint(1279, 799) << QPoint(1279, 799);
        QTest::newRow("on the output at scale 2")
            << twoOutputs() << QPoint(1280 + 400, 100) << QPoint(1280 + 200, 50);
        QTest::newRow("far corner of the output at scale 2")
            << twoOutputs() << QPoint(1280 + 1279, 799) << QPoint(1280 + 639, 399);
        QTest::newRow("scale 1.5") << QList<ScreenArea>{{QRect(0, 0, 854, 534), 1.5}}
                                   << QPoint(300, 150) << QPoint(200, 100);
        QTest::newRow("off every output: the primary's scale")
            << QList<ScreenArea>{{QRect(0, 0, 640, 400), 2.0}} << QPoint(-10, 2000)
            << QPoint(-5, 1000);
        QTest::newRow("no output at all") << QList<ScreenArea>{} << QPoint(7, 9) << QPoint(7, 9);
    }

    void positionsAreScaledOnTheirOwnOutput()
    {
        QFETCH(QList<ScreenArea>, screens);
        QFETCH(QPoint, native);
        QFETCH(QPoint, expected);
        QCOMPARE(ScreenPlacement::fromNative(native, screens), expected);
    }

    void withoutAPositionTheMenuOpensOnTheFrontWindowsOutput_data()
    {
        QTest::addColumn<QList<ScreenArea>>("screens");
        QTest::addColumn<std::optional<QRect>>("frontWindow");
        QTest::addColumn<QPoint>("expected");
        const QPoint firstCentre = QRect(0, 0, 1280, 800).center();
        const QPoint secondCentre = QRect(1280, 0, 640, 400).center();
        QTest::newRow("no front window: the primary output")
            << twoOutputs() << std::optional<QRect>() << firstCentre;
        QTest::newRow("front window on the scaled output")
            << twoOutputs() << std::optional<QRect>(QRect(1400, 100, 500, 300)) << secondCentre;
        QTest::newRow("straddling, mostly on the first")
            << twoOutputs() << std::optional<QRect>(QRect(1000, 0, 400, 300)) << firstCentre;
        QTest::newRow("straddling, mostly on the second")
            << twoOutputs() << std::optional<QRect>(QRect(1200, 0, 600, 300)) << secondCentre;
        QTest::newRow("off every output: the primary output")
            << twoOutputs() << std::optional<QRect>(QRect(5000, 5000, 10, 10)) << firstCentre;
        QTest::newRow("empty front window")
            << twoOutputs() << std::optional<QRect>(QRect(1500, 100, 0, 0)) << firstCentre;
        QTest::newRow("no output at all")
            << QList<ScreenArea>{} << std::optional<QRect>(QRect(0, 0, 10, 10)) << QPoint();
    }

    void withoutAPositionTheMenuOpensOnTheFrontWindowsOutput()
    {
        QFETCH(QList<ScreenArea>, screens);
        QFETCH(std::optional<QRect>, frontWindow);
        QFETCH(QPoint, expected);
        QCOMPARE(ScreenPlacement::fallbackCentre(frontWindow, screens), expected);
    }

    // sway reads a framed command from its socket; a socket that is not
    // there is a plain failure, never a wait.
    void swayIsAskedOverItsSocket()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString path = folder.filePath(QStringLiteral("sway-ipc.sock"));
        platform::SwayCursorNudge missing(path);
        QVERIFY(!missing.nudge());

        QLocalServer server;
        QVERIFY(server.listen(path));
        platform::SwayCursorNudge nudge(path);
        QVERIFY(nudge.nudge());
        QVERIFY(nudge.nudge()); // the connection is kept
        QVERIFY(server.waitForNewConnection(5000));
        QLocalSocket* connection = server.nextPendingConnection();
        QVERIFY(connection);
        const QByteArray command = "seat - cursor move 0 0";
        const qsizetype frame = 6 + 8 + command.size();
        QByteArray received;
        while (received.size() < 2 * frame && connection->waitForReadyRead(5000)) {
            received += connection->readAll();
        }
        QCOMPARE(received.size(), 2 * frame);
        QCOMPARE(received.left(6), QByteArray("i3-ipc"));
        QCOMPARE(qFromLittleEndian<quint32>(received.constData() + 6), quint32(command.size()));
        QCOMPARE(qFromLittleEndian<quint32>(received.constData() + 10), quint32(0));
        QCOMPARE(received.mid(14, command.size()), command);
        QCOMPARE(received.mid(frame), received.left(frame));
        QCOMPARE(platform::SwayCursorNudge::commandMessage("x"),
                 QByteArray("i3-ipc\x01\0\0\0\0\0\0\0x", 15));
    }
};

TROVIX_TEST_GUILESS_MAIN(PointerPlacementTest)
#include "pointer_placement_test.moc"
