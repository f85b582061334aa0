// The menu of all running applications: which applications it lists, their
// titles and order, their lazily filled submenus and what choosing one does.

#include "PopUpTestEnvironment.h"
#include "support/TestProgram.h"

#include <QTest>

using platform::Menu;
using platform::MenuItem;
using Policy = platform::RunningApplication::ActivationPolicy;

class AllApplicationsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void listedApplicationsTitlesAndOrder()
    {
        PopUpTestEnvironment environment;
        environment.addFixture(10, "Fixture", "/usr/bin/fixture", false);
        environment.addFixture(11, "Fixture", "/opt/fixture", false);
        environment.addFixture(12, "beta", "/usr/bin/beta");
        environment.workspace->addApplication(13, "Agent", "/a", Policy::Accessory);
        environment.workspace->addApplication(14, "daemon", "/d", Policy::Prohibited);
        environment.workspace->addApplication(15, "Secret", "/s");
        environment.settings().setObject("SECRET", "Blacklist");

        std::unique_ptr<Menu> menu = environment.popUp(true);
        QCOMPARE(shownTitles(*menu), (QStringList{"beta", "Fixture (/opt/fixture) 11",
                                                  "Fixture (/usr/bin/fixture) 10", "-", "Window"}));
        QVERIFY(menu->itemAtIndex(0)->titleAttributes().bold);
        QVERIFY(!menu->itemAtIndex(1)->hasAttributedTitle());
        // The menu-bar owner's menus are read now, its system menu moved to
        // the top level; the others wait for their submenus to open.
        QCOMPARE(shownTitles(*menu->itemAtIndex(0)->submenu()).first(2),
                 (QStringList{"Fixture", "File"}));
        QCOMPARE(menu->itemAtIndex(1)->submenu()->itemAtIndex(0)->title(), QStringLiteral("_"));

        environment.settings().setBool(false, QStringLiteral("Application Menu Items: "
                                                             "Emphasize Frontmost Application"));
        menu = environment.popUp(true);
        QVERIFY(!menu->itemAtIndex(0)->hasAttributedTitle());
    }

    void accessoryApplications_data()
    {
        QTest::addColumn<bool>("support");
        QTest::addColumn<bool>("all");
        QTest::addColumn<bool>("accessoryInFront");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("not supported") << false << false << true << QStringList{"Plain"};
        QTest::newRow("the frontmost accessory")
            << true << false << true << QStringList{"Agent", "Plain"};
        QTest::newRow("an accessory behind") << true << false << false << QStringList{"Plain"};
        // With all of them, an application needs a menu bar beyond the
        // system menu; Bare has none.
        QTest::newRow("all of them") << true << true << false << QStringList{"Agent", "Plain"};
    }

    void accessoryApplications()
    {
        QFETCH(bool, support);
        QFETCH(bool, all);
        QFETCH(bool, accessoryInFront);
        PopUpTestEnvironment environment;
        environment.addFixture(20, "Plain", "/p", !accessoryInFront);
        environment.accessibility->addApplicationWithoutMenuBar(21, "Bare");
        environment.workspace->addApplication(21, "Bare", "/b");
        environment.addFixture(22, "Agent", "/a", false, Policy::Accessory);
        if (accessoryInFront) {
            environment.workspace->setFrontmost(22);
            environment.workspace->setMenuBarOwner(20);
        }
        environment.settings().setBool(support, "Support Accessory Applications");
        environment.settings().setBool(all, "Support Accessory Applications: All Applications");
        environment.settings().setInteger(-1, "Meta Menu Priority");

        QStringList titles = shownTitles(*environment.popUp(true));
        titles.removeAll(QStringLiteral("-"));
        titles.removeAll(QStringLiteral("Window"));
        if (!all) {
            QTEST(titles.filter(QRegularExpression(QStringLiteral("^(Plain|Agent)$"))), "listed");
        } else {
            QTEST(titles, "listed");
        }
    }

    void lazySubmenusAreReadOnce()
    {
        PopUpTestEnvironment environment;
        environment.addFixture(30, "Front", "/f");
        environment.addFixture(31, "Other", "/o", false);
        environment.accessibility->addApplicationWithoutMenuBar(32, "Silent");
        environment.workspace->addApplication(32, "Silent", "/s");

        const std::unique_ptr<Menu> menu = environment.popUp(true);
        Menu& other = *menu->itemWithTitle("Other")->submenu();
        environment.accessibility->resetCounters();
        other.update();
        // The other application's system menu is left out.
        QCOMPARE(shownTitles(other).first(2), (QStringList{"Fixture", "File"}));
        QVERIFY(!shownTitles(other).contains(QStringLiteral("Window")));
        const int requests = environment.accessibility->requestCount();
        QVERIFY(requests > 0);
        other.update();
        QCOMPARE(environment.accessibility->requestCount(), requests);

        Menu& silent = *menu->itemWithTitle("Silent")->submenu();
        silent.update();
        QCOMPARE(shownTitles(silent), QStringList{"Empty"});
        QVERIFY(!silent.itemAtIndex(0)->isEnabled());
    }

    void choosingAnApplicationActivatesIt()
    {
        PopUpTestEnvironment environment;
        environment.addFixture(40, "Front", "/f");
        environment.addFixture(41, "Behind", "/b", false);
        const std::unique_ptr<Menu> menu = environment.popUp(true);
        QVERIFY(menu->itemWithTitle(QStringLiteral("Behind"))->performAction());
        // Reopen is on by default, which raises all windows.
        QCOMPARE(environment.workspace->requests(), (QStringList{"front 41 all", "reopen 41"}));
    }
};

TROVIX_TEST_MAIN(AllApplicationsTest)
#include "all_applications_test.moc"
