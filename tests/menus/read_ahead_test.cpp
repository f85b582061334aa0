// Menu bars read ahead as applications come to the front: a pop-up shows
// them without asking the application, exactly as a fresh read would show
// them after the application changed its menus, and the reading stays
// bounded (one read at a time, a few per second under a flood of changes,
// a few applications kept).

#include "PopUpTestEnvironment.h"
#include "app/PopupCommand.h"
#include "menus/QXAccessibility.h"
#include "menus/QXMenuReadAhead.h"
#include "support/TestProgram.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <QTextStream>

namespace {

constexpr qint64 Pid = 700;

QJsonObject fixtureDescription()
{
    QFile file(qEnvironmentVariable("TROVIX_SOURCE_DIR") +
               QStringLiteral("/tests/fixtures/menu.json"));
    file.open(QIODevice::ReadOnly);
    return QJsonDocument::fromJson(file.readAll()).object();
}

// The pop-up of the application as text, its submenus opened down to depth.
QString popUpText(qint64 pid, int depth)
{
    const platform::RunningApplication application(
        pid, QStringLiteral("fixture"), QUrl(),
        platform::RunningApplication::ActivationPolicy::Regular);
    platform::Menu menu(QStringLiteral("Trovix Proxy"));
    std::shared_ptr<platform::MenuItem> systemMenu;
    QXMainController::mainController().populateMenu(menu, QXMenuBarItemsForApplication(application),
                                                    &systemMenu, std::nullopt);
    QString text;
    QTextStream out(&text);
    printPopUpMenu(menu, depth, out);
    out.flush();
    return text;
}

// A menu as text, its filled submenus included (none is read for it).
QString menuText(platform::Menu& menu)
{
    QString text;
    QTextStream out(&text);
    printPopUpMenu(menu, 0, out);
    for (const std::shared_ptr<platform::MenuItem>& item : menu.items()) {
        if (item->hasSubmenu() && item->submenu()->delegate() == nullptr) {
            out << item->title() << ":\n";
            printPopUpMenu(*item->submenu(), 0, out);
        }
    }
    out.flush();
    return text;
}

// The same read afresh: the newest read-ahead alive is the one asked.
QString freshPopUpText(qint64 pid, int depth)
{
    QXMenuReadAhead nothingKept({});
    return popUpText(pid, depth);
}

bool settle(QXMenuReadAhead& readAhead, qint64 pid)
{
    QElapsedTimer timer;
    timer.start();
    // Past the refresh interval with no read under way.
    while (timer.elapsed() < 5000) {
        QTest::qWait(QXMenuReadAhead::RefreshIntervalMs + 50);
        if (!readAhead.isReading(pid)) {
            return true;
        }
    }
    return false;
}

// Changes the first menu (Fixture) of a description as an application
// changes its menus.
QJsonObject changed(QJsonObject description, const QString& change)
{
    QJsonArray menus = description.value("menus").toArray();
    QJsonObject first = menus.at(0).toObject();
    QJsonArray items = first.value("items").toArray();
    QJsonObject item = items.at(0).toObject();
    if (change == "renamed") {
        item.insert("title", "Renamed About");
        items.replace(0, item);
    } else if (change == "added") {
        items.prepend(QJsonObject{{"title", "Added Item"}});
    } else if (change == "removed") {
        items.removeAt(0);
    } else if (change == "disabled") {
        item.insert("enabled", false);
        items.replace(0, item);
    } else if (change == "checked") {
        item.insert("check", "checked");
        items.replace(0, item);
    }
    first.insert("items", items);
    menus.replace(0, first);
    description.insert("menus", menus);
    return description;
}

} // namespace

class ReadAheadTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void aKeptMenuBarIsShownWithoutAsking_data()
    {
        QTest::addColumn<bool>("allMenus");
        QTest::newRow("the menu bar's items") << false;
        QTest::newRow("every menu, fast-tracked") << true;
    }

    void aKeptMenuBarIsShownWithoutAsking()
    {
        QFETCH(bool, allMenus);
        PopUpTestEnvironment environment;
        environment.accessibility->addApplication(Pid, fixtureDescription());
        QXMenuReadAhead readAhead([allMenus](qint64) {
            return allMenus ? platform::MenuBarReadDepth(QStringList()) : std::nullopt;
        });
        readAhead.applicationBecameFront(Pid);
        QVERIFY(readAhead.isReading(Pid));
        QVERIFY(settle(readAhead, Pid));
        QVERIFY(readAhead.isKept(Pid));

        environment.accessibility->resetCounters();
        const QString kept = popUpText(Pid, allMenus ? 3 : 0);
        QCOMPARE(environment.accessibility->requestCount(), 0);
        QCOMPARE(kept, freshPopUpText(Pid, allMenus ? 3 : 0));
        // Menus not read ahead are read as they open, and show the same.
        QCOMPARE(popUpText(Pid, 3), freshPopUpText(Pid, 3));
        QCOMPARE(readAhead.readsStarted(), 1);
    }

    void changesUnderAKeptMenuBarAreShown_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("shown");
        QTest::newRow("an item renamed") << "renamed"
                                         << "Renamed About";
        QTest::newRow("an item added") << "added"
                                       << "Added Item";
        QTest::newRow("an item removed") << "removed"
                                         << "";
        QTest::newRow("an item disabled") << "disabled"
                                          << "About Fixture  [disabled]";
        QTest::newRow("an item checked") << "checked"
                                         << "About Fixture  [on]";
    }

    void changesUnderAKeptMenuBarAreShown()
    {
        QFETCH(QString, change);
        QFETCH(QString, shown);
        PopUpTestEnvironment environment;
        environment.accessibility->addApplication(Pid, fixtureDescription());
        QXMenuReadAhead readAhead([](qint64) { return platform::MenuBarReadDepth(QStringList()); });
        readAhead.applicationBecameFront(Pid);
        QVERIFY(settle(readAhead, Pid));
        const QString before = popUpText(Pid, 3);

        environment.accessibility->addApplication(Pid, changed(fixtureDescription(), change));
        QVERIFY(settle(readAhead, Pid));
        QVERIFY(readAhead.isKept(Pid));
        QCOMPARE(readAhead.readsStarted(), 2);
        const QString after = popUpText(Pid, 3);
        QVERIFY(after != before);
        QCOMPARE(after, freshPopUpText(Pid, 3));
        if (!shown.isEmpty()) {
            QVERIFY2(after.contains(shown), qPrintable(after));
        } else {
            QVERIFY(!after.contains("About Fixture"));
        }
    }

    // A pop-up shown from menus kept as read is built again once a check
    // has read them afresh, when (and only when) what it shows changed: a
    // rebuild takes the item the user is at away.
    void anOpenPopUpIsBuiltAgainWhenWhatItShowsChanged_data()
    {
        QTest::addColumn<QString>("change");
        for (const char* change : {"renamed", "added", "removed", "disabled", "checked"}) {
            QTest::newRow(change) << change;
        }
        QTest::newRow("nothing") << "nothing";
    }

    void anOpenPopUpIsBuiltAgainWhenWhatItShowsChanged()
    {
        QFETCH(QString, change);
        PopUpTestEnvironment environment;
        environment.accessibility->addApplication(Pid, fixtureDescription());
        environment.workspace->addApplication(Pid, QStringLiteral("fixture"),
                                              QStringLiteral("/usr/bin/fixture"));
        environment.workspace->setFrontmost(Pid);
        environment.workspace->setMenuBarOwner(Pid);
        // The changed menu is filled as the pop-up is built.
        environment.settings().setObject(QStringLiteral("fixture > Fixture"),
                                         QStringLiteral("Fast Track"));
        QXMainController& controller = QXMainController::mainController();
        controller.resetFastTrackMenuTitles();
        const std::unique_ptr<platform::Menu> menu = environment.popUp();
        QVERIFY(menu);
        const QString before = menuText(*menu);

        environment.accessibility->addApplication(Pid, changed(fixtureDescription(), change));
        QCOMPARE(controller.rebuildPopUpMenu(*menu, false), change != "nothing");
        const QString after = menuText(*menu);
        QCOMPARE(after, menuText(*environment.popUp()));
        QCOMPARE(after == before, change == "nothing");
    }

    void aTriggerDuringAReadWaitsForIt()
    {
        PopUpTestEnvironment environment;
        environment.accessibility->addApplication(Pid, fixtureDescription());
        QXMenuReadAhead readAhead({});
        readAhead.applicationBecameFront(Pid);
        QVERIFY(readAhead.isReading(Pid));
        QVERIFY(!readAhead.menuBar(Pid).isNull());
        QCOMPARE(readAhead.readsStarted(), 1);
        // Coming to the front again reads nothing more.
        readAhead.applicationBecameFront(Pid);
        QCOMPARE(readAhead.readsStarted(), 1);
    }

    void aChangeIsReadOnceItsBurstIsOver()
    {
        PopUpTestEnvironment environment;
        environment.accessibility->addApplication(Pid, fixtureDescription());
        QXMenuReadAhead readAhead({});
        readAhead.applicationBecameFront(Pid);
        // A change during a read: a pop-up does not wait for a read that
        // will be thrown away, it reads for itself.
        environment.accessibility->notifyMenusChanged(Pid);
        QVERIFY(readAhead.menuBar(Pid).isNull());
        QVERIFY(readAhead.isReading(Pid));
        QVERIFY(settle(readAhead, Pid));
        QVERIFY(readAhead.isKept(Pid));
        const int reads = readAhead.readsStarted();
        // One change to a menu comes as several events: read once, after
        // the last, and nothing stale is shown meanwhile (long enough after
        // the last read for a read to be allowed at once).
        QTest::qWait(QXMenuReadAhead::RefreshIntervalMs + 50);
        for (int event = 0; event < 5; ++event) {
            environment.accessibility->notifyMenusChanged(Pid);
        }
        QVERIFY(readAhead.menuBar(Pid).isNull());
        QVERIFY(settle(readAhead, Pid));
        QVERIFY(readAhead.isKept(Pid));
        QCOMPARE(readAhead.readsStarted(), reads + 1);
    }

    void applicationsThatQuitAreForgotten()
    {
        PopUpTestEnvironment environment;
        QXMenuReadAhead readAhead({});
        for (const qint64 pid : {Pid, Pid + 1}) {
            environment.accessibility->addApplication(pid, fixtureDescription());
            readAhead.applicationBecameFront(pid);
            QVERIFY(settle(readAhead, pid));
        }
        QCOMPARE(readAhead.applications(), (QList<qint64>{Pid + 1, Pid}));
        // One behind the front goes at once, without a read.
        environment.accessibility->removeApplication(Pid);
        QCOMPARE(readAhead.applications(), QList<qint64>{Pid + 1});
        // The front one is asked again, and found gone.
        environment.accessibility->removeApplication(Pid + 1);
        QVERIFY(settle(readAhead, Pid + 1));
        QVERIFY(readAhead.applications().isEmpty());
        QCOMPARE(readAhead.readsStarted(), 3);
    }

    void aFloodOfChangesIsReadAFewTimesASecond()
    {
        PopUpTestEnvironment environment;
        environment.accessibility->addApplication(Pid, fixtureDescription());
        QXMenuReadAhead readAhead({});
        readAhead.applicationBecameFront(Pid);
        QVERIFY(settle(readAhead, Pid));
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 1000) {
            environment.accessibility->notifyMenusChanged(Pid);
            QTest::qWait(5);
        }
        const qint64 elapsed = timer.elapsed();
        QVERIFY(settle(readAhead, Pid));
        QVERIFY(readAhead.isKept(Pid));
        QVERIFY2(readAhead.readsStarted() <= 2 + elapsed / QXMenuReadAhead::RefreshIntervalMs,
                 qPrintable(QString::number(readAhead.readsStarted())));
    }

    void onlyTheLastFewApplicationsAreKept()
    {
        PopUpTestEnvironment environment;
        QXMenuReadAhead readAhead({});
        QList<qint64> pids;
        for (qint64 pid = Pid; pid < Pid + QXMenuReadAhead::KeptApplications + 3; ++pid) {
            environment.accessibility->addApplication(pid, fixtureDescription());
            readAhead.applicationBecameFront(pid);
            QVERIFY(settle(readAhead, pid));
            pids.prepend(pid);
        }
        QCOMPARE(readAhead.applications(), pids.first(QXMenuReadAhead::KeptApplications));
        // The program's own menus are never read.
        readAhead.applicationBecameFront(QCoreApplication::applicationPid());
        QVERIFY(!readAhead.applications().contains(QCoreApplication::applicationPid()));
    }
};

TROVIX_TEST_MAIN(ReadAheadTest)
#include "read_ahead_test.moc"
