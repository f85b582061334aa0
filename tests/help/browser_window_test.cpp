#include "help/QXBrowserWindow.h"
#include "help/QXBrowserWindowController.h"
#include "help/QXBrowserWindowSearchContainer.h"
#include "platform/application/memory/MemoryActivation.h"
#include "support/AccessibleNames.h"
#include "support/TemporaryDefaults.h"
#include "support/TestProgram.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

namespace {

const QString Page =
    QStringLiteral("<html><head><title>Page</title></head><body><p>Alpha beta gamma.</p>"
                   "<p>Second paragraph with Beta again.</p></body></html>");

} // namespace

// The browser window: showing content, the find bar, find and zoom, the
// context menu and the window's usable area.
class BrowserWindowTest : public QObject
{
    Q_OBJECT

private:
    platform::MemoryActivation* m_activation = nullptr;

private Q_SLOTS:
    void initTestCase()
    {
        m_activation = new platform::MemoryActivation();
        platform::Activation::setCurrent(std::unique_ptr<platform::Activation>(m_activation));
    }

    void init() { QXBrowserWindowController::setFindString({}); }

    void populating()
    {
        TemporaryDefaults defaults;
        QXBrowserWindowController controller;
        QVERIFY(!controller.populateWithHTMLContent(QString(), QUrl(), QStringLiteral("T")));
        QVERIFY(!controller.window());
        QVERIFY(!controller.showHTMLContent(QString(), QUrl(), QStringLiteral("T")));

        QVERIFY(controller.showHTMLContent(Page, QUrl(), QStringLiteral("First")));
        QXBrowserWindow* window = controller.window();
        QVERIFY(window && window->isVisible());
        // Showing again keeps the window, its title and its toolbar.
        QVERIFY(controller.showHTMLContent(QStringLiteral("<p>other</p>"), QUrl(),
                                           QStringLiteral("Second")));
        QCOMPARE(controller.window(), window);
        QCOMPARE(window->windowTitle(), QStringLiteral("First"));
        QVERIFY(controller.webView()->plainText().contains(QStringLiteral("other")));
    }

    // The bar stands between toolbar and page; hiding it gives the page back
    // its height; Escape and Done both close it.
    void findBarComesAndGoes()
    {
        TemporaryDefaults defaults;
        QXBrowserWindowController controller;
        QVERIFY(controller.showHTMLContent(Page, QUrl(), QStringLiteral("Find")));
        QWidget* page = controller.webView()->widget();
        QTRY_VERIFY(page->height() > 0);
        const int fullHeight = page->height();

        controller.toggleSearchField();
        QVERIFY(controller.searchField());
        QTRY_COMPARE(page->height(), fullHeight - QXBrowserWindowSearchContainer::Height);
        QTest::keyClick(controller.searchField(), Qt::Key_Escape);
        QVERIFY(!controller.searchField());
        QTRY_COMPARE(page->height(), fullHeight);

        QVERIFY(controller.showSearchField(true));
        controller.searchContainer()->doneButton()->click();
        QVERIFY(!controller.searchField());
        QTRY_COMPARE(page->height(), fullHeight);
        QVERIFY(controller.showSearchField(false));
    }

    void searching()
    {
        TemporaryDefaults defaults;
        QXBrowserWindowController controller;
        QVERIFY(controller.showHTMLContent(Page, QUrl(), QStringLiteral("Find")));
        const int beeps = m_activation->beeps;

        // Find next with nothing to find beeps and is disabled.
        QVERIFY(!controller.validateTextFinderAction(QXBrowserWindowController::NextMatch));
        controller.performTextFinderActionWithTag(QXBrowserWindowController::NextMatch);
        QCOMPARE(m_activation->beeps, beeps + 1);

        controller.performTextFinderActionWithTag(QXBrowserWindowController::ShowFindInterface);
        QTest::keyClicks(controller.searchField(), QStringLiteral("BETA"));
        QTest::keyClick(controller.searchField(), Qt::Key_Return);
        QCOMPARE(controller.webView()->selectedText(), QStringLiteral("beta"));
        QCOMPARE(QXBrowserWindowController::findString(), QStringLiteral("BETA"));
        QVERIFY(controller.validateTextFinderAction(QXBrowserWindowController::NextMatch));

        controller.performTextFinderActionWithTag(QXBrowserWindowController::NextMatch);
        QCOMPARE(controller.webView()->selectedText(), QStringLiteral("Beta"));
        // Wraps around to the first match.
        controller.performTextFinderActionWithTag(QXBrowserWindowController::NextMatch);
        QCOMPARE(controller.webView()->selectedText(), QStringLiteral("beta"));
        QCOMPARE(m_activation->beeps, beeps + 1);

        controller.searchField()->setText(QStringLiteral("absent"));
        controller.performSearch();
        QCOMPARE(m_activation->beeps, beeps + 2);
        QCOMPARE(controller.webView()->selectedText(), QStringLiteral("beta"));
        controller.performTextFinderActionWithTag(42);
        QCOMPARE(m_activation->beeps, beeps + 3);
    }

