#include "menus/QXMenuKeyboardNavigationWorkaround.h"
#include "support/TestProgram.h"

#include <QTest>

// Each time the program stops being active, the panel holds the key role for
// one pass of the event loop and runs its close actions once.
class KeyboardNavigationWorkaroundTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void onePassPerRefresh()
    {
        QVERIFY(QXMenuKeyboardNavigationWorkaroundPanelInstance() == nullptr);
        QStringList ran;
        QXRefreshMenuKeyboardNavigation([&ran] { ran << QStringLiteral("first"); });
        QXMenuKeyboardNavigationWorkaroundPanel* panel =
            QXMenuKeyboardNavigationWorkaroundPanelInstance();
        QVERIFY(panel != nullptr);
        QVERIFY(panel->isKeyWindow());
        QVERIFY(panel->hasPendingClose());

        // A second refresh in the same pass neither re-shows the panel nor
        // adds a close; its action joins the queue, nothing for none.
        QXRefreshMenuKeyboardNavigation([&ran] { ran << QStringLiteral("second"); });
        QXRefreshMenuKeyboardNavigation();
        QCOMPARE(panel->closeActions().size(), 2);
        QVERIFY(ran.isEmpty());

        QTRY_VERIFY(!panel->isKeyWindow());
        QCOMPARE(ran, QStringList({"first", "second"}));
        QVERIFY(panel->closeActions().isEmpty());
        QVERIFY(!panel->hasPendingClose());

        // The panel is kept and used again; earlier actions never run twice.
        QXRefreshMenuKeyboardNavigation();
        QCOMPARE(QXMenuKeyboardNavigationWorkaroundPanelInstance(), panel);
        QTRY_VERIFY(!panel->isKeyWindow());
        QCOMPARE(ran.size(), 2);
        QVERIFY(panel->canBecomeKeyWindow());
    }
};

TROVIX_TEST_GUILESS_MAIN(KeyboardNavigationWorkaroundTest)
#include "keyboard_navigation_workaround_test.moc"
