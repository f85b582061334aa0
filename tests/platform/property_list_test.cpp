#include "platform/plist/PropertyList.h"
#include "platform/plist/PropertyListText.h"
#include "support/TestProgram.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QPoint>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>
#include <limits>
#include <plist/plist.h>

using namespace platform;

namespace {

QVariantMap sampleDictionary()
{
    return {
        {QStringLiteral("bool"), true},
        {QStringLiteral("integer"), qlonglong(-42)},
        {QStringLiteral("real"), 2.5},
        {QStringLiteral("string"), QStringLiteral("a <b> & \"c\" ü")},
        {QStringLiteral("date"), QDateTime(QDate(2024, 2, 29), QTime(12, 34, 56), Qt::UTC)},
        {QStringLiteral("data"), QByteArray("\x00\x01\xff", 3)},
        {QStringLiteral("array"), QVariantList{qlonglong(1), QStringLiteral("two")}},
        {QStringLiteral("dict"), QVariantMap{{QStringLiteral("Key Code"), qlonglong(49)}}},
    };
}

} // namespace

class PropertyListTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTripsEveryType_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::newRow("signed min") << QVariant(std::numeric_limits<qlonglong>::min());
        QTest::newRow("signed max") << QVariant(std::numeric_limits<qlonglong>::max());
        QTest::newRow("unsigned max") << QVariant(std::numeric_limits<qulonglong>::max());
        QTest::newRow("third") << QVariant(1.0 / 3);
        QTest::newRow("empty string") << QVariant(QString());
        QTest::newRow("markup string") << QVariant(QStringLiteral("<key>&amp;</key>\n\tü€"));
        QTest::newRow("date") << QVariant(QDateTime(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC));
        QTest::newRow("date before 2001")
            << QVariant(QDateTime(QDate(1970, 1, 1), QTime(0, 0, 1), Qt::UTC));
        QTest::newRow("data") << QVariant(QByteArray("\x00\x7f\x80\xff", 4));
        QTest::newRow("empty dict") << QVariant(QVariantMap());
        QTest::newRow("every type nested") << QVariant(sampleDictionary());
    }
    void roundTripsEveryType()
    {
        QFETCH(QVariant, value);
        const QByteArray xml = plist::toXml(value);
        QVERIFY(xml.startsWith("<?xml"));
        QString error;
        const auto back = plist::fromData(xml, &error);
        QVERIFY2(back.has_value(), qPrintable(error));
        QVERIFY2(plist::identical(*back, value), xml.constData());
    }

    void readsBinaryPropertyLists()
    {
        // A binary property list made by libplist itself, as another program
        // would write one.
        plist_t dict = plist_new_dict();
        plist_dict_set_item(dict, "flag", plist_new_bool(1));
        plist_dict_set_item(dict, "count", plist_new_uint(static_cast<uint64_t>(-3)));
        plist_dict_set_item(dict, "name", plist_new_string("Trovix"));
        plist_dict_set_item(dict, "when", plist_new_date(730902896, 0));
        char* bytes = nullptr;
        uint32_t length = 0;
        plist_to_bin(dict, &bytes, &length);
        const QByteArray binary(bytes, length);
        plist_to_bin_free(bytes);
        plist_free(dict);
        QVERIFY(binary.startsWith("bplist00"));

        const auto value = plist::fromData(binary);
        QVERIFY(value.has_value());
        const QVariantMap map = value->toMap();
        QCOMPARE(map.value(QStringLiteral("flag")).typeId(), QMetaType::Bool);
        QCOMPARE(map.value(QStringLiteral("flag")).toBool(), true);
        QCOMPARE(map.value(QStringLiteral("count")), QVariant(qlonglong(-3)));
        QCOMPARE(map.value(QStringLiteral("name")).toString(), QStringLiteral("Trovix"));
        QCOMPARE(map.value(QStringLiteral("when")).toDateTime(),
                 QDateTime(QDate(2024, 2, 29), QTime(12, 34, 56), Qt::UTC));
    }

    // A damaged binary list whose dictionary keys make libplist's own key
    // accessor abort: reading it must not bring the program down.
    void survivesMalformedBinaryKeys()
    {
        const QByteArray damaged("\x62\x70\x6c\x69\x73\x74\x30\x30\xd4\x01\x03\x07\x09\x02\x04\x08"
                                 "\x0a\x51\x61\x10\x01\x51\x62\xa2\x05\x06\x22\x40\x20\x00\x00\x53"
                                 "\x78\x79\x7a\x67\x63\x43\x61\x62\x63\x51\x65\x33\x20\x14\x00\x00"
                                 "\x00\x00\x3f\x00\x08\x11\x13\x15\x17\x1a\x1f\x23\x25\x29\x2b\x00"
                                 "\x00\x00\x00\x00\x00\x01\x01\x00\x00\x00\x00\x00\x00\x00\x0b\x00"
                                 "\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34",
                                 95);
        const auto value = plist::fromData(damaged);
        QVERIFY(!value || value->typeId() == QMetaType::QVariantMap);
    }

    void rejectsWhatIsNotAPropertyList_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("garbage") << QByteArray("\x01\x02garbage\xff", 11);
        QTest::newRow("truncated xml")
            << QByteArray("<?xml version=\"1.0\"?><plist><dict><key>a</key>");
        QTest::newRow("truncated binary") << QByteArray("bplist00\xd1\x01\x02", 11);
    }
    void rejectsWhatIsNotAPropertyList()
    {
        QFETCH(QByteArray, data);
        QString error;
        QVERIFY(!plist::fromData(data, &error).has_value());
        QVERIFY(!error.isEmpty());
    }

    void leavesOutValuesWithoutAPropertyListForm()
    {
        const QVariantMap map{{QStringLiteral("kept"), 1},
                              {QStringLiteral("dropped"), QVariant::fromValue(QPoint(1, 2))}};
        const auto back = plist::fromData(plist::toXml(map));
        QVERIFY(back.has_value());
        QCOMPARE(back->toMap().keys(), QStringList{QStringLiteral("kept")});
        QVERIFY(plist::toXml(QVariant::fromValue(QPoint(1, 2))).isEmpty());
        QVERIFY(plist::toXml(QVariant()).isEmpty());
    }

    // Stored values must compare equal to what a reload gives, or every
    // reload would look like a change.
    void normalizesToWhatReadsBack()
    {
        QCOMPARE(plist::normalized(QVariant(7u)).typeId(), QMetaType::LongLong);
        QCOMPARE(plist::normalized(QStringList{QStringLiteral("a")}).typeId(),
                 QMetaType::QVariantList);
        const QDateTime withMillis(QDate(2020, 5, 6), QTime(7, 8, 9, 999), Qt::UTC);
        QCOMPARE(plist::normalized(withMillis).toDateTime(),
                 QDateTime(QDate(2020, 5, 6), QTime(7, 8, 9), Qt::UTC));
    }

    void writesFilesAtomically()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("settings.plist"));
        QVERIFY(plist::writeFile(path, QVariantMap{{QStringLiteral("a"), 1}}));
        QVERIFY(plist::writeFile(path, sampleDictionary()));
        const auto back = plist::readFile(path);
        QVERIFY(back.has_value());
        QVERIFY(plist::identical(*back, sampleDictionary()));
        // Nothing but the finished file is left behind.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
                 QStringList{QStringLiteral("settings.plist")});

        QString error;
        QVERIFY(!plist::writeFile(dir.filePath(QStringLiteral("missing/x.plist")), 1, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!plist::readFile(dir.filePath(QStringLiteral("none.plist")), &error));
    }

    // Containers are covered by the command-line tests; here the escapes.
    void printsTheOldStyleTextForm()
    {
        const QVariantMap map{{QStringLiteral("Plain_$./:-9"), QString()},
                              {QStringLiteral("say \"hi\"\n"), QByteArray("\x0a\x1b", 2)}};
        QCOMPARE(plist::toOldStyleText(map), QStringLiteral("{\n"
                                                            "    Plain_$./:-9 = \"\";\n"
                                                            "    \"say \\\"hi\\\"\\n\" = <0a1b>;\n"
                                                            "}"));
        QCOMPARE(plist::toPlainText(QDateTime(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC)),
                 QStringLiteral("2001-01-01 00:00:00 +0000"));
    }
};

TROVIX_TEST_GUILESS_MAIN(PropertyListTest)
#include "property_list_test.moc"
