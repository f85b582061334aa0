#include "HelpBookFolder.h"
#include "help/QXHelpBookLocator.h"
#include "help/QXHelpPageParser.h"
#include "platform/bundle/Bundle.h"
#include "platform/plist/PropertyList.h"
#include "support/LogCapture.h"

#include <QTest>

class HelpBookLocationTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void localizationCandidates_data()
    {
        QTest::addColumn<QStringList>("languages");
        QTest::addColumn<QStringList>("candidates");

        QTest::newRow("language with territory")
            << QStringList{"de-DE", "fr"}
            << QStringList{"de-DE.lproj", "German (Germany).lproj", "fr.lproj", "French.lproj",
                           "en.lproj",    "English.lproj",          ""};
        QTest::newRow("English is not repeated")
            << QStringList{"en"} << QStringList{"en.lproj", "English.lproj", ""};
        QTest::newRow("unknown identifier has no name")
            << QStringList{"zz"} << QStringList{"zz.lproj", "en.lproj", "English.lproj", ""};
    }

    void localizationCandidates()
    {
        QFETCH(QStringList, languages);
        QTEST(QXHelpBookLocator::localizationCandidates(languages), "candidates");
    }

    void localizedPathToDirectory()
    {
        HelpBookFolder folder;
        const QString container = folder.resources();
        for (const char* copy : {"/en.lproj/Book/a.html", "/German.lproj/Book/a.html"})
            HelpBookFolder::write(container + QLatin1String(copy), "x");
        const auto lookup = [&container](const QStringList& languages, const QString& name,
                                         const QString& in) {
            return QXHelpBookLocator::localizedPathToDirectory(
                name, in, QXHelpBookLocator::localizationCandidates(languages));
        };
        QCOMPARE(lookup({"de"}, "Book", container), container + "/German.lproj/Book");
        QCOMPARE(lookup({"fr"}, "Book", container), container + "/en.lproj/Book");
        QCOMPARE(lookup({"fr"}, "Other", container), QString());
        QCOMPARE(lookup({"fr"}, "", container), QString());
        QCOMPARE(lookup({"fr"}, "Book", container + "/missing"), QString());
        HelpBookFolder::write(container + "/Plain/p.html", "x");
        QCOMPARE(lookup({"fr"}, "Plain", container), container + "/Plain");
    }

    // Only .html files inside the book are pages; relative paths are in URL form.
    void pages()
    {
        HelpBookFolder book;
        const QString root = book.bundleBook();
        for (const char* name :
             {"/Getting Started.html", "/sub/page.html", "/old.htm", "/UPPER.HTML", "/.hidden.html",
              "/.private/secret.html", "/notes.txt"})
            HelpBookFolder::write(root + QLatin1String(name), "<body>text");
        HelpBookFolder::write(book.root() + "/outside/leak.html", "<body>secret");
        QVERIFY(QFile::link(book.root() + "/outside/leak.html", root + "/link.html"));
        QVERIFY(QFile::link(book.root() + "/outside", root + "/linkedfolder"));
        QVERIFY(QFile::link(root + "/sub/page.html", root + "/alias.html"));

        const auto index = book.readyIndex();
        QVERIFY(index);
        const QStringList paths = index->pageURLsByRelativePath().keys();
        QCOMPARE(paths, (QStringList{"Getting%20Started.html", "alias.html", "sub/page.html"}));
        QCOMPARE(
            index->urlForRelativePath("Getting%20Started.html"),
            QUrl::fromLocalFile(QFileInfo(root).canonicalFilePath() + "/Getting Started.html"));
        QCOMPARE(index->urlForRelativePath("../outside/leak.html"), QUrl());
        QCOMPARE(index->urlForRelativePath("sub/../sub/page.html"), QUrl());

        QUrl withFragment = index->urlForRelativePath("sub/page.html");
        withFragment.setFragment("Place");
        QCOMPARE(index->relativePathForURL(withFragment), QStringLiteral("sub/page.html"));
        QCOMPARE(index->relativePathForURL(QUrl::fromLocalFile(book.root() + "/outside/leak.html")),
                 QString());
    }

    // The per-user folder wins when it holds pages, in any of its three forms.
    void userFolderWins_data()
    {
        QTest::addColumn<QString>("userBook");
        QTest::newRow("localised copy inside Help") << "Test/Help/en.lproj/TestHelp";
        QTest::newRow("book folder") << "Test/TestHelp";
        QTest::newRow("Help itself") << "Test/Help";
    }

    void userFolderWins()
    {
        QFETCH(QString, userBook);
        HelpBookFolder book;
        book.writePage("bundled.html", "bundled");
        const QString folder = book.dataHome() + QLatin1Char('/') + userBook;
        HelpBookFolder::write(folder + "/mine.html", "<body>mine");

        const auto index = book.readyIndex();
        QVERIFY(index);
        QCOMPARE(index->helpFolderPath(), QFileInfo(folder).canonicalFilePath());
        QCOMPARE(index->pageURLsByRelativePath().keys(), QStringList{"mine.html"});
    }

    void emptyUserFolderFallsBack()
    {
        HelpBookFolder book;
        book.writePage("bundled.html", "bundled");
        QVERIFY(QDir().mkpath(book.userHelp() + "/en.lproj/TestHelp"));
        HelpBookFolder::write(book.userHelp() + "/readme.txt", "not a page");

        const auto index = book.readyIndex();
        QVERIFY(index);
        QCOMPARE(index->pageURLsByRelativePath().keys(), QStringList{"bundled.html"});
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
        QVERIFY(index.pageRepresentations().isEmpty());
        QVERIFY(index.anchorsByCategory().isEmpty());
        QVERIFY(index.titlesWithSearchString("help").isEmpty());
        QCOMPARE(index.searchSuggestionsForQuery("help", {}).searching, false);
        QCOMPARE(log.lines().size(), 1);
        QVERIFY2(log.lines().first().startsWith("[QXHelpManager]"),
                 qPrintable(log.lines().first()));

        book.writePage("late.html", "installed later");
        told = false;
        index.whenReady(this, [&told] { told = true; });
        QVERIFY(QTest::qWaitFor([&told] { return told; }, 60000));
        QVERIFY(index.hasPages());
        QCOMPARE(index.emptyReason(), QString());
    }

    void unreadablePage()
    {
        HelpBookFolder book;
        book.writePage("locked.html", "secret words", "<title>Locked</title>");
        QFile::setPermissions(book.bundleBook() + "/locked.html", QFileDevice::Permissions());
        if (QFile(book.bundleBook() + "/locked.html").open(QIODevice::ReadOnly))
            QSKIP("running with permission to read any file");
        const auto index = book.readyIndex();
        QVERIFY(index);
        const QXHelpPageRecord& record = index->pageRepresentations().first();
        QCOMPARE(record.title, QStringLiteral("locked.html"));
        QVERIFY(record.words.isEmpty());
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

    void bookFromBundle_data()
    {
        QTest::addColumn<QVariantMap>("info");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("folderName");
        QTest::addColumn<bool>("hasOverride");

        const QString name = QStringLiteral("com.quirkworks.QXHelpManager.HelpBookName");
        const QString folder = QStringLiteral("com.quirkworks.QXHelpManager.HelpBookFolder");
        QTest::newRow("own keys first") << QVariantMap{{name, "Own"},
                                                       {"CFBundleHelpBookName", "Standard"},
                                                       {folder, "OwnFolder"},
                                                       {"CFBundleHelpBookFolder", "Std"},
                                                       {"CFBundleName", "Prog"}}
                                        << "Own"
                                        << "OwnFolder" << true;
        QTest::newRow("standard keys second") << QVariantMap{{name, ""},
                                                             {"CFBundleHelpBookName", "Standard"},
                                                             {"CFBundleHelpBookFolder", "Std"},
                                                             {"CFBundleName", "Prog"}}
                                              << "Standard"
                                              << "Std" << true;
        QTest::newRow("program name last") << QVariantMap{{"CFBundleName", "Prog"}} << "Prog Help"
                                           << "Help" << true;
        QTest::newRow("no program name: no user folder") << QVariantMap{} << " Help"
                                                         << "Help" << false;
    }

    void bookFromBundle()
    {
        QFETCH(QVariantMap, info);
        QFETCH(bool, hasOverride);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath("Test.app/Contents/Resources"));
        platform::plist::writeFile(dir.path() + "/Test.app/Contents/Info.plist", info);
        const platform::Bundle bundle(dir.path() + "/Test.app");

        QTEST(QXHelpIndex::windowTitleForBundle(bundle), "title");
        const QXHelpBookSource source = QXHelpBookSource::fromBundle(bundle, "/data");
        QTEST(source.folderName, "folderName");
        QCOMPARE(source.overrideBasePath, hasOverride ? QStringLiteral("/data/Prog") : QString());
        QCOMPARE(source.resourcePath, bundle.resourcePath());
    }
};

QTEST_GUILESS_MAIN(HelpBookLocationTest)
#include "help_book_location_test.moc"
