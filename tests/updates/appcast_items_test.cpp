#include "platform/updates/Appcast.h"
#include "support/TestProgram.h"

#include <QTest>

using namespace platform;

namespace {

// A feed whose channel holds items; the updater's namespace is bound to
// prefix.
QByteArray feed(const QString& items, const QString& prefix = QStringLiteral("sparkle"))
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                          "<rss version=\"2.0\" xmlns:%1=\"%2\" "
                          "xmlns:dc=\"http://purl.org/dc/elements/1.1/\">\n"
                          "<channel><title>Trovix</title>%3</channel></rss>\n")
        .arg(prefix, QLatin1String(sparkleNamespaceUri), items)
        .toUtf8();
}

QString item(const QString& children)
{
    return QStringLiteral("<item>") + children + QStringLiteral("</item>");
}

} // namespace

// Reading an appcast and choosing the version it offers this computer.
class AppcastItemsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsItems()
    {
        QString error;
        const auto items = parseAppcast(
            feed(item("<title>Trovix 2.0</title>"
                      "<link>https://www.quirkworks.com/trovix</link>"
                      "<su:version>200</su:version>"
                      "<su:shortVersionString>2.0</su:shortVersionString>"
                      "<su:minimumSystemVersion>10.13</su:minimumSystemVersion>"
                      "<description><![CDATA[<h2>New</h2><p>Faster menus.</p>]]></description>"
                      "<enclosure url=\"https://www.quirkworks.com/trovix-2.0.tar.gz\" "
                      "length=\"1\" type=\"application/octet-stream\"/>"),
                 QStringLiteral("su")),
            &error);
        QVERIFY2(items, qPrintable(error));
        QCOMPARE(items->size(), 1);
        const AppcastItem& first = items->first();
        QCOMPARE(first.version, QStringLiteral("200"));
        QCOMPARE(first.displayVersionString(), QStringLiteral("2.0"));
        QCOMPARE(first.description, QStringLiteral("<h2>New</h2><p>Faster menus.</p>"));
        QCOMPARE(first.downloadUrl(), QUrl("https://www.quirkworks.com/trovix"));
        QCOMPARE(first.enclosureUrl, QUrl("https://www.quirkworks.com/trovix-2.0.tar.gz"));
    }

    // Versions and the operating system given on the enclosure, as older
    // feeds do; an element of another namespace with the same name is not
    // the updater's.
    void readsEnclosureAttributes()
    {
        const auto items = parseAppcast(
            feed(item("<dc:version>999</dc:version>"
                      "<enclosure url=\"https://x.example/t.tgz\" sparkle:version=\"1.5\" "
                      "sparkle:shortVersionString=\"1.5 beta\" sparkle:os=\"linux\"/>")),
            nullptr);
        QVERIFY(items);
        QCOMPARE(items->first().version, QStringLiteral("1.5"));
        QCOMPARE(items->first().displayVersionString(), QStringLiteral("1.5 beta"));
        QCOMPARE(items->first().os, QStringLiteral("linux"));
    }

    void refuses_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("message");
        QTest::newRow("not XML") << QByteArray("this is not a feed") << "not a valid appcast";
        QTest::newRow("cut off") << feed(item("<sparkle:version>2</sparkle:version>")).left(150)
                                 << "not a valid appcast";
        QTest::newRow("mismatched tags")
            << QByteArray("<rss><channel><item></channel></item></rss>") << "not a valid appcast";
        QTest::newRow("another root") << QByteArray("<feed><entry/></feed>") << "not an RSS feed";
        QTest::newRow("no channel") << QByteArray("<rss version=\"2.0\"/>") << "not an RSS feed";
        QTest::newRow("empty channel") << feed(QString()) << "lists no versions";
        QTest::newRow("items without versions")
            << feed(item("<title>2.0</title>") + item("<sparkle:shortVersionString>3"
                                                      "</sparkle:shortVersionString>"))
            << "lists no versions";
        QTest::newRow("version in an unbound namespace")
            << feed(item("<other:version xmlns:other=\"urn:x\">2</other:version>"))
            << "lists no versions";
        QTest::newRow("empty") << QByteArray() << "not a valid appcast";
    }
    void refuses()
    {
        QFETCH(QByteArray, data);
        QFETCH(QString, message);
        QString error;
        QVERIFY(!parseAppcast(data, &error));
        QVERIFY2(error.contains(message), qPrintable(error));
    }

    // Which item is offered against the running version 1.9.
    void choosesItem_data()
    {
        QTest::addColumn<QString>("items");
        QTest::addColumn<QString>("offered");
        QTest::newRow("newer version") << item("<sparkle:version>2.0</sparkle:version>") << "2.0";
        QTest::newRow("same version") << item("<sparkle:version>1.9</sparkle:version>") << "";
        QTest::newRow("older version") << item("<sparkle:version>1.8</sparkle:version>") << "";
        QTest::newRow("1.10 is newer than 1.9")
            << item("<sparkle:version>1.10</sparkle:version>") << "1.10";
        QTest::newRow("the newest, wherever it stands")
            << item("<sparkle:version>2.0</sparkle:version>") +
                   item("<sparkle:version>2.1</sparkle:version>") +
                   item("<sparkle:version>1.0</sparkle:version>")
            << "2.1";
        QTest::newRow("another system's items are skipped")
            << item("<sparkle:version>3.0</sparkle:version><sparkle:os>windows</sparkle:os>") +
                   item("<sparkle:version>2.0</sparkle:version><sparkle:os>Linux</sparkle:os>")
            << "2.0";
        QTest::newRow("only another system's items")
            << item("<enclosure url=\"https://x.example/a\" sparkle:version=\"3\" "
                    "sparkle:os=\"macos\"/>")
            << "";
        QTest::newRow("items without a version are skipped")
            << item("<title>9.0</title>") + item("<sparkle:version>2.0</sparkle:version>") << "2.0";
        QTest::newRow("pre-release of the running version")
            << item("<sparkle:version>1.9b1</sparkle:version>") << "";
        QTest::newRow("the element wins over the enclosure")
            << item("<sparkle:version>1.0</sparkle:version>"
                    "<enclosure url=\"https://x.example/a\" sparkle:version=\"5.0\"/>")
            << "";
    }
    void choosesItem()
    {
        QFETCH(QString, items);
        QFETCH(QString, offered);
        QString error;
        const auto parsed = parseAppcast(feed(items), &error);
        QVERIFY2(parsed, qPrintable(error));
        const auto update = availableUpdate(*parsed, QStringLiteral("1.9"));
        QCOMPARE(update ? update->version : QString(), offered);
    }
};

TROVIX_TEST_GUILESS_MAIN(AppcastItemsTest)
#include "appcast_items_test.moc"
