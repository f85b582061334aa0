#include "AppTestEnvironment.h"
#include "app/QXMainPreferencesWindow.h"
#include "hotkeys/QXHotKeyHandlerApplication.h"
#include "platform/menus/Menu.h"
#include "platform/updates/memory/MemoryUpdater.h"
#include "services/QXSparkleWrapper.h"
#include "support/TestProgram.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

// Update checks as the program offers them: the menu item and the Updates
// section of the preferences window, over the in-memory updater.
class UpdateChecksTest : public QObject
{
    Q_OBJECT

private:
    QXMainController& controller() { return QXMainController::mainController(); }

    static QWidget* updatesPage(QXMainController& controller)
    {
        controller.showPreferencesTab(QStringLiteral("Updates"));
        return controller.preferencesWindow()->sectionPage(QStringLiteral("Updates"));
    }

private Q_SLOTS:
    void init()
    {
        auto updater = std::make_unique<platform::MemoryUpdater>();
        m_updater = updater.get();
        platform::Updater::setCurrent(std::move(updater));
        QXSparkleWrapper::sharedSparkleWrapper().resetForTesting();
    }
    void cleanup()
    {
        QXSparkleWrapper::sharedSparkleWrapper().resetForTesting();
        platform::Updater::setCurrent(nullptr);
    }

    // "Check for Updates..." runs a check with the updater's own windows,
    // and nothing beeps.
    void menuItemChecks()
    {
        AppTestEnvironment environment;
        platform::Menu menu;
        controller().populateContextMenu(menu);
        platform::MenuItem* item = menu.itemWithTitle(QStringLiteral("Check for Updates..."));
        QVERIFY(item != nullptr);
        QVERIFY(item->performAction());
        QCOMPARE(m_updater->userInitiatedCheckCount(), 1);
        QCOMPARE(environment.activation->beeps, 0);
        QVERIFY(m_updater->finishWithUpdate([] {
            platform::AppcastItem update;
            update.version = QStringLiteral("2.0");
            return update;
        }()));
        QCOMPARE(environment.settings()
                     .dictionaryForKey(QStringLiteral("QXSparkleWrapper Status"))
                     .value(QStringLiteral("Update Version")),
                 QVariant(QStringLiteral("2.0")));
    }

    // The section's controls: named for screen readers, wired to the
    // wrapper, and showing the last result once there is one.
    void updatesSection()
    {
        AppTestEnvironment environment;
        controller().applicationWillFinishLaunching();
        controller().applicationDidFinishLaunching();
        QWidget* page = updatesPage(controller());
        QVERIFY(page != nullptr);
        auto* automatic = page->findChild<QCheckBox*>(QStringLiteral("autoUpdateCheckingSwitch"));
        auto* checkNow = page->findChild<QPushButton*>(QStringLiteral("checkForUpdatesButton"));
        auto* status = page->findChild<QLabel*>(QStringLiteral("statusTextField"));
        auto* date = page->findChild<QLabel*>(QStringLiteral("statusDateTextField"));
        QVERIFY(automatic && checkNow && status && date);
        QCOMPARE(automatic->text(), QStringLiteral("Check Automatically"));
        QCOMPARE(checkNow->text(), QStringLiteral("Check Now..."));
        QVERIFY(!automatic->isChecked());
        QVERIFY(status->text().isEmpty());

        automatic->click();
        QVERIFY(m_updater->automaticallyChecksForUpdates());
        QVERIFY(automatic->isChecked());
        checkNow->click();
        QCOMPARE(m_updater->userInitiatedCheckCount(), 1);
        QVERIFY(m_updater->finishWithoutUpdate());
        const QString version = QXSparkleWrapper::currentShortVersionString();
        QCOMPARE(status->text(), QStringLiteral("Trovix %1 is up to date.").arg(version));
        QCOMPARE(status->accessibleName(), status->text());
        QVERIFY(date->text().startsWith(QStringLiteral("Last check: ")));
    }

private:
    platform::MemoryUpdater* m_updater = nullptr; // owned by Updater::current()
};

TROVIX_TEST_MAIN_WITH(UpdateChecksTest, QXHotKeyHandlerApplication)
#include "update_checks_test.moc"
