// What help pages may read: images and style sheets from inside the help
// book only, regular files only and none larger than the view's limit; pages
// that are not regular files are never opened.
#include "help/QXHelpIndex.h"
#include "help/QXHelpManager.h"
#include "help/QXHelpPageParser.h"
#include "platform/application/memory/MemoryActivation.h"
#include "support/LogCapture.h"
#include "support/TemporaryDefaults.h"
#include "support/TestProgram.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>
#include <sys/stat.h>

class PageResourcesTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<TemporaryDefaults> m_defaults;
    std::unique_ptr<QXHelpManager> m_manager;

    QString book() const { return m_dir.filePath(QStringLiteral("Resources/Book")); }
    QString outside() const { return m_dir.filePath(QStringLiteral("outside")); }

    static void write(const QString& path, const QByteArray& bytes)
    {
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTextBrowser* page() const
    {
        platform::WebView* view = m_manager->webView();
        return view ? qobject_cast<QTextBrowser*>(view->widget()) : nullptr;
    }

private Q_SLOTS:
    void initTestCase()
    {
        platform::Activation::setCurrent(std::make_unique<platform::MemoryActivation>());
        m_defaults = std::make_unique<TemporaryDefaults>();
        write(book() + QStringLiteral("/page.html"),
              "<html><head><title>Page</title><!--com.quirkworks.help.index[1]--></head>"
              "<body><p>Pictures.</p><img src=\"images/pic.png\"></body></html>");
        write(book() + QStringLiteral("/sub/deeper.html"),
              "<html><head><title>Deeper</title><!--com.quirkworks.help.index[2]--></head>"
              "<body><p>Further down.</p></body></html>");
        write(book() + QStringLiteral("/images/pic.png"), "picture bytes");
        write(book() + QStringLiteral("/style.css"), "p { color: black }");
        write(outside() + QStringLiteral("/secret.txt"), "private key");
        QVERIFY(QFile::link(outside() + QStringLiteral("/secret.txt"),
                            book() + QStringLiteral("/link-out.png")));
        QVERIFY(::mkfifo(QFile::encodeName(book() + QStringLiteral("/pipe.png")).constData(),
                         0600) == 0);
        QVERIFY(::mkfifo(QFile::encodeName(book() + QStringLiteral("/pipe.html")).constData(),
                         0600) == 0);
        // Sparse: larger than the limit without filling the disk.
        QFile big(book() + QStringLiteral("/big.png"));
        QVERIFY(big.open(QIODevice::WriteOnly));
        QVERIFY(big.resize(platform::WebView::MaximumResourceSize + 1));
    }

    void init()
    {
        m_manager = std::make_unique<QXHelpManager>(std::make_unique<QXHelpIndex>(
            QXHelpBookSource{QStringLiteral("Book"), QString(),
                             m_dir.filePath(QStringLiteral("Resources"))},
            QStringLiteral("Test Help")));
        m_manager->setAlertPresenterForTesting([](const QXHelpManager::Alert&) { return 0; });
    }

    void cleanup() { m_manager.reset(); }

    void resources_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("image in the book") << "images/pic.png" << QByteArray("picture bytes");
        QTest::newRow("style sheet in the book") << "style.css" << QByteArray("p { color: black }");
        QTest::newRow("file outside the book") << outside() + "/secret.txt" << QByteArray();
        QTest::newRow("file address outside the book")
            << QUrl::fromLocalFile(outside() + "/secret.txt").toString() << QByteArray();
        QTest::newRow("relative path leading out") << "../../outside/secret.txt" << QByteArray();
        QTest::newRow("link from the book to outside") << "link-out.png" << QByteArray();
        QTest::newRow("named pipe in the book") << "pipe.png" << QByteArray();
        QTest::newRow("device") << "/dev/zero" << QByteArray();
        QTest::newRow("folder in the book") << "images" << QByteArray();
        QTest::newRow("larger than the limit") << "big.png" << QByteArray();
        QTest::newRow("missing") << "images/none.png" << QByteArray();
        QTest::newRow("web address") << "http://127.0.0.1:1/pixel.png" << QByteArray();
    }

    void resources()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, expected);
        LogCapture log;
        QVERIFY(m_manager->openPage(QStringLiteral("page")));
        QTRY_VERIFY(page() != nullptr && page()->toPlainText().contains(QLatin1String("Pictures")));
        QElapsedTimer timer;
        timer.start();
        const QVariant resource =
            page()->document()->resource(QTextDocument::ImageResource, QUrl(name));
        QCOMPARE(resource.toByteArray(), expected);
        // Refused at once: nothing waited for a writer or read a device.
        QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
    }

    // A page deeper in the book may use resources anywhere in the book.
    void resourcesFromDeeperPages()
    {
        QVERIFY(m_manager->openPage(QStringLiteral("sub/deeper")));
        QTRY_VERIFY(page() != nullptr &&
                    page()->toPlainText().contains(QLatin1String("Further down")));
        QCOMPARE(page()
                     ->document()
                     ->resource(QTextDocument::ImageResource, QUrl("../images/pic.png"))
                     .toByteArray(),
                 QByteArray("picture bytes"));
    }

    // A named pipe in a page's place is neither shown nor indexed, and
    // neither waits for a writer.
    void pagesMustBeRegularFiles()
    {
        LogCapture log;
        QVERIFY(m_manager->openPage(QStringLiteral("page")));
        QTRY_VERIFY(page() != nullptr && page()->toPlainText().contains(QLatin1String("Pictures")));
        QVERIFY(!m_manager->webView()->load(QUrl::fromLocalFile(book() + "/pipe.html")));
        QVERIFY(page()->toPlainText().contains(QLatin1String("Pictures")));

        const QXHelpPageRecord record =
            QXHelpPageParser::pageRepresentationForFile("pipe.html", book() + "/pipe.html");
        QVERIFY(record.words.isEmpty());
        QCOMPARE(record.title, QStringLiteral("pipe.html"));
        QVERIFY2(log.lines().join(u'\n').contains(QLatin1String("not a regular file")),
                 qPrintable(log.lines().join(u'\n')));
    }
};

TROVIX_TEST_MAIN(PageResourcesTest)
#include "page_resources_test.moc"
