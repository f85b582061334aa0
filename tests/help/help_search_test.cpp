#include "HelpBookFolder.h"
#include "support/TestProgram.h"

#include <QTest>

namespace {

// A small book whose pages exercise the folding of case, accents and width.
void writeBook(const HelpBookFolder& book)
{
    const auto head = [](const char* index, const char* title) -> QByteArray {
        return QByteArray("<!--com.quirkworks.help.index[") + index + "]--><title>" + title +
               "</title>";
    };
    book.writePage(QStringLiteral("hotkeys.html"),
                   "Set up hotkeys for the menu. Cl\xc3\xa9 d'acc\xc3\xa8s.",
                   head("1", "Hot Keys"));
    book.writePage(QStringLiteral("cafe.html"), "The Caf\xc3\xa9 serves coffee.",
                   head("2", "Caf\xc3\xa9"));
    book.writePage(QStringLiteral("hot.html"), "It is hot today in the menu bar.",
                   head("3", "Hot"));
    // Full-width letters.
    book.writePage(QStringLiteral("layout.html"),
                   "\xef\xbc\xab\xef\xbc\xa5\xef\xbc\xb9\xef\xbc\xa2\xef\xbc\xaf\xef\xbc\xa1\xef"
                   "\xbc\xb2\xef\xbc\xa4 layout",
                   head("4", "Layout"));
}

} // namespace

class HelpSearchTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        writeBook(m_book);
        m_index = m_book.readyIndex();
        QVERIFY(m_index);
        QCOMPARE(m_index->pageRepresentations().size(), 4);
    }

    void titles_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QStringList>("titles");

        QTest::newRow("inside a word") << "key" << QStringList{"Hot Keys", "Layout"};
        QTest::newRow("every word must match") << "hot key" << QStringList{"Hot Keys"};
        QTest::newRow("a query without words") << "a 1" << QStringList{};
        QTest::newRow("accents folded on the page") << "cafe" << QStringList{"Café"};
        QTest::newRow("accents folded in the query") << "CAFÉ" << QStringList{"Café"};
        QTest::newRow("prefix of an accented word") << "cle" << QStringList{"Hot Keys"};
        QTest::newRow("full-width query") << "ＫＥＹ" << QStringList{"Hot Keys", "Layout"};
        QTest::newRow("full-width page") << "keyboard" << QStringList{"Layout"};
        QTest::newRow("contents order") << "menu" << QStringList{"Hot Keys", "Hot"};
        QTest::newRow("one word missing") << "coffee tea" << QStringList{};
    }

    void titles()
    {
        QFETCH(QString, query);
        QTEST(m_index->titlesWithSearchString(query), "titles");
    }

    // A query that already occurs on the open page offers no other pages.
    void suggestionsOnTheOpenPage_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("current");
        QTest::addColumn<QStringList>("titles");

        QTest::newRow("text on the open page") << "the menu"
                                               << "hot.html" << QStringList{};
        QTest::newRow("words but not the phrase") << "menu hot"
                                                  << "hot.html" << QStringList{"Hot Keys", "Hot"};
    }

    void suggestionsOnTheOpenPage()
    {
        QFETCH(QString, query);
        QFETCH(QString, current);
        const QXHelpIndex::Suggestions suggestions =
            m_index->searchSuggestionsForQuery(query, current);
        QVERIFY(!suggestions.searching);
        QTEST(suggestions.titles, "titles");
    }

    void selectingASuggestion()
    {
        const std::optional<QXHelpSearchItem> item =
            m_index->selectSearchSuggestion(QStringLiteral("Café"), QStringLiteral("café coffee"));
        QVERIFY(item);
        QCOMPARE(*item, (QXHelpSearchItem{QStringLiteral("Café"),
                                          QStringLiteral("cafe.html"),
                                          {QStringLiteral("café"), QStringLiteral("coffee")}}));
        QVERIFY(!m_index->selectSearchSuggestion(QStringLiteral("Hot"), QStringLiteral("coffee")));
        QVERIFY(!m_index->selectSearchSuggestion(QString(), QStringLiteral("coffee")));
    }

    // Typing before the book is read never waits for it: the answer is at once
    // "still searching", and the index says when it is ready.
    void suggestionsBeforeTheIndexIsReady()
    {
        QXHelpIndex index(m_book.source(), QStringLiteral("Test Help"));
        QCOMPARE(index.status(), QXHelpIndex::Status::NotBuilt);
        bool told = false;
        index.whenReady(this, [&told] { told = true; });
        QCOMPARE(index.status(), QXHelpIndex::Status::Building);
        const QXHelpIndex::Suggestions early =
            index.searchSuggestionsForQuery(QStringLiteral("key"), {});
        QVERIFY(early.searching);
        QVERIFY(early.titles.isEmpty());
        QVERIFY(index.titlesWithSearchString(QStringLiteral("key")).isEmpty());

        QVERIFY(QTest::qWaitFor([&told] { return told; }, 60000));
        QVERIFY(index.isReady());
        QCOMPARE(index.searchSuggestionsForQuery(QStringLiteral("key"), {}).titles.size(), 2);

        // Once ready, a late caller is answered at once.
        bool late = false;
        index.whenReady(this, [&late] { late = true; });
        QVERIFY(late);
    }

    // Neither an index destroyed while it builds nor a context destroyed
    // before the index is ready leaves a call behind.
    void destroyedBeforeReady()
    {
        bool called = false;
        QObject context;
        auto building = std::make_unique<QXHelpIndex>(m_book.source(), QString());
        building->whenReady(&context, [&called] { called = true; });
        building.reset();

        QXHelpIndex index(m_book.source(), QString());
        {
            QObject shortLived;
            index.whenReady(&shortLived, [&called] { called = true; });
        }
        QVERIFY(QTest::qWaitFor([&index] { return index.isReady(); }, 60000));
        QVERIFY(!called);
    }

private:
    HelpBookFolder m_book;
    std::unique_ptr<QXHelpIndex> m_index;
};

TROVIX_TEST_GUILESS_MAIN(HelpSearchTest)
#include "help_search_test.moc"
