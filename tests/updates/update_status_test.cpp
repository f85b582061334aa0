#include "platform/application/memory/MemoryActivation.h"
#include "platform/menus/Menu.h"
#include "platform/menus/MenuItem.h"
#include "platform/updates/memory/MemoryUpdater.h"
#include "services/QXSparkleWrapper.h"
#include "support/TemporaryDefaults.h"
#include "support/TestProgram.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

using platform::AppcastItem;
using platform::MemoryUpdater;

namespace {

const QString statusKey = QStringLiteral("QXSparkleWrapper Status");

AppcastItem itemWithVersion(const QString& version, const QString& shortVersion)
{
    AppcastItem item;
    item.version = version;
    item.shortVersionString = shortVersion;
    return item;
}

QStringList titles(const platform::Menu& menu)
{
    QStringList result;
    for (const auto& item : menu.items()) {
        result.append(item->isSeparatorItem() ? QStringLiteral("-") : item->title());
    }
    return result;
}

} // namespace

// The status record and what the program shows of it, driven through the
// in-memory updater.
class UpdateStatusTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_defaults = std::make_unique<TemporaryDefaults>();
        auto updater = std::make_unique<MemoryUpdater>();
        m_updater = updater.get();
        platform::Updater::setCurrent(std::move(updater));
        m_activation = new platform::MemoryActivation();
        platform::Activation::setCurrent(std::unique_ptr<platform::Activation>(m_activation));
        QXSparkleWrapper::setCurrentShortVersionStringForTesting(QStringLiteral("1.5"));
        wrapper().resetForTesting();
        m_checkBox = std::make_unique<QCheckBox>();
        m_status = std::make_unique<QLabel>();
        m_date = std::make_unique<QLabel>();
        wrapper().setAutoUpdateCheckingSwitch(m_checkBox.get());
        wrapper().setStatusTextField(m_status.get());
        wrapper().setStatusDateTextField(m_date.get());
    }

    void cleanup()
    {
        wrapper().resetForTesting();
        QXSparkleWrapper::setCurrentShortVersionStringForTesting(std::nullopt);
        platform::Updater::setCurrent(nullptr);
        platform::Activation::setCurrent(nullptr);
        m_defaults.reset();
    }

    // Each outcome of a check the user asked for, and what stays behind.
    void recordsOutcome_data()
    {
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<QString>("updateVersion");
        QTest::addColumn<QString>("sentence");
        QTest::newRow("update found") << "update"
                                      << "2.0"
                                      << "Trovix 2.0 is now available! You are currently "
                                         "using Trovix 1.5.";
        QTest::newRow("no update") << "none"
                                   << ""
                                   << "Trovix 1.5 is up to date.";
        // A scheduled check found only the version the user skipped: never
        // "up to date".
        QTest::newRow("skipped version found") << "skipped"
                                               << "2.0"
                                               << "Trovix 2.0 is available and was skipped. You "
                                                  "are currently using Trovix 1.5.";
        // Loaded, but neither result followed: up to date after one pass.
        QTest::newRow("loaded without a result") << "loaded"
                                                 << ""
                                                 << "Trovix 1.5 is up to date.";
    }
    void recordsOutcome()
    {
        QFETCH(QString, outcome);
        QFETCH(QString, updateVersion);
        QFETCH(QString, sentence);
        const qint64 before = QDateTime::currentSecsSinceEpoch();
        wrapper().checkForUpdates();
        QCOMPARE(m_updater->userInitiatedCheckCount(), 1);
        if (outcome == QLatin1String("update")) {
            QVERIFY(m_updater->finishWithUpdate(itemWithVersion("200", "2.0")));
        } else if (outcome == QLatin1String("none")) {
            QVERIFY(m_updater->finishWithoutUpdate());
        } else if (outcome == QLatin1String("skipped")) {
            QVERIFY(m_updater->finishWithSkippedUpdate(itemWithVersion("200", "2.0")));
        } else {
            QVERIFY(m_updater->finishLoadingOnly());
            QVERIFY(!m_defaults->defaults().hasStoredValue(statusKey));
            QTRY_VERIFY(m_defaults->defaults().hasStoredValue(statusKey));
        }
        const QVariantMap record = m_defaults->defaults().dictionaryForKey(statusKey);
        QCOMPARE(record.value("Current Version").toString(), QStringLiteral("1.5"));
        QCOMPARE(record.value("Update Version").toString(), updateVersion);
        QVERIFY(record.value("Check Date").toLongLong() >= before);
        QVERIFY(record.value("Check Date").toLongLong() <= QDateTime::currentSecsSinceEpoch());
        QCOMPARE(m_status->text(), sentence);
        QVERIFY(m_date->text().startsWith(QStringLiteral("Last check: ")));
        QCOMPARE(m_status->accessibleName(), sentence);
        QVERIFY(m_status->textInteractionFlags() & Qt::TextSelectableByMouse);
        // The update menu says the same.
        platform::Menu menu;
        wrapper().menuNeedsUpdate(menu);
        QCOMPARE(titles(menu).value(1), QStringLiteral("-"));
        QCOMPARE(titles(menu).value(2), sentence);
    }

    // A later result for a version that was not skipped drops the mark.
    void skippedMarkGoesWithTheNextResult()
    {
        wrapper().checkForUpdateInformation();
        QVERIFY(m_updater->finishWithSkippedUpdate(itemWithVersion("200", "2.0")));
        QCOMPARE(wrapper().status().value("Skipped Version").toString(), QStringLiteral("2.0"));
        wrapper().checkForUpdates();
        QVERIFY(m_updater->finishWithUpdate(itemWithVersion("200", "2.0")));
        QVERIFY(!wrapper().status().contains("Skipped Version"));
        QCOMPARE(m_status->text(), QStringLiteral("Trovix 2.0 is now available! You are currently "
                                                  "using Trovix 1.5."));
    }

    // A result that arrives in time cancels the pending fallback: the record
    // keeps the update found.
    void resultCancelsFallback()
    {
        wrapper().checkForUpdates();
        QVERIFY(m_updater->finishWithUpdate(itemWithVersion("3", "")));
        QTest::qWait(20);
        QCOMPARE(wrapper().status().value("Update Version").toString(), QStringLiteral("3"));
    }

    // A check that fails leaves the last result, date included, as it was.
    void failureLeavesRecord()
    {
        const QVariantMap stored{{"Current Version", "1.5"},
                                 {"Update Version", "1.7"},
                                 {"Check Date", qint64(1700000000)}};
        m_defaults->defaults().setObject(stored, statusKey);
        QSignalSpy aborted(&wrapper(), &QXSparkleWrapper::checkAborted);
        wrapper().checkForUpdateInformation();
        QVERIFY(
            m_updater->finishWithFailure(QStringLiteral("The update feed is larger than 1 MB.")));
        QCOMPARE(aborted.size(), 1);
        QTest::qWait(20);
        QCOMPARE(m_defaults->defaults().dictionaryForKey(statusKey), stored);
        QCOMPARE(wrapper().status(), stored);
    }

    // What the record shows for the running version.
    void describesRecord_data()
    {
        QTest::addColumn<QVariantMap>("record");
        QTest::addColumn<QString>("running");
        QTest::addColumn<QString>("sentence");
        QTest::addColumn<bool>("hasDate");
        const QVariantMap found{{"Current Version", "1.5"},
                                {"Update Version", "2.0"},
                                {"Check Date", qint64(1700000000)}};
        QTest::newRow("update") << found << "1.5"
                                << "Trovix 2.0 is now available! You are currently using "
                                   "Trovix 1.5."
                                << true;
        QTest::newRow("made by an older version") << found << "1.6"
                                                  << "" << false;
        QTest::newRow("no running version") << found << ""
                                            << "" << false;
        QTest::newRow("nothing stored") << QVariantMap() << "1.5"
                                        << "" << false;
        QTest::newRow("version forgotten")
            << QVariantMap{{"Current Version", "1.5"}, {"Check Date", qint64(1)}} << "1.5"
            << "" << false;
        // Written by hand with the wrong types: nothing shown, no crash.
        QTest::newRow("wrong types")
            << QVariantMap{{"Current Version", 15}, {"Update Version", true}, {"Check Date", "x"}}
            << "1.5"
            << "" << false;
    }
    void describesRecord()
    {
        QFETCH(QVariantMap, record);
        QFETCH(QString, running);
        QFETCH(QString, sentence);
        QFETCH(bool, hasDate);
        m_defaults->defaults().setObject(record, statusKey);
        QXSparkleWrapper::setCurrentShortVersionStringForTesting(running);
        wrapper().updateControls();
        QCOMPARE(wrapper().statusDescription(), sentence);
        QCOMPARE(m_status->text(), sentence);
        QCOMPARE(m_date->text().isEmpty(), !hasDate);
        // Even an empty status field reads as something.
        QVERIFY(!m_status->accessibleName().isEmpty());
    }

    // A result recorded by another process (the command line) shows at once.
    void followsRecordWrittenElsewhere()
    {
        wrapper().updateControls();
        QVERIFY(m_status->text().isEmpty());
        m_defaults->defaults().setObject(
            QVariantMap{{"Current Version", "1.5"}, {"Update Version", ""}, {"Check Date", 1}},
            statusKey);
        QCOMPARE(m_status->text(), QStringLiteral("Trovix 1.5 is up to date."));
    }

    // Without a short version a result only forgets "Current Version".
    void resultWithoutVersion()
    {
        const QVariantMap stored{{"Current Version", "1.4"}, {"Update Version", "1.5"}};
        m_defaults->defaults().setObject(stored, statusKey);
        QXSparkleWrapper::setCurrentShortVersionStringForTesting(QString());
        wrapper().setUpdateVersion(QStringLiteral("2.0"));
        QCOMPARE(m_defaults->defaults().dictionaryForKey(statusKey),
                 (QVariantMap{{"Update Version", "1.5"}}));
    }

    // The check box follows a change from elsewhere, not its own click.
    void togglesAutomaticChecking()
    {
        wrapper().updateControls();
        QVERIFY(!m_checkBox->isChecked());
        // A click has already changed the check box; it is not set again.
        m_checkBox->setChecked(true);
        QSignalSpy toggled(m_checkBox.get(), &QCheckBox::toggled);
        wrapper().toggleAutomaticChecking(m_checkBox.get());
        QVERIFY(m_updater->automaticallyChecksForUpdates());
        QCOMPARE(toggled.size(), 0);
        // From a menu item the check box is set to the new value.
        wrapper().toggleAutomaticChecking(nullptr);
        QVERIFY(!m_updater->automaticallyChecksForUpdates());
        QVERIFY(!m_checkBox->isChecked());
    }

    // Automatic checking switched in another process: the check box follows
    // as soon as the settings change.
    void checkBoxFollowsAutomaticCheckingSetElsewhere()
    {
        wrapper().updateControls();
        QVERIFY(!m_checkBox->isChecked());
        m_updater->setAutomaticallyChecksForUpdates(true);
        m_defaults->defaults().setBool(true, QStringLiteral("SUEnableAutomaticChecks"));
        QVERIFY(m_checkBox->isChecked());
        m_updater->setAutomaticallyChecksForUpdates(false);
        m_defaults->defaults().setBool(false, QStringLiteral("SUEnableAutomaticChecks"));
        QVERIFY(!m_checkBox->isChecked());
    }

    // The update menu keeps its tagged leading items and replaces the rest.
    void rebuildsMenu()
    {
        platform::Menu menu;
        menu.addItem(QStringLiteral("Header"))->setTag(7);
        menu.addItem(QStringLiteral("Stale"));
        wrapper().menuNeedsUpdate(menu);
        QCOMPARE(titles(menu), (QStringList{"Header", "Check Now...", "-", "Check Automatically"}));
        wrapper().setUpdateVersion(QString(QLatin1String("")));
        m_updater->setAutomaticallyChecksForUpdates(true);
        wrapper().menuNeedsUpdate(menu);
        const QStringList rebuilt = titles(menu);
        QCOMPARE(rebuilt.size(), 7);
        QCOMPARE(rebuilt.mid(0, 4),
                 (QStringList{"Header", "Check Now...", "-", "Trovix 1.5 is up to date."}));
        QVERIFY(rebuilt.at(4).startsWith(QStringLiteral("Last check: ")));
        QVERIFY(!menu.itemAtIndex(3)->isEnabledFlag());
        QCOMPARE(menu.lastItem()->state(), platform::MenuItem::State::On);
    }

    // A control without a tool tip to ask, and an address that is no URL,
    // only beep.
    void productPageWithoutAddress()
    {
        QObject notAControl;
        wrapper().visitProductPage(&notAControl);
        QCOMPARE(m_activation->beeps, 1);
        QLabel badAddress;
        badAddress.setToolTip(QStringLiteral("http://exa mple.com/%%"));
        wrapper().visitProductPage(&badAddress);
        QCOMPARE(m_activation->beeps, 2);
        QCOMPARE(QXSparkleWrapper::productPageAddress(),
                 QStringLiteral("https://www.quirkworks.com/trovix"));
    }

private:
    static QXSparkleWrapper& wrapper() { return QXSparkleWrapper::sharedSparkleWrapper(); }

    std::unique_ptr<TemporaryDefaults> m_defaults;
    MemoryUpdater* m_updater = nullptr;
    platform::MemoryActivation* m_activation = nullptr;
    std::unique_ptr<QCheckBox> m_checkBox;
    std::unique_ptr<QLabel> m_status;
    std::unique_ptr<QLabel> m_date;
};

TROVIX_TEST_MAIN(UpdateStatusTest)
#include "update_status_test.moc"
