#include "platform/input/VirtualKeyCodes.h"
#include "platform/input/kde/KGlobalAccelBinder.h"

#include <QDBusConnection>
#include <QGuiApplication>
#include <QKeySequence>
#include <QProcess>
#include <QtTest>

using namespace platform;

Q_DECLARE_METATYPE(platform::KeyCombination)

// Hot keys in KDE's global shortcut service: the keys as the service stores
// them, and, from the desktop tests (TROVIX_TEST_KGLOBALACCEL=1, with the
// service on the session bus and an X server), a key typed on the X server
// coming back as the hot key's press.
class KdeGlobalShortcutsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keysAreNumberedTheWayQtDoes_data()
    {
        QTest::addColumn<KeyCombination>("combination");
        QTest::addColumn<QString>("sequence");
        QTest::newRow("super m") << KeyCombination{VirtualKey::M, ModifierFlag::Command}
                                 << "Meta+M";
        QTest::newRow("all four") << KeyCombination{VirtualKey::F7,
                                                    ModifierFlag::Command | ModifierFlag::Control |
                                                        ModifierFlag::Option | ModifierFlag::Shift}
                                  << "Meta+Ctrl+Alt+Shift+F7";
        QTest::newRow("space") << KeyCombination{VirtualKey::Space, ModifierFlag::Control}
                               << "Ctrl+Space";
        QTest::newRow("slash") << KeyCombination{VirtualKey::Slash, ModifierFlag::Option}
                               << "Alt+/";
        QTest::newRow("page up") << KeyCombination{VirtualKey::PageUp, ModifierFlag::Shift}
                                 << "Shift+PgUp";
    }

    void keysAreNumberedTheWayQtDoes()
    {
        QFETCH(KeyCombination, combination);
        QFETCH(QString, sequence);
        const std::optional<int> key = KGlobalAccelBinder::qtKey(combination);
        QVERIFY(key);
        QCOMPARE(QKeySequence(*key).toString(QKeySequence::PortableText), sequence);
    }

    void keysTheServiceCannotHoldHaveNoNumber()
    {
        QCOMPARE(KGlobalAccelBinder::qtKey({VirtualKey::Keypad1, ModifierFlag::Control}),
                 std::nullopt);
        QCOMPARE(KGlobalAccelBinder::qtKey({VirtualKey::M, ModifierFlag::Function}), std::nullopt);
        QCOMPARE(KGlobalAccelBinder::qtKey({0x7F, ModifierFlag::Command}), std::nullopt);
    }

    void aTypedKeyComesBackAsThePress()
    {
        if (qEnvironmentVariableIntValue("TROVIX_TEST_KGLOBALACCEL") != 1) {
            QSKIP("needs KDE's global shortcut service and an X server (desktop tests)");
        }
        QStringList activations;
        KGlobalAccelBinder binder(QDBusConnection::sessionBus(),
                                  [&activations](const QString& name, bool pressed) {
                                      activations.append(name + (pressed ? u'+' : u'-'));
                                  });
        const KeyCombination combination{
            VirtualKey::F7, ModifierFlag::Control | ModifierFlag::Option | ModifierFlag::Shift};
        binder.bind(
            {{QStringLiteral("trovix-front"), QStringLiteral("The menu"), {}, combination}});
        // The service grabs the key once it has the shortcut; typed until it
        // answers (it may be starting).
        QProcess xdotool;
        for (int attempt = 0; attempt < 40 && activations.isEmpty(); ++attempt) {
            xdotool.start(QStringLiteral("xdotool"),
                          {QStringLiteral("key"), QStringLiteral("ctrl+alt+shift+F7")});
            QVERIFY(xdotool.waitForFinished(5000));
            QTest::qWait(250);
        }
        QTRY_VERIFY(activations.contains(QStringLiteral("trovix-front+")));
        binder.remove(QStringLiteral("trovix-front"));
        QTest::qWait(200);
    }
};

int main(int argc, char** argv)
{
    // The live case types on the desktop's X server; the others need none.
    if (qEnvironmentVariableIntValue("TROVIX_TEST_KGLOBALACCEL") != 1) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication application(argc, argv);
    KdeGlobalShortcutsTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "kde_global_shortcuts_test.moc"
