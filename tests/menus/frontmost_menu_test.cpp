// The pop-up of the application the user works in: its top level, where the
// system menu and the program's own menu go, the settings that shape it, the
// fast-track setting, and what it costs in accessibility requests.

#include "PopUpTestEnvironment.h"
#include "menus/QXAccessibility.h"
#include "support/TestProgram.h"

#include <QTest>

using platform::Menu;
using platform::MenuItem;

namespace {

constexpr qint64 FixturePid = 100;
const QStringList FixtureMenus{"Fixture", "File", "Edit", "View", "Go", "Archive", "Help"};

} // namespace

class FrontmostMenuTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void topLevelOfTheFixture()
    {
        PopUpTestEnvironment environment;
        environment.addFixture(FixturePid, "Trovix Fixture", "/usr/bin/fixture");
        const std::unique_ptr<Menu> menu = environment.popUp();
        QCOMPARE(menu->title(), QStringLiteral("Trovix Proxy"));
        QCOMPARE(shownTitles(*menu), (FixtureMenus + QStringList{"-", "Window"}));
        QVERIFY(menu->itemAtIndex(0)->titleAttributes().bold);
        QVERIFY(!menu->itemAtIndex(1)->hasAttributedTitle());
        QCOMPARE(menu->lastItem()->tag(), 0);
        QVERIFY(!menu->itemWithTitle(QStringLiteral("Archive"))->isEnabled());
    }

    void systemAndProgramMenuPlacement_data()
    {
        QTest::addColumn<bool>("moveToEnd");
        QTest::addColumn<int>("priority");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("blacklist");
        QTest::addColumn<QStringList>("head");
        QTest::addColumn<QStringList>("tail");
        const QStringList start{"Window", "-", "Fixture"};
        const QStringList plain{"Fixture", "File", "Edit"};
        const QStringList end{"Help", "-", "Window"};
        QTest::newRow("at the end") << true << 0 << 1 << "" << plain << end;
        QTest::newRow("at the start")
            << false << 0 << 1 << "" << start << QStringList{"Go", "Archive", "Help"};
        QTest::newRow("faceless: program menu after the system menu")
            << true << 0 << 2 << "" << plain << QStringList{"-", "Window", "Trovix"};
        QTest::newRow("faceless, blacklisted") << true << 0 << 2 << "trovix" << plain << end;
        QTest::newRow("priority 1, at the start")
            << false << 1 << 1 << "" << start << QStringList{"Help", "-", "Trovix"};
        QTest::newRow("priority 1 beats the blacklist")
            << true << 1 << 2 << "Trovix" << plain << QStringList{"-", "Window", "Trovix"};
        QTest::newRow("priority -1") << true << -1 << 2 << "" << plain << end;
    }

    void systemAndProgramMenuPlacement()
    {
        QFETCH(bool, moveToEnd);
        QFETCH(int, priority);
        QFETCH(int, mode);
        QFETCH(QString, blacklist);
        PopUpTestEnvironment environment;
        environment.addFixture(FixturePid, "Trovix Fixture", "/usr/bin/fixture");
        environment.settings().setBool(moveToEnd, "Move Apple Menu To End");
        environment.settings().setInteger(priority, "Meta Menu Priority");
        environment.settings().setInteger(mode, "Application Mode");
        environment.settings().setObject(blacklist, "Blacklist");
        const QStringList titles = shownTitles(*environment.popUp());
        QTEST(titles.first(3), "head");
        QTEST(titles.last(3), "tail");
    }

    void accessoryApplicationGetsTheOwnersSystemMenu()
    {
        PopUpTestEnvironment environment;
        environment.addFixture(FixturePid, "Owner", "/o");
        environment.addFixture(FixturePid + 1, "Agent", "/a", false);
        environment.workspace->setFrontmost(FixturePid + 1);
        environment.settings().setBool(true, "Support Accessory Applications");
        const std::unique_ptr<Menu> menu = environment.popUp();
        QCOMPARE(shownTitles(*menu), (FixtureMenus + QStringList{"-", "Window"}));
        const auto pidOf = [](const MenuItem* item) {
            return dynamic_cast<const QXProxyMenuItem*>(item)->element().pid();
        };
        QCOMPARE(pidOf(menu->itemAtIndex(0)), FixturePid + 1);
        QCOMPARE(pidOf(menu->lastItem()), FixturePid);
    }

    void programMenuWhenNothingCanBeRead()
    {
        PopUpTestEnvironment environment;
        // No application at all.
        QCOMPARE(environment.popUp()->itemAtIndex(0)->title(), QStringLiteral("About Trovix"));

        // An application that stopped answering: one read waits for the
        // timeout, and the name is not asked for.
        environment.addFixture(FixturePid, "Trovix Fixture", "/usr/bin/fixture");
        QXAccessibilitySetGlobalMessagingTimeout(1.0f);
        environment.accessibility->setApplicationDelay(FixturePid, 30);
        environment.accessibility->resetCounters();
        QCOMPARE(environment.popUp()->itemAtIndex(0)->title(), QStringLiteral("About Trovix"));
        QVERIFY(environment.accessibility->elapsedSeconds() <= 1.0 + 1.0);

        // Every menu blacklisted.
        environment.accessibility->setApplicationDelay(FixturePid, 0);
        environment.settings().setObject(
            QString(FixtureMenus.join(u',') + QStringLiteral(",window")),
            QStringLiteral("Blacklist"));
        QCOMPARE(environment.popUp()->itemAtIndex(0)->title(), QStringLiteral("About Trovix"));
    }

    void nothingWithoutAccessibility()
    {
        PopUpTestEnvironment environment;
        environment.accessibility->setTrusted(false);
        QVERIFY(!environment.popUp());
        QCOMPARE(environment.accessibility->prompts(), 1);
    }

    void requestsReadOnlyWhatIsShown()
    {
        PopUpTestEnvironment environment;
        environment.addFixture(FixturePid, "Trovix Fixture", "/usr/bin/fixture");
        environment.accessibility->resetCounters();
        const std::unique_ptr<Menu> menu = environment.popUp();
        // The top level only: one read per menu bar item and attribute.
        const int topLevel = FixtureMenus.size() + 1;
        for (const char* attribute : {"AXTitle", "AXEnabled", "AXMenuItemCmdModifiers",
                                      "AXMenuItemMarkChar", "AXMenuItemPrimaryUIElement"}) {
            QCOMPARE(environment.accessibility->requestCount(QString::fromLatin1(attribute)),
                     topLevel);
        }
        QCOMPARE(environment.accessibility->requestCount(QStringLiteral("AXPosition")), 0);

        // Opening File reads File's items once each.
        environment.accessibility->resetCounters();
        Menu& file = *menu->itemWithTitle("File")->submenu();
        file.update();
        QCOMPARE(environment.accessibility->requestCount(QStringLiteral("AXTitle")), 13);
        QCOMPARE(environment.accessibility->requestCount(QStringLiteral("AXPosition")), 8);
        environment.accessibility->resetCounters();
        file.update();
        QCOMPARE(environment.accessibility->requestCount(), 0);
    }

    void fastTrackLists_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QVariant>("expected");
        const QString standard = QStringLiteral("BBEdit > Text\nEagleFiler > Format");
        QTest::newRow("standard, other case")
            << standard << "EAGLEFILER" << QVariant(QStringList{"format"});
        QTest::newRow("no entry") << standard << "Fixture" << QVariant();
        QTest::newRow("all menus, later entries ignored")
            << standard + "\nEagleFiler\nEagleFiler > Edit"
            << "EagleFiler" << QVariant(QStringList());
        QTest::newRow("nothing before >") << " > Text, Fixture > File > Edit"
                                          << "Fixture" << QVariant(QStringList{"file"});
        QTest::newRow("two titles") << "Fixture > Go, fixture >View"
                                    << "Fixture" << QVariant(QStringList{"go", "view"});
    }

    void fastTrackLists()
    {
        QFETCH(QString, setting);
        QFETCH(QString, name);
        QFETCH(QVariant, expected);
        PopUpTestEnvironment environment;
        environment.settings().setObject(setting, "Fast Track");
        const std::optional<QStringList> titles =
            QXMainController::mainController().fastTrackMenuTitlesForApplicationName(name);
        QCOMPARE(titles.has_value(), expected.isValid());
        if (titles) {
            QCOMPARE(*titles, expected.toStringList());
        }
    }

    void fastTrackParsedAgainWhenChanged()
    {
        PopUpTestEnvironment environment;
        QXMainController& controller = QXMainController::mainController();
        environment.settings().setObject("Fixture > File", QStringLiteral("Fast Track"));
        QCOMPARE(*controller.fastTrackMenuTitlesForApplicationName("fixture"), QStringList{"file"});
        environment.settings().setObject("Fixture", "Fast Track");
        QCOMPARE(*controller.fastTrackMenuTitlesForApplicationName("fixture"), QStringList());
    }
};

TROVIX_TEST_MAIN(FrontmostMenuTest)
#include "frontmost_menu_test.moc"
