#include "support/TemporaryDefaults.h"
#include "support/TestProgram.h"

#include <QDateTime>
#include <QPoint>
#include <QTest>

using platform::UserDefaults;

namespace {
const QString key = QStringLiteral("Key");
}

class SettingsReadsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void typedReadsOfStoredValues_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<bool>("asBool");
        QTest::addColumn<qint64>("asInteger");
        QTest::addColumn<double>("asFloat");
        QTest::addColumn<QString>("asString");

        QTest::newRow("absent") << QVariant() << false << qint64(0) << 0.0 << QString();
        QTest::newRow("YES") << QVariant(true) << true << qint64(1) << 1.0 << QString();
        QTest::newRow("NO") << QVariant(false) << false << qint64(0) << 0.0 << QString();
        QTest::newRow("integer") << QVariant(14) << true << qint64(14) << 14.0 << QString();
        QTest::newRow("real") << QVariant(2.5) << true << qint64(2) << 2.5 << QString();
        QTest::newRow("huge real")
            << QVariant(1e300) << true << std::numeric_limits<qint64>::max() << 1e300 << QString();
        QTest::newRow("numeric string")
            << QVariant(QStringLiteral("2.5")) << true << qint64(2) << 2.5 << QStringLiteral("2.5");
        QTest::newRow("YES string")
            << QVariant(QStringLiteral("YES")) << true << qint64(0) << 0.0 << QStringLiteral("YES");
        QTest::newRow("true string") << QVariant(QStringLiteral("true")) << true << qint64(0) << 0.0
                                     << QStringLiteral("true");
        QTest::newRow("zero-padded one")
            << QVariant(QStringLiteral("007")) << true << qint64(7) << 7.0 << QStringLiteral("007");
        QTest::newRow("overflowing string") << QVariant(QStringLiteral("-99999999999999999999"))
                                            << true << std::numeric_limits<qint64>::min() << -1e20
                                            << QStringLiteral("-99999999999999999999");
        QTest::newRow("dictionary")
            << QVariant(QVariantMap{{key, 1}}) << false << qint64(0) << 0.0 << QString();
    }
    void typedReadsOfStoredValues()
    {
        QFETCH(QVariant, stored);
        QFETCH(bool, asBool);
        QFETCH(qint64, asInteger);
        QFETCH(double, asFloat);
        QFETCH(QString, asString);

        TemporaryDefaults temporary;
        UserDefaults& defaults = temporary.defaults();
        defaults.setObject(stored, key);
        QCOMPARE(defaults.boolForKey(key), asBool);
        QCOMPARE(defaults.integerForKey(key), asInteger);
        QCOMPARE(defaults.floatForKey(key), asFloat);
        QCOMPARE(defaults.stringForKey(key), asString);
        QCOMPARE(defaults.stringForKey(key).isNull(), asString.isNull());
    }

    void storedValuesWinOverRegisteredOnes()
    {
        TemporaryDefaults temporary;
        UserDefaults& defaults = temporary.defaults();
        defaults.registerDefaults({{QStringLiteral("Application Mode"), 1},
                                   {QStringLiteral("Show Key Equivalents"), true}});
        defaults.registerDefaults({{QStringLiteral("Fast Track"), QStringLiteral("a > b")}});
        QCOMPARE(defaults.integerForKey(QStringLiteral("Application Mode")), 1);
        QCOMPARE(defaults.stringForKey(QStringLiteral("Fast Track")), QStringLiteral("a > b"));
        QVERIFY(!defaults.hasStoredValue(QStringLiteral("Application Mode")));
        QVERIFY(defaults.persistentDomain().isEmpty());

        defaults.setInteger(0, QStringLiteral("Application Mode"));
        defaults.setBool(false, QStringLiteral("Show Key Equivalents"));
        QCOMPARE(defaults.integerForKey(QStringLiteral("Application Mode")), 0);
        QCOMPARE(defaults.boolForKey(QStringLiteral("Show Key Equivalents")), false);

        // Removal falls back to the registered value, never to the old stored one.
        defaults.removeObjectForKey(QStringLiteral("Application Mode"));
        QCOMPARE(defaults.integerForKey(QStringLiteral("Application Mode")), 1);
        QVERIFY(!defaults.hasStoredValue(QStringLiteral("Application Mode")));
        QCOMPARE(defaults.registeredDefaults().size(), 3);
    }

    void settingNothingRemovesAndForeignTypesAreRefused()
    {
        TemporaryDefaults temporary;
        UserDefaults& defaults = temporary.defaults();
        defaults.setInteger(3, key);
        defaults.setObject(QVariant::fromValue(QPoint(1, 2)), key);
        QCOMPARE(defaults.integerForKey(key), 3);
        defaults.setObject(QVariant(), key);
        QVERIFY(!defaults.hasStoredValue(key));
        QVERIFY(defaults.dictionaryForKey(key).isEmpty());
    }
};

TROVIX_TEST_GUILESS_MAIN(SettingsReadsTest)
#include "settings_reads_test.moc"
