#include "help/QXBrowserWindowController.h"
#include "platform/application/memory/MemoryActivation.h"
#include "platform/web/qt/TextBrowserWebView.h"
#include "support/LogCapture.h"
#include "support/TemporaryDefaults.h"
#include "support/TestProgram.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

// Which links load in the browser window, which go to the desktop and which
// are refused, decided for every navigation: clicks included.
class LinkPolicyTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QList<QUrl> m_opened;

    QUrl writePage(const QString& name, const QString& body)
    {
        QFile file(m_dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly)) {
            return {};
        }
        file.write(QStringLiteral("<html><head><title>%1</title></head><body>%2</body></html>")
                       .arg(name, body)
                       .toUtf8());
        return QUrl::fromLocalFile(file.fileName());
    }

    std::unique_ptr<QXBrowserWindowController> makeController()
    {
        auto controller = std::make_unique<QXBrowserWindowController>();
        controller->setExternalURLOpenerForTesting([this](const QUrl& url) {
            m_opened << url;
            return true;
        });
        return controller;
    }

private Q_SLOTS:
    void initTestCase()
    {
        platform::Activation::setCurrent(std::make_unique<platform::MemoryActivation>());
    }

    void init() { m_opened.clear(); }

    void decidesEveryURL_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<bool>("loads");
        QTest::addColumn<bool>("external");
        QTest::addColumn<bool>("logged");

        QTest::newRow("html file") << "file:///tmp/page.html" << true << false << false;
        QTest::newRow("htm file") << "file:///tmp/page.htm" << true << false << false;
        QTest::newRow("upper-case extension") << "file:///tmp/PAGE.HTML" << true << false << false;
        QTest::newRow("pdf file") << "file:///tmp/manual.pdf" << false << false << true;
        QTest::newRow("file without extension") << "file:///etc/passwd" << false << false << true;
        QTest::newRow("https") << "https://example.org/a" << false << true << false;
        QTest::newRow("http") << "http://example.org/" << false << true << false;
        QTest::newRow("mailto") << "mailto:someone@example.org" << false << true << false;
        QTest::newRow("scheme case") << "HTTPS://example.org/" << false << true << false;
        QTest::newRow("ftp") << "ftp://example.org/file" << false << false << true;
        QTest::newRow("javascript") << "javascript:alert(1)" << false << false << true;
        QTest::newRow("about blank") << "about:blank" << false << false << true;
        QTest::newRow("data") << "data:text/html,<b>x</b>" << false << false << true;
        QTest::newRow("remote html over smb")
            << "smb://host/share/page.html" << false << false << true;
    }

    void decidesEveryURL()
    {
        QFETCH(QString, url);
        QFETCH(bool, loads);
        QFETCH(bool, external);
        QFETCH(bool, logged);

        LogCapture log;
        auto controller = makeController();
        const auto policy = controller->decidePolicyForNavigation(QUrl(url));
        QCOMPARE(policy == platform::WebView::Policy::Load, loads);
        QCOMPARE(m_opened.size(), external ? 1 : 0);
        QCOMPARE(!log.lines().isEmpty(), logged);
    }

    // A click goes through the policy: an https link leaves the page as it
    // is; a local page link loads; back returns.
    void clickedLinksFollowThePolicy()
    {
        TemporaryDefaults defaults;
        const QUrl second = writePage(QStringLiteral("second.html"), QStringLiteral("Second"));
        const QUrl first = writePage(
            QStringLiteral("first.html"),
            QStringLiteral(
                "<a href=\"https://example.org/\">web</a> <a href=\"second.html\">next</a>"
                " <a href=\"notes.pdf\">pdf</a>"));
        auto controller = makeController();
        QVERIFY(controller->populateWithHTMLContent(QString(), first, QStringLiteral("Test")));
        auto* view = static_cast<platform::TextBrowserWebView*>(controller->webView());

        view->activateLink(QUrl(QStringLiteral("https://example.org/")));
        QCOMPARE(m_opened, QList<QUrl>{QUrl(QStringLiteral("https://example.org/"))});
        QCOMPARE(view->url(), first);

        view->activateLink(QUrl(QStringLiteral("notes.pdf")));
        QCOMPARE(view->url(), first);

        view->activateLink(QUrl(QStringLiteral("second.html")));
        QCOMPARE(view->url(), second);
        QCOMPARE(view->title(), QStringLiteral("second.html"));
        QVERIFY(controller->backButton()->isEnabled());
        QVERIFY(!controller->forwardButton()->isEnabled());

        controller->navigate(0);
        QCOMPARE(view->url(), first);
        QVERIFY(controller->forwardButton()->isEnabled());
        controller->navigate(1);
        QCOMPARE(view->url(), second);
    }

    // A missing page shows nothing and is reported.
    void missingPageFails()
    {
        LogCapture log;
        auto controller = makeController();
        QVERIFY(!controller->populateWithHTMLContent(
            QString(), QUrl::fromLocalFile(m_dir.filePath(QStringLiteral("absent.html"))),
            QStringLiteral("Test")));
        QVERIFY(!log.lines().isEmpty());
    }
};

TROVIX_TEST_MAIN(LinkPolicyTest)
#include "link_policy_test.moc"
