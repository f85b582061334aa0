// What a feed may name as its release notes, what the update window shows of
// the feed's own texts, and feeds read from disk. Addresses that are not on
// this computer are served from memory: nothing here connects anywhere.
#include "platform/updates/appcast/AppcastUpdater.h"
#include "platform/updates/appcast/UpdateAlertWindow.h"
#include "support/LogCapture.h"
#include "support/TemporaryDefaults.h"
#include "support/TestProgram.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <cstring>
#include <sys/stat.h>

using namespace platform;

namespace {

// One answer from memory: the body with status 200, or "not found".
class MemoryReply : public QNetworkReply
{
public:
    MemoryReply(const QNetworkRequest& request, const std::optional<QByteArray>& body,
                QObject* parent)
        : QNetworkReply(parent), m_body(body.value_or(QByteArray()))
    {
        setRequest(request);
        setUrl(request.url());
        setOperation(QNetworkAccessManager::GetOperation);
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
        if (body) {
            setAttribute(QNetworkRequest::HttpStatusCodeAttribute, 200);
            setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("text/html"));
            setHeader(QNetworkRequest::ContentLengthHeader, m_body.size());
        } else {
            setAttribute(QNetworkRequest::HttpStatusCodeAttribute, 404);
            setError(ContentNotFoundError, QStringLiteral("not served"));
        }
        QTimer::singleShot(0, this, [this] {
            Q_EMIT metaDataChanged();
            if (error() != NoError) {
                Q_EMIT errorOccurred(error());
            } else {
                Q_EMIT readyRead();
            }
            setFinished(true);
            Q_EMIT finished();
        });
    }

    void abort() override {}
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override
    {
        return m_body.size() - m_offset + QNetworkReply::bytesAvailable();
    }

protected:
    qint64 readData(char* data, qint64 maximum) override
    {
        const qint64 count = std::min<qint64>(maximum, m_body.size() - m_offset);
        if (count <= 0) {
            return isFinished() ? -1 : 0;
        }
        std::memcpy(data, m_body.constData() + m_offset, size_t(count));
        m_offset += count;
        return count;
    }

private:
    QByteArray m_body;
    qint64 m_offset = 0;
};

// A network that serves a few addresses from memory and records every
// address asked for.
class MemoryNetwork : public QNetworkAccessManager
{
public:
    QHash<QUrl, QByteArray> served;
    QList<QUrl> requested;

protected:
    QNetworkReply* createRequest(Operation, const QNetworkRequest& request, QIODevice*) override
    {
        requested.append(request.url());
        const auto found = served.constFind(request.url());
        return new MemoryReply(
            request, found == served.constEnd() ? std::nullopt : std::optional<QByteArray>(*found),
            this);
    }
};

QByteArray feed(const QString& notes, const QByteArray& shortVersion = "3.0")
{
    return "<rss xmlns:sparkle=\"http://www.andymatuschak.org/xml-namespaces/sparkle\"><channel>"
           "<item><sparkle:version>3.0</sparkle:version><sparkle:shortVersionString>" +
           QString::fromUtf8(shortVersion).toHtmlEscaped().toUtf8() +
           "</sparkle:shortVersionString>" +
           (notes.isEmpty() ? QByteArray()
                            : "<sparkle:releaseNotesLink>" + notes.toHtmlEscaped().toUtf8() +
                                  "</sparkle:releaseNotesLink>") +
           "</item></channel></rss>";
}

const QString RemoteFeed = QStringLiteral("https://updates.example/trovix/appcast.xml");

} // namespace

class ReleaseNotesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_defaults = std::make_unique<TemporaryDefaults>();
        m_updater = std::make_unique<AppcastUpdater>(QStringLiteral("1.5"));
        m_network = new MemoryNetwork;
        m_updater->setNetworkForTesting(m_network);
        write("secret.txt", "PRIVATE KEY");
        write("notes.html", "<p>Local notes.</p>");
    }
    void cleanup()
    {
        m_updater.reset();
        m_defaults.reset();
    }

    // Release notes come from where the feed's own origin allows: a feed
    // from the network may not name a file or a service on this computer.
    void notesFollowTheFeedsOrigin_data()
    {
        QTest::addColumn<QString>("feedAddress");
        QTest::addColumn<QString>("notes");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("asked");
        const QString notesPage = QStringLiteral("https://updates.example/trovix/notes.html");
        QTest::newRow("remote feed, https notes")
            << RemoteFeed << notesPage << "Remote notes." << true;
        QTest::newRow("remote feed, relative notes") << RemoteFeed << "notes.html"
                                                     << "Remote notes." << true;
        QTest::newRow("remote feed, a local file")
            << RemoteFeed << "file://" + m_dir.filePath("secret.txt") << "could not be loaded"
            << false;
        QTest::newRow("remote feed, a local service") << RemoteFeed << "http://127.0.0.1:631/admin"
                                                      << "could not be loaded" << false;
        QTest::newRow("remote feed, localhost") << RemoteFeed << "http://localhost:8080/"
                                                << "could not be loaded" << false;
        QTest::newRow("local feed, local notes")
            << "file://" + m_dir.filePath("appcast.xml") << "file://" + m_dir.filePath("notes.html")
            << "Local notes." << false;
    }
    void notesFollowTheFeedsOrigin()
    {
        QFETCH(QString, feedAddress);
        QFETCH(QString, notes);
        QFETCH(QString, shown);
        QFETCH(bool, asked);
        LogCapture log;
        const QUrl feedUrl(feedAddress);
        if (feedUrl.isLocalFile()) {
            write("appcast.xml", feed(notes));
        } else {
            m_network->served.insert(feedUrl, feed(notes));
        }
        const QUrl notesUrl = feedUrl.resolved(QUrl(notes));
        m_network->served.insert(QUrl("https://updates.example/trovix/notes.html"),
                                 "<p>Remote notes.</p>");
        setFeed(feedAddress);
        m_updater->checkForUpdates();
        QTRY_VERIFY(m_updater->updateAlertWindow() != nullptr);
        QTextBrowser* view = m_updater->updateAlertWindow()->releaseNotesView();
        QTRY_VERIFY2(view->toPlainText().contains(shown), qPrintable(view->toPlainText()));
        QVERIFY(!view->toPlainText().contains(QLatin1String("PRIVATE KEY")));
        QCOMPARE(m_network->requested.contains(notesUrl), asked);
    }

    // The feed's version text is shown as it stands, never as markup.
    void feedTextIsPlainText()
    {
        m_network->served.insert(QUrl(RemoteFeed), feed({}, "<b>3.0</b><img src=\"x.png\">"));
        setFeed(RemoteFeed);
        m_updater->checkForUpdates();
        QTRY_VERIFY(m_updater->updateAlertWindow() != nullptr);
        UpdateAlertWindow* window = m_updater->updateAlertWindow();
        QVERIFY(window->informativeText().contains(QLatin1String("<b>3.0</b><img")));
        for (QLabel* label : window->findChildren<QLabel*>()) {
            QCOMPARE(label->textFormat(), Qt::PlainText);
        }
    }

    // Release notes never load images or other resources, local files
    // included.
    void notesLoadNoResources()
    {
        const QUrl secret = QUrl::fromLocalFile(m_dir.filePath("secret.txt"));
        m_network->served.insert(QUrl(RemoteFeed), feed({}));
        setFeed(RemoteFeed);
        m_updater->checkForUpdates();
        QTRY_VERIFY(m_updater->updateAlertWindow() != nullptr);
        UpdateAlertWindow* window = m_updater->updateAlertWindow();
        window->setReleaseNotes("<p>New.</p><img src=\"" + secret.toString() + "\">", true);
        const QVariant image =
            window->releaseNotesView()->document()->resource(QTextDocument::ImageResource, secret);
        QVERIFY(image.toByteArray().isEmpty());
    }

    // A feed read from disk must be a regular file: a named pipe in its place
    // ends the check at once instead of waiting for a writer.
    void feedFilesMustBeRegular()
    {
        const QString pipe = m_dir.filePath("pipe.xml");
        QVERIFY(::mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
        setFeed(QUrl::fromLocalFile(pipe).toString());
        QSignalSpy finished(m_updater.get(), &Updater::checkFinished);
        m_updater->checkForUpdates();
        QMessageBox* box = nullptr;
        QTRY_VERIFY_WITH_TIMEOUT((box = visibleMessageBox()) != nullptr, 5000);
        QVERIFY2(box->informativeText().contains(QLatin1String("not a regular file")),
                 qPrintable(box->informativeText()));
        QCOMPARE(box->textFormat(), Qt::PlainText);
        box->accept();
        QCOMPARE(finished.size(), 1);
    }

private:
    static QMessageBox* visibleMessageBox()
    {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            if (box != nullptr && box->isVisible()) {
                return box;
            }
        }
        return nullptr;
    }

    void write(const char* name, const QByteArray& bytes)
    {
        QFile file(m_dir.filePath(QLatin1String(name)));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    void setFeed(const QString& address)
    {
        m_defaults->defaults().setObject(address, QStringLiteral("SUFeedURL"));
    }

    QTemporaryDir m_dir;
    std::unique_ptr<TemporaryDefaults> m_defaults;
    std::unique_ptr<AppcastUpdater> m_updater;
    MemoryNetwork* m_network = nullptr;
};

TROVIX_TEST_MAIN(ReleaseNotesTest)
#include "release_notes_test.moc"