    void zoomStopsAtItsBounds()
    {
        TemporaryDefaults defaults;
        QXBrowserWindowController controller;
        QVERIFY(controller.showHTMLContent(Page, QUrl(), QStringLiteral("Zoom")));
        const int beeps = m_activation->beeps;
        QWidget* page = controller.webView()->widget();
        const qreal size = page->font().pointSizeF();
        controller.zoomIn();
        QVERIFY(page->font().pointSizeF() > size);
        for (int i = 0; i < 20; ++i) {
            controller.zoomIn();
        }
        QVERIFY(!controller.webView()->canZoomIn());
        QVERIFY(m_activation->beeps > beeps);
        for (int i = 0; i < 40; ++i) {
            controller.zoomOut();
        }
        QVERIFY(!controller.webView()->canZoomOut());
        QVERIFY(page->font().pointSizeF() > 0);
    }

    void contextMenuEndsWithPrint_data()
    {
        QTest::addColumn<QList<int>>("items");
        QTest::addColumn<QStringList>("expected");
        using Item = platform::WebView::ContextItem;
        QTest::newRow("kept items") << QList<int>{int(Item::Copy), int(Item::OpenLink)}
                                    << QStringList{"Copy", "", "Print..."};
        QTest::newRow("nothing kept") << QList<int>{int(Item::OpenLink)} << QStringList{"Print..."};
        QTest::newRow("empty") << QList<int>{} << QStringList{"Print..."};
    }

    void contextMenuEndsWithPrint()
    {
        QFETCH(QList<int>, items);
        QFETCH(QStringList, expected);
        TemporaryDefaults defaults;
        QXBrowserWindowController controller;
        QVERIFY(controller.populateWithHTMLContent(Page, QUrl(), QStringLiteral("Menu")));
        QMenu menu;
        for (int item : items) {
            menu.addAction(item == int(platform::WebView::ContextItem::Copy) ? "Copy" : "Open")
                ->setData(item);
        }
        // The hook the view calls before showing its menu.
        struct Probe : QXBrowserWindowController
        {
            using QXBrowserWindowController::webViewContextMenu;
        };
        static_cast<Probe&>(controller).webViewContextMenu(menu);
        QStringList titles;
        for (QAction* action : menu.actions()) {
            titles << (action->isSeparator() ? QString() : action->text());
        }
        QCOMPARE(titles, expected);
    }

    void visibleFrameWithExtraDockSpacing_data()
    {
        QTest::addColumn<QRect>("visible");
        QTest::addColumn<int>("spacing");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("no spacing") << QRect(0, 30, 1000, 700) << 0 << QRect(0, 30, 1000, 700);
        QTest::newRow("negative") << QRect(0, 30, 1000, 700) << -5 << QRect(0, 30, 1000, 700);
        QTest::newRow("panel at the bottom")
            << QRect(0, 30, 1000, 720) << 20 << QRect(0, 30, 1000, 700);
        QTest::newRow("gap of exactly 10 is no panel")
            << QRect(0, 0, 1000, 790) << 20 << QRect(0, 0, 1000, 790);
        QTest::newRow("panel at the left")
            << QRect(60, 0, 940, 800) << 20 << QRect(80, 0, 920, 800);
        QTest::newRow("panel at the right") << QRect(0, 0, 940, 800) << 20 << QRect(0, 0, 920, 800);
        QTest::newRow("top never changes")
            << QRect(0, 50, 1000, 750) << 20 << QRect(0, 50, 1000, 750);
        QTest::newRow("spacing beyond the screen")
            << QRect(60, 0, 940, 700) << 5000 << QRect(60, 0, 940, 700);
    }

    void visibleFrameWithExtraDockSpacing()
    {
        QFETCH(QRect, visible);
        QFETCH(int, spacing);
        QFETCH(QRect, expected);
        const QRect frame = QXBrowserWindowController::visibleFrameWithExtraDockSpacing(
            QRect(0, 0, 1000, 800), visible, spacing);
        QCOMPARE(frame, expected);
    }

    // The frame is kept in the settings and comes back with the next window;
    // a saved frame that is garbage is ignored.
    void frameIsSavedAndRestored()
    {
        TemporaryDefaults defaults;
        QSize fresh;
        {
            QXBrowserWindowController controller;
            QVERIFY(controller.showHTMLContent(Page, QUrl(), QStringLiteral("Frame")));
            fresh = controller.window()->size();
            controller.window()->resize(640, 480);
            QTRY_VERIFY(defaults.defaults()
                            .stringForKey(controller.frameAutosaveKey())
                            .contains(QStringLiteral("640 480")));
            controller.window()->close();
            QTRY_VERIFY(!controller.window());
            QVERIFY(!controller.webView());
            QVERIFY(controller.showHTMLContent(Page, QUrl(), QStringLiteral("Frame")));
            QCOMPARE(controller.window()->size(), QSize(640, 480));

            defaults.defaults().setObject(QStringLiteral("12 nonsense"),
                                          controller.frameAutosaveKey());
        }
        QXBrowserWindowController controller;
        QVERIFY(controller.showHTMLContent(Page, QUrl(), QStringLiteral("Frame")));
        QCOMPARE(controller.window()->size(), fresh);
    }

    // Every control of the window is named for a screen reader.
    void controlsAreNamed()
    {
        TemporaryDefaults defaults;
        QXBrowserWindowController controller;
        QVERIFY(controller.showHTMLContent(Page, QUrl(), QStringLiteral("Named")));
        controller.showSearchField(true);
        QCOMPARE(unnamedControls(controller.window()), QStringList());
    }
};

TROVIX_TEST_MAIN(BrowserWindowTest)
#include "browser_window_test.moc"
