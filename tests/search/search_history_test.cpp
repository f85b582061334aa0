#include "search/SearchHistory.h"
#include "support/TestProgram.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>
#include <sys/stat.h>

class SearchHistoryTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString path() const { return m_dir.filePath(QStringLiteral("state/Trovix/history.json")); }

private Q_SLOTS:
    void init() { QFile::remove(path()); }

    void pressesSurviveASaveAndEarnABoundedBoost()
    {
        SearchHistory history(path());
        QCOMPARE(history.boost("Editor", "File › Save"), 0);
        history.recordPress("Editor", "File › Save");
        const int once = history.boost("Editor", "File › Save");
        QVERIFY(once > 0);
        for (int i = 0; i < 100; ++i) {
            history.recordPress("Editor", "File › Save");
        }
        QCOMPARE(history.boost("Editor", "File › Save"), SearchHistory::MaximumBoost);
        QCOMPARE(history.boost("Other", "File › Save"), 0);
        QVERIFY(history.save());

        SearchHistory reloaded(path());
        QVERIFY(reloaded.load());
        QCOMPARE(reloaded.boost("Editor", "File › Save"), SearchHistory::MaximumBoost);
    }

    void theLeastRecentlyUsedAreDroppedFirst()
    {
        SearchHistory history(path());
        const QDateTime start = QDateTime::fromSecsSinceEpoch(1000000, QTimeZone::utc());
        for (int i = 0; i <= SearchHistory::MaximumItemsPerApplication; ++i) {
            history.recordPress("Editor", QStringLiteral("Item %1").arg(i), start.addSecs(i));
        }
        QCOMPARE(history.boost("Editor", "Item 0"), 0);
        QVERIFY(history.boost("Editor", "Item 1") > 0);
        for (int i = 0; i <= SearchHistory::MaximumApplications; ++i) {
            history.recordPress(QStringLiteral("App %1").arg(i), "Item", start.addSecs(1000 + i));
        }
        QCOMPARE(history.boost("Editor", "Item 1"), 0);
        QCOMPARE(history.boost("App 0", "Item"), 0);
        QVERIFY(history.boost("App 1", "Item") > 0);
    }

    // Whatever is in the file, loading never crashes and keeps only sane
    // entries; a file that is not a history reads as an empty one.
    void unusableFilesReadAsEmpty_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("boost");
        QTest::newRow("garbage") << QByteArray("\x00\xff{{[", 5) << 0;
        QTest::newRow("array") << QByteArray("[1, 2, 3]") << 0;
        QTest::newRow("wrong types")
            << QByteArray(R"({"applications": {"Editor": {"items": [{"path": 5}, "x", null]}}})")
            << 0;
        QTest::newRow("negative presses")
            << QByteArray(
                   R"({"applications": {"Editor": {"items": [{"path": "Save", "presses": -4}]}}})")
            << 0;
        QTest::newRow("presses beyond any int sum")
            << QByteArray(
                   R"({"applications": {"Editor": {"items": [{"path": "Save", "presses": 2147483647}]}}})")
            << 30;
        QTest::newRow("nested 100 000 deep")
            << R"({"applications": {"Editor": )" + QByteArray("[").repeated(100000) +
                   QByteArray("]").repeated(100000) + "}}"
            << 0;
        QTest::newRow("sane entry kept beside broken ones")
            << QByteArray(
                   R"({"applications": {"Editor": {"items": [7, {"path": "Save", "presses": 1}]}}})")
            << 10;
    }

    void unusableFilesReadAsEmpty()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, boost);
        QVERIFY(QDir().mkpath(QFileInfo(path()).absolutePath()));
        QFile file(path());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        SearchHistory history(path());
        history.load();
        QCOMPARE(history.boost("Editor", "Save"), boost);
        // A press after a bad file writes a good one.
        history.recordPress("Editor", "Save");
        QVERIFY(history.save());
        SearchHistory reloaded(path());
        QVERIFY(reloaded.load());
        QVERIFY(reloaded.boost("Editor", "Save") > 0);
    }

    // A FIFO in place of the file would block a plain open until something
    // writes to it; it reads as no history at once.
    void aFifoInPlaceOfTheFileReadsAsEmptyWithoutWaiting()
    {
        QVERIFY(QDir().mkpath(QFileInfo(path()).absolutePath()));
        QVERIFY(::mkfifo(QFile::encodeName(path()).constData(), 0600) == 0);
        SearchHistory history(path());
        QVERIFY(!history.load());
        QVERIFY(history.isEmpty());
        QVERIFY(QFile::remove(path()));
    }

    // Clearing forgets every press at once and leaves no file behind, so
    // that a later load does not bring the presses back.
    void clearingForgetsEveryPressAndRemovesTheFile()
    {
        SearchHistory history(path());
        QVERIFY(history.isEmpty());
        QVERIFY(history.clear()); // nothing to remove is no failure
        history.recordPress("Editor", "File › Save");
        history.recordPress("Viewer", "View › Zoom In");
        QVERIFY(!history.isEmpty());
        QVERIFY(history.save());

        QVERIFY(history.clear());
        QVERIFY(history.isEmpty());
        QCOMPARE(history.boost("Editor", "File › Save"), 0);
        QVERIFY(!QFileInfo::exists(path()));
        SearchHistory reloaded(path());
        QVERIFY(!reloaded.load());
        QVERIFY(reloaded.isEmpty());

        // A dangling link in the file's place is removed too.
        QVERIFY(QFile::link(m_dir.filePath("nowhere"), path()));
        QVERIFY(history.clear());
        QVERIFY(!QFileInfo(path()).isSymLink());
    }

    // A file that cannot be removed (here a folder in its place) is
    // reported, never passed off as cleared.
    void aFileThatStaysIsReported()
    {
        QVERIFY(QDir().mkpath(path() + "/inside"));
        SearchHistory history(path());
        history.recordPress("Editor", "File › Save");
        QVERIFY(!history.clear());
        QVERIFY(history.isEmpty());
        QVERIFY(QDir(path()).removeRecursively());
    }

    void defaultPathFollowsTheStateHome_data()
    {
        QTest::addColumn<QByteArray>("stateHome");
        QTest::addColumn<QString>("expected");
        QTest::newRow("set") << QByteArray("/tmp/state") << "/tmp/state/Trovix/search-history.json";
        QTest::newRow("unset") << QByteArray()
                               << QString(QDir::homePath() +
                                          "/.local/state/Trovix/search-history.json");
        QTest::newRow("relative") << QByteArray("state")
                                  << QString(QDir::homePath() +
                                             "/.local/state/Trovix/search-history.json");
    }

    void defaultPathFollowsTheStateHome()
    {
        QFETCH(QByteArray, stateHome);
        const QByteArray saved = qgetenv("XDG_STATE_HOME");
        if (stateHome.isEmpty()) {
            qunsetenv("XDG_STATE_HOME");
        } else {
            qputenv("XDG_STATE_HOME", stateHome);
        }
        const QString path = SearchHistory::defaultPath();
        qputenv("XDG_STATE_HOME", saved);
        QTEST(path, "expected");
    }
};

TROVIX_TEST_GUILESS_MAIN(SearchHistoryTest)
#include "search_history_test.moc"
