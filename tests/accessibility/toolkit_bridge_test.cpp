// A GTK 2 application without its accessibility bridge is on no bus; the
// libraries it has mapped tell it apart, so that the user can be told how to
// load the bridge. Only the mapped files' names count, never other text.

#include "platform/accessibility/atspi/ToolkitBridgeCheck.h"
#include "support/TestProgram.h"

#include <QCoreApplication>
#include <QTest>

using namespace platform::atspi;

namespace {

QByteArray mapping(const char* path)
{
    return QByteArray("7f1c2a400000-7f1c2a45e000 r--p 00000000 fe:01 1837293    ") + path + '\n';
}

const char* const Gtk2 = "/usr/lib/x86_64-linux-gnu/libgtk-x11-2.0.so.0.2400.33";
const char* const Gtk3 = "/usr/lib/x86_64-linux-gnu/libgtk-3.so.0.2406.32";
const char* const Gail = "/usr/lib/x86_64-linux-gnu/gtk-2.0/modules/libgail.so";
const char* const BridgeModule = "/usr/lib/x86_64-linux-gnu/gtk-2.0/modules/libatk-bridge.so";
const char* const BridgeLibrary = "/usr/lib/x86_64-linux-gnu/libatk-bridge-2.0.so.0.0.0";

} // namespace

class ToolkitBridgeTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void mapsTellGtk2WithoutBridge_data()
    {
        QTest::addColumn<QByteArray>("maps");
        QTest::addColumn<bool>("withoutBridge");
        const QByteArray anonymous = "55d0c0a00000-55d0c0a21000 rw-p 00000000 00:00 0    [heap]\n";
        QTest::newRow("gtk 2 alone") << anonymous + mapping(Gtk2) + mapping(Gail) << true;
        QTest::newRow("gtk 2 with the bridge module")
            << mapping(Gtk2) + mapping(Gail) + mapping(BridgeModule) << false;
        QTest::newRow("bridge library listed before gtk 2")
            << mapping(BridgeLibrary) + mapping(Gtk2) << false;
        QTest::newRow("deleted gtk 2 library")
            << mapping("/usr/lib/libgtk-x11-2.0.so.0 (deleted)") << true;
        QTest::newRow("last line without newline") << mapping(Gtk2).chopped(1) << true;
        QTest::newRow("gtk 3") << mapping(Gtk3) << false;
        QTest::newRow("no toolkit") << anonymous << false;
        QTest::newRow("empty") << QByteArray() << false;
        // A file whose folder, not its own name, carries the library's name.
        QTest::newRow("name in a folder")
            << mapping("/home/u/libgtk-x11-2.0.so.0/data.bin") << false;
        QTest::newRow("bridge name in a folder")
            << mapping(Gtk2) + mapping("/tmp/libatk-bridge/x.so") << true;
    }

    void mapsTellGtk2WithoutBridge()
    {
        QFETCH(QByteArray, maps);
        QFETCH(bool, withoutBridge);
        QCOMPARE(mapsShowGtk2WithoutBridge(maps), withoutBridge);
    }

    // The test program itself runs no GTK 2; processes that cannot be read
    // tell nothing.
    void processesAreReadFromTheirMaps()
    {
        QVERIFY(!processRunsGtk2WithoutBridge(QCoreApplication::applicationPid()));
        QVERIFY(!processRunsGtk2WithoutBridge(0));
        QVERIFY(!processRunsGtk2WithoutBridge(-1));
        QVERIFY(!processRunsGtk2WithoutBridge(999999999));
    }
};

TROVIX_TEST_GUILESS_MAIN(ToolkitBridgeTest)
#include "toolkit_bridge_test.moc"
