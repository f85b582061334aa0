#include "help/QXBrowserWindow.h"
#include "help/QXHelpIndex.h"
#include "help/QXHelpManager.h"
#include "platform/application/memory/MemoryActivation.h"
#include "support/LogCapture.h"
#include "support/TemporaryDefaults.h"
#include "support/TestProgram.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

namespace {

QXHelpAnchorRecord anchor(const QString& path, const QString& fragment, const QString& name,
                          std::optional<QString> category = std::nullopt)
{
    return {path, fragment, name, name, std::move(category)};
}

QXHelpPageRecord pageRecord(const QString& index, const QString& path, const QString& title,
                            QList<QXHelpAnchorRecord> anchors = {})
{
    QXHelpPageRecord record;
    record.index = index;
    record.path = path;
    record.title = title;
    record.anchors = std::move(anchors);
    return record;
}

// "Title" per item, "-" per separator, "Title>[...]" for a submenu.
QString outline(const QMenu& menu)
{
    QStringList items;
    for (QAction* action : menu.actions()) {
        if (action->isSeparator()) {
            items << QStringLiteral("-");
        } else if (action->menu()) {
            items << action->text() + u">[" + outline(*action->menu()) + u"]";
        } else {
            items << action->text();
        }
    }
    return items.join(u'|');
}

} // namespace

