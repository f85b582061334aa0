#include "platform/plist/PropertyList.h"
#include "platform/plist/PropertyListStructure.h"
#include "support/TestProgram.h"

#include <QTest>
#include <QtEndian>

using namespace platform;

namespace {

// XML ----------------------------------------------------------------------

QByteArray xmlDocument(const QByteArray& body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">" + body +
           "</plist>\n";
}

QByteArray nestedXml(int levels, const QByteArray& open = "<array>",
                     const QByteArray& close = "</array>")
{
    return xmlDocument(open.repeated(levels) + "<true/>" + close.repeated(levels));
}

// Dictionaries inside one another, each under the key "k".
QByteArray nestedXmlDictionaries(int levels)
{
    QByteArray body;
    for (int i = 0; i < levels; ++i) {
        body += i + 1 < levels ? "<dict><key>k</key>" : "<dict>";
    }
    return xmlDocument(body + QByteArray("</dict>").repeated(levels));
}

// Binary --------------------------------------------------------------------

QByteArray bigEndian32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

QByteArray bigEndian64(quint64 value)
{
    QByteArray bytes(8, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

// An array object referring to the objects given (4-byte references).
QByteArray arrayObject(const QList<quint32>& members)
{
    QByteArray object;
    if (members.size() < 15) {
        object += char(0xA0 | members.size());
    } else {
        object += char(0xAF);
        object += char(0x12);
        object += bigEndian32(quint32(members.size()));
    }
    for (const quint32 member : members) {
        object += bigEndian32(member);
    }
    return object;
}

QByteArray integerObject(quint8 value)
{
    return QByteArray("\x10", 1) + char(value);
}

// A binary list of the objects given, the first being the top level.
QByteArray binaryList(const QList<QByteArray>& objects)
{
    QByteArray data("bplist00");
    QList<quint32> offsets;
    for (const QByteArray& object : objects) {
        offsets.append(quint32(data.size()));
        data += object;
    }
    const quint64 table = quint64(data.size());
    for (const quint32 offset : offsets) {
        data += bigEndian32(offset);
    }
    data += QByteArray(6, '\0');
    data += char(4); // offset size
    data += char(4); // reference size
    data += bigEndian64(quint64(objects.size()));
    data += bigEndian64(0);
    data += bigEndian64(table);
    return data;
}

// Arrays inside one another, the innermost holding one integer.
QByteArray nestedBinary(int levels)
{
    QList<QByteArray> objects;
    for (int i = 0; i < levels; ++i) {
        objects.append(arrayObject({quint32(i + 1)}));
    }
    objects.append(integerObject(1));
    return binaryList(objects);
}

// Each level an array that refers to the next level twice: small on disk,
// 2^levels values once unfolded.
QByteArray sharedBinary(int levels)
{
    QList<QByteArray> objects;
    for (int i = 0; i < levels; ++i) {
        objects.append(arrayObject({quint32(i + 1), quint32(i + 1)}));
    }
    objects.append(integerObject(7));
    return binaryList(objects);
}

int nestingOfValue(const QVariant& value)
{
    return plist::nestingOf(value, 1000);
}

} // namespace

class PropertyListNestingTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void nestingUpToTheCapReads_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::newRow("xml arrays") << nestedXml(plist::MaximumNesting);
        QTest::newRow("xml dictionaries") << nestedXmlDictionaries(plist::MaximumNesting);
        QTest::newRow("binary arrays") << nestedBinary(plist::MaximumNesting);
        // Markup inside comments and CDATA is no nesting.
        QTest::newRow("xml arrays in a comment")
            << xmlDocument("<!--" + QByteArray("<array>").repeated(100) + "--><array/>");
        QTest::newRow("xml arrays in a string") << xmlDocument(
            "<string><![CDATA[" + QByteArray("<array>").repeated(100) + "]]></string>");
        QTest::newRow("binary shared but small") << sharedBinary(10);
    }
    void nestingUpToTheCapReads()
    {
        QFETCH(QByteArray, data);
        QString error;
        const auto value = plist::fromData(data, &error);
        QVERIFY2(value.has_value(), qPrintable(error));
        QVERIFY(nestingOfValue(*value) <= plist::MaximumNesting);
    }

    void deeperOrHugelySharedDataIsRefusedUnparsed_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("reason");
        const QString tooDeep = QStringLiteral("nested deeper than 64 levels");
        QTest::newRow("xml one level too deep") << nestedXml(65) << tooDeep;
        QTest::newRow("xml dictionaries one level too deep")
            << nestedXmlDictionaries(65) << tooDeep;
        // The file that crashed every start: 100 000 levels, 1.5 MB.
        QTest::newRow("xml 100 000 levels") << nestedXml(100000) << tooDeep;
        QTest::newRow("xml unclosed levels")
            << xmlDocument(QByteArray("<array>").repeated(100000)) << tooDeep;
        QTest::newRow("xml levels with attributes and line breaks")
            << nestedXml(100, "<array\n x=\"1\">", "</array\n>") << tooDeep;
        // A closing tag the parser skips must not hide a level.
        QTest::newRow("xml closing tags in comments")
            << xmlDocument(QByteArray("<array><!--</array>-->").repeated(100)) << tooDeep;
        QTest::newRow("binary one level too deep") << nestedBinary(65) << tooDeep;
        QTest::newRow("binary 100 000 levels") << nestedBinary(100000) << tooDeep;
        QTest::newRow("binary 2^40 values")
            << sharedBinary(40) << QStringLiteral("more than 65536 values");
        QTest::newRow("binary array inside itself")
            << binaryList({arrayObject({1}), arrayObject({0})})
            << QStringLiteral("a container that contains itself");
    }
    void deeperOrHugelySharedDataIsRefusedUnparsed()
    {
        QFETCH(QByteArray, data);
        QFETCH(QString, reason);
        QCOMPARE(plist::structureProblem(data), std::optional<QString>(reason));
        QString error;
        QVERIFY(!plist::fromData(data, &error));
        QCOMPARE(error, reason);
    }

    // A value that could not be read back is never written either: the
    // settings store refuses it (see the settings tests); here the count.
    void nestingOfValuesStopsCountingPastTheLimit()
    {
        QVariant value = QVariant(1);
        for (int i = 0; i < 200; ++i) {
            value = QVariant(QVariantList{value});
        }
        QCOMPARE(plist::nestingOf(value, 1000), 200);
        QCOMPARE(plist::nestingOf(value, 10), 11);
        QCOMPARE(plist::nestingOf(QVariantMap{{"a", QVariantList{}}}, 10), 2);
        QCOMPARE(plist::nestingOf(QVariant(QStringLiteral("x")), 10), 0);
    }
};

TROVIX_TEST_GUILESS_MAIN(PropertyListNestingTest)
#include "property_list_nesting_test.moc"
