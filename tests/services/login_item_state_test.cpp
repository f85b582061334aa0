#include "platform/loginitems/memory/MemoryLoginItems.h"
#include "services/QXLoginItem.h"
#include "support/LogCapture.h"
#include "support/TestProgram.h"

#include <QTest>

using platform::LoginItem;
using platform::MemoryLoginItems;

namespace {

const QString ownEntry = QStringLiteral("com.quirkworks.Trovix.desktop");

MemoryLoginItems& installMemoryLoginItems()
{
    auto loginItems = std::make_unique<MemoryLoginItems>();
    MemoryLoginItems& installed = *loginItems;
    platform::LoginItems::setCurrent(std::move(loginItems));
    return installed;
}

} // namespace

class LoginItemStateTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { platform::LoginItems::setCurrent(nullptr); }

    void stateFollowsMechanism_data()
    {
        QTest::addColumn<bool>("helper");
        QTest::addColumn<bool>("helperEnabled");
        QTest::addColumn<bool>("canEnableHelper");
        QTest::addColumn<bool>("listed");
        QTest::addColumn<bool>("on");
        QTest::addColumn<bool>("changeable");

        QTest::newRow("no helper, not listed") << false << false << false << false << false << true;
        QTest::newRow("no helper, listed") << false << false << false << true << true << true;
        QTest::newRow("helper on") << true << true << true << false << true << true;
        // Only the list starts the program: the helper cannot take that back.
        QTest::newRow("helper off, listed by hand")
            << true << false << true << true << true << false;
        QTest::newRow("helper off, cannot be enabled from here")
            << true << false << false << false << false << false;
        QTest::newRow("helper off, can be enabled")
            << true << false << true << false << false << true;
    }

    void stateFollowsMechanism()
    {
        QFETCH(bool, helper);
        QFETCH(bool, helperEnabled);
        QFETCH(bool, canEnableHelper);
        QFETCH(bool, listed);
        MemoryLoginItems& loginItems = installMemoryLoginItems();
        loginItems.setHelper(helper, helperEnabled, canEnableHelper);
        if (listed) {
            loginItems.addItem({QStringLiteral("by-hand.desktop"), QXLoginItem::applicationPath()});
        }
        const QXLoginItem::State state = QXLoginItem::loginItemState();
        QTEST(state.on, "on");
        QTEST(state.changeable, "changeable");
    }

    // Unreadable lists and entries read as "not on", each logged, and a later
    // entry that is the program's still counts.
    void unreadableListReadsAsOff()
    {
        MemoryLoginItems& loginItems = installMemoryLoginItems();
        loginItems.addItem({QStringLiteral("broken.desktop"), QString()});
        loginItems.addItem({ownEntry, QXLoginItem::applicationPath()});
        LogCapture log;
        QVERIFY(QXLoginItem::loginItemState().on);
        QCOMPARE(log.lines(),
                 QStringList{QStringLiteral("[QXLoginItem] cannot resolve login item while "
                                            "determining login item status")});
        log.clear();
        loginItems.setListUnavailable(true);
        QVERIFY(!QXLoginItem::loginItemState().on);
        QCOMPARE(log.lines(),
                 QStringList{QStringLiteral("[QXLoginItem] cannot access login items while "
                                            "determining login item status")});
    }

    // The helper is switched only when its state differs; a refusal is logged.
    void helperSwitchedOnlyWhenStateDiffers()
    {
        MemoryLoginItems& loginItems = installMemoryLoginItems();
        loginItems.setHelper(true, true, false);
        QVERIFY(QXLoginItem::setLoginItemEnabled(true));
        QCOMPARE(loginItems.helperSwitchCount(), 0);
        QVERIFY(QXLoginItem::setLoginItemEnabled(false));
        QCOMPARE(loginItems.helperSwitchCount(), 1);
        QVERIFY(!QXLoginItem::loginItemState().on);

        LogCapture log;
        QVERIFY(!QXLoginItem::setLoginItemEnabled(true));
        QCOMPARE(log.lines(), QStringList{QStringLiteral("[QXLoginItem] cannot add login item: %1")
                                              .arg(QXLoginItem::helperIdentifier())});
    }

    void switchingOff_data()
    {
        QTest::addColumn<bool>("listed");
        QTest::addColumn<bool>("removalRefused");
        QTest::addColumn<bool>("succeeds");
        QTest::addColumn<QStringList>("logged");

        // Already off is what was asked for: success, nothing logged.
        QTest::newRow("no entry") << false << false << true << QStringList();
        QTest::newRow("entry removed") << true << false << true << QStringList();
        QTest::newRow("removal refused")
            << true << true << false
            << QStringList{QStringLiteral("[QXLoginItem] cannot remove login item: %1")
                               .arg(QXLoginItem::applicationPath())};
    }

    void switchingOff()
    {
        QFETCH(bool, listed);
        QFETCH(bool, removalRefused);
        MemoryLoginItems& loginItems = installMemoryLoginItems();
        loginItems.addItem({QStringLiteral("editor.desktop"), QStringLiteral("/usr/bin/editor")});
        if (listed) {
            loginItems.addItem({ownEntry, QXLoginItem::applicationPath()});
        }
        loginItems.setRemovalRefused(ownEntry, removalRefused);
        LogCapture log;
        QTEST(QXLoginItem::setLoginItemEnabled(false), "succeeds");
        QTEST(log.lines(), "logged");
        QCOMPARE(QXLoginItem::loginItemState().on, removalRefused);
        QCOMPARE(loginItems.items().first().path, QStringLiteral("/usr/bin/editor"));
    }

    void failedInsertionReported()
    {
        MemoryLoginItems& loginItems = installMemoryLoginItems();
        loginItems.setInsertionRefused(true);
        LogCapture log;
        QVERIFY(!QXLoginItem::setLoginItemEnabled(true));
        QCOMPARE(log.lines(),
                 QStringList{QStringLiteral("[QXLoginItem] cannot insert login item")});
        // An unreadable list does not stop switching on.
        loginItems.setInsertionRefused(false);
        loginItems.setListUnavailable(true);
        log.clear();
        QVERIFY(QXLoginItem::setLoginItemEnabled(true));
        QCOMPARE(log.lines(),
                 QStringList{QStringLiteral("[QXLoginItem] cannot access login items")});
    }
};

TROVIX_TEST_GUILESS_MAIN(LoginItemStateTest)
#include "login_item_state_test.moc"