// The help window on a small help book: the Contents menu, the page header,
// the quick-access bar, highlighting and suggestions.
class HelpWindowTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_resources;
    platform::MemoryActivation* m_activation = nullptr;
    std::unique_ptr<QXHelpManager> m_manager;
    QList<QXHelpManager::Alert> m_alerts;

    void writePage(const QString& name, const QString& head, const QString& body)
    {
        QFile file(m_resources.filePath(QStringLiteral("Book/") + name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write((u"<html><head>" + head + u"</head><body>" + body + u"</body></html>").toUtf8());
    }

    std::unique_ptr<QXHelpManager> makeManager(const QString& folder)
    {
        auto manager = std::make_unique<QXHelpManager>(std::make_unique<QXHelpIndex>(
            QXHelpBookSource{folder, QString(), m_resources.path()}, QStringLiteral("Test Help")));
        manager->setAlertPresenterForTesting([this](const QXHelpManager::Alert& alert) {
            m_alerts << alert;
            return 0;
        });
        return manager;
    }

    QWidget* pageWidget() const { return m_manager->webView()->widget(); }

private Q_SLOTS:
    void initTestCase()
    {
        m_activation = new platform::MemoryActivation();
        platform::Activation::setCurrent(std::unique_ptr<platform::Activation>(m_activation));
        QVERIFY(QDir(m_resources.path()).mkpath(QStringLiteral("Book")));
        writePage(QStringLiteral("intro.html"),
                  QStringLiteral("<title>Introduction</title>"
                                 "<!--com.quirkworks.help.index[1]-->"
                                 "<!--com.quirkworks.help.quickaccess[Menus|hot keys]-->"),
                  QStringLiteral("<h1>Introduction</h1><p>Alpha words.</p>"
                                 "<a name=\"[Menus]Keyboard_Shortcuts\"></a><p>Shortcuts.</p>"
                                 "<a name=\"[hot keys]Recording\"></a><p>Recording.</p>"));
        writePage(QStringLiteral("setup.html"),
                  QStringLiteral("<title>Setting Up</title><!--com.quirkworks.help.index[2]-->"),
                  QStringLiteral("<p>Beta gamma.</p>"));
        writePage(QStringLiteral("more.html"),
                  QStringLiteral("<title>More</title><!--com.quirkworks.help.index[3]-->"),
                  QStringLiteral("<p>Delta.</p><p>Some more text, then beta.</p>"));
    }

    void init()
    {
        m_alerts.clear();
        m_manager = makeManager(QStringLiteral("Book"));
    }

    void cleanup() { m_manager.reset(); }

    void contentsMenu_data()
    {
        QTest::addColumn<QList<QXHelpPageRecord>>("pages");
        QTest::addColumn<bool>("submenus");
        QTest::addColumn<QString>("expected");

        const QList<QXHelpAnchorRecord> anchors{
            anchor("a.html", "Basics_", "Basics"),
            anchor("a.html", "[Menus]Keys", "Keys", QStringLiteral("Menus"))};
        QTest::newRow("no pages") << QList<QXHelpPageRecord>{} << true << QString();
        QTest::newRow("single page lists its anchors after a separator")
            << QList{pageRecord("1", "a.html", "A", anchors)} << false << "A|-|Basics|-|• Keys";
        QTest::newRow("single page ignores submenu mode")
            << QList{pageRecord("1", "a.html", "A", anchors)} << true << "A|-|Basics|-|• Keys";
        QTest::newRow("many pages: anchors bulleted below their page")
            << QList{pageRecord("1_", "a.html", "A", anchors), pageRecord("2", "b.html", "B")}
            << false << "A|• Basics|• Keys|-|B";
        QTest::newRow("many pages in submenu mode")
            << QList{pageRecord("1", "a.html", "A", anchors), pageRecord("2_", "b.html", "B"),
                     pageRecord("3", "c.html", "C")}
            << true << "A>[A|-|Basics|-|• Keys]|B|-|C";
    }

    void contentsMenu()
    {
        QFETCH(QList<QXHelpPageRecord>, pages);
        QFETCH(bool, submenus);
        QFETCH(QString, expected);
        QMenu menu;
        QXHelpManager::fillContentsMenu(menu, pages, submenus);
        QCOMPARE(outline(menu), expected);

        // Items open their page or anchor; only page items are ever marked.
        QXHelpManager::markCurrentPage(menu, QStringLiteral("b.html"));
        for (QAction* action : menu.actions()) {
            const QString target = action->data().toString();
            QCOMPARE(action->isChecked(), target == u"b.html");
            if (!action->isSeparator()) {
                QVERIFY(target.endsWith(u".html") || target.contains(u".html#"));
            }
        }
    }

    // Opening the first page builds header, bar and contents; the next page,
    // without categories, takes the bar away and gives its height back.
    void headerQuickAccessAndContents()
    {
        TemporaryDefaults defaults;
        QVERIFY(m_manager->openPage(QString()));
        QTRY_COMPARE(m_manager->currentRelativePath(), QStringLiteral("intro.html"));
        QXBrowserWindow* window = m_manager->window();
        QVERIFY(window->isVisible());
        QCOMPARE(window->windowTitle(), QStringLiteral("Test Help"));

        QCOMPARE(m_manager->pageTitleField()->text(), QStringLiteral("Introduction"));
        QVERIFY(m_manager->previousPageButton()->isHidden());
        QVERIFY(!m_manager->nextPageButton()->isHidden());
        QCOMPARE(m_manager->nextPageButton()->toolTip(), QStringLiteral("Setting Up"));

        QVERIFY(m_manager->quickAccessView());
        QStringList categories;
        for (QToolButton* button : m_manager->quickAccessView()->findChildren<QToolButton*>()) {
            categories << button->text() + u":" + outline(*button->menu());
        }
        QCOMPARE(categories, QStringList({"Menus:Keyboard Shortcuts", "Hot Keys:Recording"}));

        QVERIFY(m_manager->indexButton()->isEnabled());
        QCOMPARE(outline(*m_manager->contentsMenu()),
                 QStringLiteral("Introduction|• Keyboard Shortcuts|• Recording|Setting Up|More"));

        QTRY_VERIFY(pageWidget()->height() > 0);
        const int withBar = pageWidget()->height();
        m_manager->nextPageButton()->click();
        QTRY_COMPARE(m_manager->currentRelativePath(), QStringLiteral("setup.html"));
        QVERIFY(!m_manager->quickAccessView());
        QTRY_COMPARE(pageWidget()->height(), withBar + QXHelpManager::QuickAccessHeight);
        QVERIFY(!m_manager->previousPageButton()->isHidden());
        QCOMPARE(m_manager->pageTitleField()->text(), QStringLiteral("Setting Up"));

        // The window stays when closed; Help brings it back with its page.
        window->close();
        QVERIFY(!window->isVisible());
        m_manager->help();
        QCOMPARE(m_manager->window(), window);
        QVERIFY(window->isVisible());
        QCOMPARE(m_manager->currentRelativePath(), QStringLiteral("setup.html"));
    }

    void searchWordIsSelectedAfterLoading()
    {
        TemporaryDefaults defaults;
        QVERIFY(m_manager->openPageAtRelativePath(QStringLiteral("more.html"), {},
                                                  {QStringLiteral("BETA")}));
        QTRY_COMPARE(m_manager->currentRelativePath(), QStringLiteral("more.html"));
        QCOMPARE(m_manager->webView()->selectedText(), QStringLiteral("beta"));
        // The words are used once.
        QVERIFY(m_manager->openPageAtRelativePath(QStringLiteral("intro.html")));
        QCOMPARE(m_manager->webView()->selectedText(), QString());
    }

    // Choosing a suggestion for the page already shown selects the word at
    // once; the words never wait for the next page.
    void searchWordOnThePageShown()
    {
        TemporaryDefaults defaults;
        QVERIFY(m_manager->openPageAtRelativePath(QStringLiteral("more.html")));
        QTRY_COMPARE(m_manager->currentRelativePath(), QStringLiteral("more.html"));
        QCOMPARE(m_manager->webView()->selectedText(), QString());
        QVERIFY(m_manager->openPageAtRelativePath(QStringLiteral("more.html"), {},
                                                  {QStringLiteral("delta")}));
        QCOMPARE(m_manager->webView()->selectedText(), QStringLiteral("Delta"));

        QVERIFY(m_manager->openPageAtRelativePath(QStringLiteral("setup.html")));
        QCOMPARE(m_manager->webView()->selectedText(), QString());

        // A page that cannot be opened drops its words too: a link followed
        // afterwards selects nothing.
        QVERIFY(!m_manager->openPageAtRelativePath(QStringLiteral("missing.html"), {},
                                                   {QStringLiteral("delta")}));
        QVERIFY(m_manager->webView()->load(
            m_manager->index().urlForRelativePath(QStringLiteral("more.html"))));
        QTRY_COMPARE(m_manager->currentRelativePath(), QStringLiteral("more.html"));
        QCOMPARE(m_manager->webView()->selectedText(), QString());
    }

    void suggestions()
    {
        TemporaryDefaults defaults;
        QVERIFY(m_manager->openPageAtRelativePath(QStringLiteral("intro.html")));
        QTRY_COMPARE(m_manager->currentRelativePath(), QStringLiteral("intro.html"));
        QCOMPARE(m_manager->searchSuggestionsForQuery(QStringLiteral("beta")),
                 QStringList({"Setting Up", "More"}));

        // Choosing one opens it with the word selected.
        m_manager->showSearchField(true);
        m_manager->searchField()->setText(QStringLiteral("beta"));
        m_manager->selectSearchSuggestion(QStringLiteral("More"));
        QCOMPARE(m_manager->currentRelativePath(), QStringLiteral("more.html"));
        QCOMPARE(m_manager->webView()->selectedText(), QStringLiteral("beta"));
        // A query found on the page shown offers nothing else.
        QCOMPARE(m_manager->searchSuggestionsForQuery(QStringLiteral("beta")), QStringList());
    }

    void openingByPathAndFragment_data()
    {
        QTest::addColumn<QString>("request");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<QString>("fragment");
        QTest::newRow("path") << "setup.html" << true << "";
        QTest::newRow("bare #") << "setup.html#" << true << "";
        QTest::newRow("fragment") << "intro.html#Keyboard" << true << "Keyboard";
        QTest::newRow("split at the last #") << "intro.html#a#b" << false << "";
        QTest::newRow("empty") << "" << false << "";
        QTest::newRow("outside the book") << "../Book/setup.html" << false << "";
    }

    void openingByPathAndFragment()
    {
        QFETCH(QString, request);
        QFETCH(bool, opens);
        QFETCH(QString, fragment);
        TemporaryDefaults defaults;
        QVERIFY(m_manager->openPageAtRelativePath(QStringLiteral("more.html")));
        QTRY_VERIFY(m_manager->index().isReady());
        QCOMPARE(m_manager->openPageAtRelativePathWithFragment(request), opens);
        if (opens) {
            QCOMPARE(m_manager->webView()->url().fragment(), fragment);
            QCOMPARE(m_manager->currentRelativePath(), request.section(u'#', 0, 0));
        } else {
            QCOMPARE(m_manager->currentRelativePath(), QStringLiteral("more.html"));
        }
    }

    void unknownPageIsLoggedAndBeeps()
    {
        TemporaryDefaults defaults;
        QVERIFY(m_manager->openPage(QStringLiteral("setup")));
        QTRY_COMPARE(m_manager->currentRelativePath(), QStringLiteral("setup.html"));
        LogCapture log;
        const int beeps = m_activation->beeps;
        QVERIFY(!m_manager->openPage(QStringLiteral("nope"), {}, true));
        QCOMPARE(m_activation->beeps, beeps + 1);
        QCOMPARE(log.lines(), QStringList{QStringLiteral("cannot open help page: nope")});
        QCOMPARE(m_manager->currentRelativePath(), QStringLiteral("setup.html"));
    }

    void startupPageFromTheSettings()
    {
        TemporaryDefaults defaults;
        defaults.defaults().setObject(QStringLiteral("more.html#x"),
                                      QStringLiteral("QXHelpManager: Open Relative Path"));
        m_manager->openStartupPageIfRequested();
        QTRY_COMPARE(m_manager->currentRelativePath(), QStringLiteral("more.html"));
        QCOMPARE(m_manager->webView()->url().fragment(), QStringLiteral("x"));
    }

    void emptyHelpBookIsExplained()
    {
        TemporaryDefaults defaults;
        LogCapture log;
        m_manager = makeManager(QStringLiteral("Absent"));
        m_manager->help();
        QTRY_COMPARE(m_alerts.size(), 1);
        QCOMPARE(m_alerts.first().message, QStringLiteral("Help is not available"));
        QVERIFY(!m_manager->window());
        bool logged = false;
        for (const QString& line : log.lines()) {
            logged = logged || line.startsWith(u"help book unavailable");
        }
        QVERIFY(logged);
    }
};

TROVIX_TEST_MAIN(HelpWindowTest)
#include "help_window_test.moc"
