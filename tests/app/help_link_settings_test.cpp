#include "app/QXDefaultsRegistration.h"
#include "app/QXHelpLinkSettings.h"
#include "app/QXSettingsKeys.h"
#include "help/QXHelpIndex.h"
#include "help/QXHelpManager.h"
#include "support/TemporaryDefaults.h"
#include "support/TestProgram.h"

#include <QTemporaryDir>
#include <QTest>

// What Trovix's help links may store: every setting a link may change has a
// rule, the rules agree with the registered defaults, and the numbers chosen
// from the preferences window's lists stay within those lists.
class HelpLinkSettingsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyLinkKeyHasARule()
    {
        const QHash<QString, QXHelpManager::SettingRule> rules = QXHelpLinkSettings();
        for (const QString& key : QXSettingsKeys::helpLinkKeys()) {
            QVERIFY2(rules.contains(key), qPrintable(key));
        }
        QCOMPARE(rules.size(), QXSettingsKeys::helpLinkKeys().size());
    }

    void rulesAgreeWithTheRegisteredDefaults()
    {
        TemporaryDefaults defaults;
        QXDefaultsRegistration::registerDefaults(defaults.defaults());
        QTemporaryDir emptyBook;
        QXHelpManager manager(std::make_unique<QXHelpIndex>(
            QXHelpBookSource{QStringLiteral("Help"), QString(), emptyBook.path()},
            QStringLiteral("Test Help")));
        manager.setAcceptableUserDefaults(QXHelpLinkSettings());
        const QVariantMap registered = QXDefaultsRegistration::registeredDefaults();
        for (auto it = registered.cbegin(); it != registered.cend(); ++it) {
            QVERIFY2(manager.acceptsUserDefault(it.key(), it.value()), qPrintable(it.key()));
        }
    }

    void valuesOfTheProgramsSettings_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("font size 10") << "Menu Font Size" << QVariant(qint64(10)) << true;
        QTest::newRow("font size 30") << "Menu Font Size" << QVariant(qint64(30)) << true;
        QTest::newRow("font size 31") << "Menu Font Size" << QVariant(qint64(31)) << false;
        QTest::newRow("font size 1e300") << "Menu Font Size" << QVariant(1e300) << false;
        QTest::newRow("dark appearance") << "Menu Appearance" << QVariant(qint64(2)) << true;
        QTest::newRow("no such appearance") << "Menu Appearance" << QVariant(qint64(3)) << false;
        QTest::newRow("Fn modifier")
            << "Enable Right Click Trigger: Modifier" << QVariant(qint64(3)) << true;
        QTest::newRow("no such modifier")
            << "Enable Right Click Trigger: Modifier" << QVariant(qint64(-1)) << false;
        QTest::newRow("faceless mode") << "Application Mode" << QVariant(qint64(2)) << true;
        QTest::newRow("no such mode") << "Application Mode" << QVariant(qint64(7)) << false;
        QTest::newRow("timeout") << "Accessibility API Timeout" << QVariant(2.5) << true;
        QTest::newRow("timeout as text")
            << "Accessibility API Timeout" << QVariant(QStringLiteral("2.5")) << false;
        QTest::newRow("negative delay") << "Activation Delay" << QVariant(qint64(-1)) << true;
        QTest::newRow("blacklist") << "Blacklist" << QVariant(QStringLiteral("Help")) << true;
        QTest::newRow("blacklist as boolean") << "Blacklist" << QVariant(true) << false;
        QTest::newRow("switch") << "Stealth Mode" << QVariant(true) << true;
        QTest::newRow("switch as number") << "Stealth Mode" << QVariant(qint64(1)) << false;
        QTest::newRow("not a link key")
            << "Preferences Section" << QVariant(QStringLiteral("Menu")) << false;
    }

    void valuesOfTheProgramsSettings()
    {
        QFETCH(QString, key);
        QFETCH(QVariant, value);
        QFETCH(bool, accepted);
        TemporaryDefaults defaults;
        QXDefaultsRegistration::registerDefaults(defaults.defaults());
        QTemporaryDir emptyBook;
        QXHelpManager manager(std::make_unique<QXHelpIndex>(
            QXHelpBookSource{QStringLiteral("Help"), QString(), emptyBook.path()},
            QStringLiteral("Test Help")));
        manager.setAcceptableUserDefaults(QXHelpLinkSettings());
        QCOMPARE(manager.acceptsUserDefault(key, value), accepted);
    }
};

TROVIX_TEST_MAIN(HelpLinkSettingsTest)
#include "help_link_settings_test.moc"
