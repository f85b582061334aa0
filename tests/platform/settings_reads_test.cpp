#include "support/TemporaryDefaults.h"

#include <QDateTime>
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
        QTest::newRow("zero") << QVariant(0) << false << qint64(0) << 0.0 << QString();
        QTest::newRow("negative") << QVariant(-1) << true << qint64(-1) << -1.0 << QString();
        QTest::newRow("real") << QVariant(2.5) << true << qint64(2) << 2.5 << QString();
        QTest::newRow("negative real") << QVariant(-2.9) << true << qint64(-2) << -2.9 << QString();
        QTest::newRow("huge real")
            << QVariant(1e300) << true << std::numeric_limits<qint64>::max() << 1e300 << QString();
        QTest::newRow("numeric string")
            << QVariant(QStringLiteral("2.5")) << true << qint64(2) << 2.5 << QStringLiteral("2.5");
        QTest::newRow("padded string") << QVariant(QStringLiteral(" 0.009 ")) << false << qint64(0)
                                       << 0.009 << QStringLiteral(" 0.009 ");
        QTest::newRow("YES string")
            << QVariant(QStringLiteral("YES")) << true << qint64(0) << 0.0 << QStringLiteral("YES");
        QTest::newRow("true string") << QVariant(QStringLiteral("true")) << true << qint64(0) << 0.0
                                     << QStringLiteral("true");
        QTest::newRow("NO string")
            << QVariant(QStringLiteral("NO")) << false << qint64(0) << 0.0 << QStringLiteral("NO");
        QTest::newRow("zero-padded one")
            << QVariant(QStringLiteral("007")) << true << qint64(7) << 7.0 << QStringLiteral("007");
        QTest::newRow("word") << QVariant(QStringLiteral("hello")) << false << qint64(0) << 0.0
                              << QStringLiteral("hello");
        QTest::newRow("overflowing string") << QVariant(QStringLiteral("-99999999999999999999"))
                                            << true << std::numeric_limits<qint64>::min() << -1e20
                                            << QStringLiteral("-99999999999999999999");
        QTest::newRow("dictionary")
            << QVariant(QVariantMap{{key, 1}}) << false << qint64(0) << 0.0 << QString();
        QTest::newRow("date") << QVariant(QDateTime::currentDateTimeUtc()) << false << qint64(0)
                              << 0.0 << QString();
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

    void dictionariesAndObjects()
    {
        TemporaryDefaults temporary;
        UserDefaults& defaults = temporary.defaults();
        const QVariantMap hotKey{{QStringLiteral("Key Code"), 49},
                                 {QStringLiteral("Modifier Flags"), 1310720u},
                                 {QStringLiteral("Identifier"), QStringLiteral("Menu Trigger")}};
        defaults.setObject(hotKey, QStringLiteral("Menu Trigger"));
        const QVariantMap back = defaults.dictionaryForKey(QStringLiteral("Menu Trigger"));
        QCOMPARE(back.value(QStringLiteral("Key Code")).toLongLong(), 49);
        QCOMPARE(back.value(QStringLiteral("Modifier Flags")).toLongLong(), 1310720);
        QVERIFY(defaults.dictionaryForKey(QStringLiteral("Absent")).isEmpty());
        QVERIFY(!defaults.objectForKey(QStringLiteral("Absent")).isValid());

        // Setting nothing removes; a value without a property-list form is refused.
        defaults.setObject(QVariant(), QStringLiteral("Menu Trigger"));
        QVERIFY(!defaults.hasStoredValue(QStringLiteral("Menu Trigger")));
        defaults.setObject(QVariant::fromValue(QPoint(1, 2)), QStringLiteral("Point"));
        QVERIFY(!defaults.hasStoredValue(QStringLiteral("Point")));
    }
};

QTEST_GUILESS_MAIN(SettingsReadsTest)
#include "settings_reads_test.moc"
