#include "search/MenuItemRanking.h"
#include "search/SearchText.h"
#include "support/TestProgram.h"

#include <QTest>

namespace {

QList<QStringList> paths(const QStringList& texts)
{
    QList<QStringList> result;
    for (const QString& text : texts) {
        result.append(text.split(QStringLiteral(" > ")));
    }
    return result;
}

} // namespace

class RankingTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // What the user types and the item that must come first among items
    // that share letters with it.
    void bestMatchComesFirst_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("first");
        QTest::newRow("word initials") << "nw"
                                       << "File > New Window";
        QTest::newRow("word prefixes") << "new win"
                                       << "File > New Window";
        QTest::newRow("one whole word") << "window"
                                        << "Window > Window";
        QTest::newRow("prefix of the title over a letter inside") << "sa"
                                                                  << "File > Save As";
        QTest::newRow("title over the menu above it") << "tools"
                                                      << "Edit > Tools Palette";
        QTest::newRow("case") << "NEW TAB"
                              << "File > New Tab";
        QTest::newRow("accents in the title") << "emile"
                                              << "Insert > Émile Zola";
        QTest::newRow("accents in the query") << "éxport"
                                              << "File > Export";
        QTest::newRow("ligature") << "file"
                                  << "Insert > \uFB01le Reference";
        QTest::newRow("abbreviated words") << "wrd wrp"
                                           << "Document > Word Wrap";
        QTest::newRow("words out of order still match") << "window new"
                                                        << "File > New Window";
    }

    void bestMatchComesFirst()
    {
        QFETCH(QString, query);
        QFETCH(QString, first);
        const QList<QStringList> items =
            paths({"File > New", "File > New Tab", "File > New Window", "File > Save As",
                   "File > Export", "Edit > Show Network", "View > Overview", "Window > Preview",
                   "Window > Window", "Insert > Émile Zola", "Insert > \uFB01le Reference",
                   "Tools > Downwind Analysis", "Edit > Tools Palette",
                   "Document > Filetype > Markup > Sweave", "Document > Word Wrap"});
        MenuItemRanking ranking;
        ranking.setItems(items);
        const QList<MenuItemRanking::Match> matches = ranking.rank(query, 5);
        QVERIFY(!matches.isEmpty());
        QCOMPARE(items.at(matches.first().index).join(QStringLiteral(" > ")), first);
    }

    void queriesThatFindNothing_data()
    {
        QTest::addColumn<QString>("query");
        QTest::newRow("empty") << "";
        QTest::newRow("only spaces") << "   \t ";
        QTest::newRow("letters in no item") << "xq";
        QTest::newRow("one word of two missing") << "new zebra";
    }

    void queriesThatFindNothing()
    {
        QFETCH(QString, query);
        MenuItemRanking ranking;
        ranking.setItems(paths({"File > New Window", "Edit > Undo"}));
        QVERIFY(ranking.rank(query, 10).isEmpty());
    }

    void boostLiftsAnItemAmongEqualsButNotNonMatches()
    {
        MenuItemRanking ranking;
        ranking.setItems(paths({"Format > Bold", "Insert > Bookmark", "Edit > Undo"}));
        QCOMPARE(ranking.rank("bo", 3).first().index, 0);
        ranking.setBoost(1, 30);
        ranking.setBoost(2, 100);
        const QList<MenuItemRanking::Match> matches = ranking.rank("bo", 3);
        QCOMPARE(matches.size(), 2);
        QCOMPARE(matches.first().index, 1);
    }

    // Typing on compares only the items that matched so far; the results
    // must be those of a fresh ranking, also after deleting characters.
    void typingGivesWhatAFreshRankingGives()
    {
        const QList<QStringList> items =
            paths({"File > New", "File > New Window", "Edit > Select All", "View > Show Network",
                   "Window > New Tab Group", "Tools > Downwind Analysis"});
        MenuItemRanking typing;
        typing.setItems(items);
        for (const QString query : {"n", "ne", "new", "new ", "new w", "new wi", "new w", "n", "s",
                                    "sa", "s", "se", "sel", "xyz", "new t", "new tab"}) {
            MenuItemRanking fresh;
            fresh.setItems(items);
            const QList<MenuItemRanking::Match> expected = fresh.rank(query, 10);
            const QList<MenuItemRanking::Match> got = typing.rank(query, 10);
            QCOMPARE(got.size(), expected.size());
            for (qsizetype i = 0; i < got.size(); ++i) {
                QCOMPARE(got.at(i).index, expected.at(i).index);
            }
        }
    }

    void limitKeepsTheBest()
    {
        QList<QStringList> items;
        for (int i = 0; i < 10000; ++i) {
            items.append(
                {QStringLiteral("Menu %1").arg(i % 50), QStringLiteral("Entry %1").arg(i)});
        }
        items.append(QStringList{"File", "New Window"});
        MenuItemRanking ranking;
        ranking.setItems(items);
        const QList<MenuItemRanking::Match> matches = ranking.rank("new win", 3);
        QCOMPARE(matches.size(), 1);
        QCOMPARE(matches.first().index, 10000);
        QCOMPARE(ranking.rank("entry", 7).size(), 7);
    }

    // Titles are shown on one line and never at full length when absurd.
    void titlesAreSanitised_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("shown");
        QTest::newRow("plain") << "Save As…"
                               << "Save As…";
        QTest::newRow("line breaks and tabs") << "Save\nAs\t\tCopy\r"
                                              << "Save As Copy";
        QTest::newRow("escape and bell") << "\x1b[31mRed\x07"
                                         << "[31mRed";
        QTest::newRow("zero-width and direction marks") << "Ab\u200Bc\u202E"
                                                        << "Ab c";
        QTest::newRow("only control characters") << "\x01\x02\n"
                                                 << "";
    }

    void titlesAreSanitised()
    {
        QFETCH(QString, title);
        QTEST(SearchText::sanitizedTitle(title), "shown");
    }

    void longTitlesAreCutAndStillMatch()
    {
        const QString huge =
            QStringLiteral("Open ") + QString(10000, u'x') + QStringLiteral(" end");
        const QString shown = SearchText::sanitizedTitle(huge);
        QCOMPARE(shown.size(), SearchText::MaximumTitleLength);
        QVERIFY(shown.endsWith(QChar(0x2026)));
        // A surrogate pair is never cut in half.
        const QString emoji = QString(SearchText::MaximumTitleLength - 2, u'a') +
                              QStringLiteral("\U0001F600\U0001F600");
        const QString cut = SearchText::sanitizedTitle(emoji);
        QVERIFY(!cut.at(cut.size() - 2).isHighSurrogate());

        MenuItemRanking ranking;
        ranking.setItems({QStringList{"File", huge}});
        QCOMPARE(ranking.rank("open", 1).size(), 1);
    }
};

TROVIX_TEST_GUILESS_MAIN(RankingTest)
#include "ranking_test.moc"
