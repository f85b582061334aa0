#include "HelpBookFolder.h"
#include "help/QXHelpBookLocator.h"
#include "help/QXHelpPageParser.h"
#include "support/LogCapture.h"
#include "support/TestProgram.h"

#include <QTest>

class HelpBookLocationTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void localizedLookup()
    {
        QCOMPARE(QXHelpBookLocator::localizationCandidates({"de-DE", "en"}),
                 (QStringList{"de-DE.lproj", "German (Germany).lproj", "en.lproj", "English.lproj",
                              ""}));

        HelpBookFolder folder;
        const QString container = folder.resources();
        for (const char* copy : {"/en.lproj/Book/a.html", "/German.lproj/Book/a.html"})
            HelpBookFolder::write(container + QLatin1String(copy), "x");
        const auto lookup = [&container](const QString& language, const QString& in) {
            return QXHelpBookLocator::localizedPathToDirectory(
                "Book", in, QXHelpBookLocator::localizationCandidates({language}));
        };
        QCOMPARE(lookup("de", container), container + "/German.lproj/Book");
        QCOMPARE(lookup("fr", container), container + "/en.lproj/Book");
        QCOMPARE(lookup("fr", container + "/missing"), QString());
    }

    // Only .html files really inside the book are pages; relative paths are
    // in URL form.
    void pages()
    {
        HelpBookFolder book;
        const QString root = book.bundleBook();
        for (const char* name : {"/Getting Started.html", "/sub/page.html", "/old.htm",
                                 "/UPPER.HTML", "/.hidden.html", "/.private/secret.html"})
            HelpBookFolder::write(root + QLatin1String(name), "<body>text");
        HelpBookFolder::write(book.root() + "/outside/leak.html", "<body>secret");
        QVERIFY(QFile::link(book.root() + "/outside/leak.html", root + "/link.html"));
        QVERIFY(QFile::link(book.root() + "/outside", root + "/linkedfolder"));
        QVERIFY(QFile::link(root + "/sub/page.html", root + "/alias.html"));

        const auto index = book.readyIndex();
        QVERIFY(index);
        QCOMPARE(index->pageURLsByRelativePath().keys(),
                 (QStringList{"Getting%20Started.html", "alias.html", "sub/page.html"}));
        QCOMPARE(
            index->urlForRelativePath("Getting%20Started.html"),
            QUrl::fromLocalFile(QFileInfo(root).canonicalFilePath() + "/Getting Started.html"));
        QCOMPARE(index->urlForRelativePath("sub/../../outside/leak.html"), QUrl());

        QUrl withFragment = index->urlForRelativePath("sub/page.html");
        withFragment.setFragment("Place");
        QCOMPARE(index->relativePathForURL(withFragment), QStringLiteral("sub/page.html"));
        QCOMPARE(index->relativePathForURL(QUrl::fromLocalFile(book.root() + "/outside/leak.html")),
                 QString());
    }

    // The per-user folder wins when it holds pages, in any of its three
    // forms; an empty one does not hide the bundle's book.
    void userFolder_data()
    {
        QTest::addColumn<QString>("userBook");
        QTest::addColumn<bool>("holdsPages");
        QTest::newRow("localised copy inside Help") << "Test/Help/en.lproj/TestHelp" << true;
        QTest::newRow("book folder") << "Test/TestHelp" << true;
        QTest::newRow("Help itself") << "Test/Help" << true;
        QTest::newRow("empty localised copy") << "Test/Help/en.lproj/TestHelp" << false;
    }

    void userFolder()
    {
        QFETCH(QString, userBook);
        QFETCH(bool, holdsPages);
        HelpBookFolder book;
        book.writePage("bundled.html", "bundled");
        const QString folder = book.dataHome() + QLatin1Char('/') + userBook;
        HelpBookFolder::write(folder + (holdsPages ? "/mine.html" : "/notes.txt"), "<body>mine");

        const auto index = book.readyIndex();
        QVERIFY(index);
        QCOMPARE(index->pageURLsByRelativePath().keys(),
                 QStringList{holdsPages ? "mine.html" : "bundled.html"});
        if (holdsPages)
            QCOMPARE(index->helpFolderPath(), QFileInfo(folder).canonicalFilePath());
    }

    // Without a book the index is empty and says so, and the next request
    // looks again.
    void missingBook_data()
    {
        QTest::addColumn<bool>("folderExists");
        QTest::newRow("no folder") << false;
        QTest::newRow("empty folder") << true;
    }

    void missingBook()
    {
        QFETCH(bool, folderExists);
        HelpBookFolder book;
        if (folderExists)
            QVERIFY(QDir().mkpath(book.bundleBook()));
        LogCapture log;
        QXHelpIndex index(book.source(), QStringLiteral("Test Help"));
        bool told = false;
        index.whenReady(this, [&told] { told = true; });
        QVERIFY(QTest::qWaitFor([&told] { return told; }, 60000));
        QVERIFY(!index.hasPages());
        QVERIFY(!index.emptyReason().isEmpty());
        QVERIFY(index.anchorsByCategory().isEmpty());
        QCOMPARE(index.searchSuggestionsForQuery("help", {}).searching, false);
        QCOMPARE(log.lines().size(), 1);

        book.writePage("late.html", "installed later");
        told = false;
        index.whenReady(this, [&told] { told = true; });
        QVERIFY(QTest::qWaitFor([&told] { return told; }, 60000));
        QVERIFY(index.hasPages());
        QCOMPARE(index.emptyReason(), QString());
    }

    // A page too large to be a real one is not read into memory.
    void oversizedPage()
    {
        HelpBookFolder book;
        book.writePage("huge.html", "words", "<title>Huge</title>");
        QFile huge(book.bundleBook() + "/huge.html");
        QVERIFY(huge.resize(QXHelpPageParser::maximumPageSize + 1));
        LogCapture log;
        const auto index = book.readyIndex();
        QVERIFY(index);
        const QXHelpPageRecord& record = index->pageRepresentations().first();
        QCOMPARE(record.title, QStringLiteral("huge.html"));
        QVERIFY(record.words.isEmpty());
        QVERIFY(log.lines().join('\n').contains("too large"));
    }
};

TROVIX_TEST_GUILESS_MAIN(HelpBookLocationTest)
#include "help_book_location_test.moc"
