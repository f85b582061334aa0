#include "HelpBookFolder.h"
#include "help/QXHelpIndexContents.h"
#include "support/TestProgram.h"

#include <QTest>

namespace {

QXHelpAnchorRecord anchor(const QString& path, const QString& category, const QString& name,
                          const QString& sortString = {})
{
    return {path, QStringLiteral("[%1]%2").arg(category, name), name,
            sortString.isEmpty() ? name : sortString, category};
}

} // namespace

class HelpContentsOrderTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The contents order of a real book: marked pages by index value, then the
    // unmarked ones (missing marker, or no plain body tag) by path.
    void pagesInContentsOrder()
    {
        HelpBookFolder book;
        const QList<std::pair<QString, QByteArray>> pages = {
            {"ten.html", "<!--com.quirkworks.help.index[10]-->"},
            {"one-two.html", "<!--com.quirkworks.help.index[1.2]-->"},
            {"two.html", "<!--com.quirkworks.help.index[2]-->"},
            {"one.html", "<!--com.quirkworks.help.index[1]-->"},
            {"one-ten.html", "<!--com.quirkworks.help.index[1.10]-->"},
            {"b-unmarked.html", ""},
            {"a-unmarked.html", ""},
        };
        for (const auto& [name, head] : pages)
            book.writePage(name, "some text", head);
        book.write(book.bundleBook() + QStringLiteral("/attributes.html"),
                   "<!--com.quirkworks.help.index[0]--><body class=x>text</body>");

        const auto index = book.readyIndex();
        QVERIFY(index);
        QStringList order;
        for (const QXHelpPageRecord& record : index->pageRepresentations())
            order.append(record.path);
        QCOMPARE(order,
                 (QStringList{"one.html", "one-two.html", "one-ten.html", "two.html", "ten.html",
                              "a-unmarked.html", "attributes.html", "b-unmarked.html"}));
        QCOMPARE(index->indexOfPage(QStringLiteral("two.html")), std::optional<qsizetype>(3));
        QCOMPARE(index->indexOfPage(QStringLiteral("missing.html")), std::nullopt);
        QCOMPARE(index->pageRepresentation(QStringLiteral("attributes.html"))->title,
                 QStringLiteral("attributes.html"));
    }

    void anchorsByCategory_data()
    {
        QTest::addColumn<QList<QXHelpPageRecord>>("records");
        QTest::addColumn<QStringList>("categories");
        QTest::addColumn<QList<QStringList>>("names");

        const QString a = QStringLiteral("a.html");
        const QString b = QStringLiteral("b.html");
        QXHelpPageRecord first{QStringLiteral("1"), a, {}, {}, {}, {}, {}};
        QXHelpPageRecord second{QStringLiteral("2"), b, {}, {}, {}, {}, {}};

        first.anchors = {anchor(a, "Menus", "Zebra"), anchor(a, "Menus", "Item 10"),
                         anchor(a, "Menus", "Item 2"), anchor(a, "Keys", "Basics"),
                         QXHelpAnchorRecord{a, "plain", "Plain", "Plain", std::nullopt}};
        second.anchors = {anchor(b, "Menus", "Apple")};
        QTest::newRow("sorted by sort string, numbers by value")
            << QList{first, second} << QStringList{"Keys", "Menus"}
            << QList<QStringList>{{"Basics"}, {"Apple", "Item 2", "Item 10", "Zebra"}};

        first.anchors = {anchor(a, "M", "Same"), anchor(a, "M", "Same")};
        second.anchors = {anchor(b, "M", "Same"), anchor(b, "M", "Other")};
        QTest::newRow("a repeated name is listed once")
            << QList{first, second} << QStringList{"M"} << QList<QStringList>{{"Other", "Same"}};

        first.anchors = {anchor(a, "M", "Hot Keys: Basics", "Hot Keys Basics"),
                         anchor(a, "M", "Hot Keys Basics")};
        second.anchors = {};
        QTest::newRow("equal sort strings: shorter name first")
            << QList{first, second} << QStringList{"M"}
            << QList<QStringList>{{"Hot Keys Basics", "Hot Keys: Basics"}};
    }

    void anchorsByCategory()
    {
        QFETCH(QList<QXHelpPageRecord>, records);
        QFETCH(QList<QStringList>, names);
        const auto groups = QXHelpIndexContents::groupAnchorsByCategory(records);
        QTEST(groups.keys(), "categories");
        QList<QStringList> actual;
        for (const QList<QXHelpAnchorRecord>& anchors : groups) {
            QStringList list;
            for (const QXHelpAnchorRecord& record : anchors)
                list.append(record.name);
            actual.append(list);
        }
        QCOMPARE(actual, names);
    }
};

TROVIX_TEST_GUILESS_MAIN(HelpContentsOrderTest)
#include "help_contents_order_test.moc"
