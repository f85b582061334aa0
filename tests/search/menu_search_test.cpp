#include "platform/accessibility/memory/MemoryAccessibility.h"
#include "search/MenuSearchModel.h"
#include "search/MenuSearchPopup.h"
#include "search/SearchHistory.h"
#include "support/AccessibleNames.h"
#include "support/TestProgram.h"

#include <QApplication>
#include <QCursor>
#include <QKeySequence>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using platform::MenuTree;
using platform::MenuTreeItem;
using platform::MenuTreeRead;

namespace {

// A read whose batches the test hands in, as a backend would deliver them.
class ScriptedRead : public MenuTreeRead
{
public:
    void deliver(const QList<MenuTreeItem>& items) { addItems(items); }
    void end(bool complete) { finish(MenuTree::Source::ItemByItem, complete); }
};

MenuTreeItem item(const QString& path, bool enabled = true, const QString& mark = {},
                  bool hidden = false)
{
    MenuTreeItem result;
    result.path = path.split(QStringLiteral(" > "));
    result.enabled = enabled;
    result.mark = mark;
    result.hidden = hidden;
    return result;
}

QStringList shownPaths(const MenuSearchModel& model)
{
    QStringList paths;
    for (const MenuSearchModel::Result& result : model.results()) {
        paths.append(result.displayPath);
    }
    return paths;
}

// Adds an application fed by a scripted read; answers the read.
ScriptedRead* addScripted(MenuSearchModel& model, qint64 pid, const QString& name)
{
    auto read = std::make_unique<ScriptedRead>();
    ScriptedRead* scripted = read.get();
    model.addApplication(pid, name, std::move(read));
    return scripted;
}

// The outcome of a search the test has typed into; it waits only for a
// search that is still open, which it closes then (Outcome::Closed), so that
// a key that failed to end the search fails the test instead of hanging it.
MenuSearchPopup::Outcome outcomeOf(MenuSearchPopup& popup)
{
    QTimer closer;
    closer.setSingleShot(true);
    QObject::connect(&closer, &QTimer::timeout, &popup, &QWidget::hide);
    closer.start(0);
    return popup.wait();
}

} // namespace

// The search an open pop-up turns into: results that grow while menus are
// read, what it says about applications that stop answering, and the keys
// of the search window.
class MenuSearchTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        platform::Accessibility::setCurrent(std::make_unique<platform::MemoryAccessibility>());
        QVERIFY(m_state.isValid());
        m_history =
            std::make_unique<SearchHistory>(m_state.filePath(QStringLiteral("history.json")));
    }

    void resultsGrowAsMenusArrive()
    {
        MenuSearchModel model(m_history.get());
        int keyReads = 0;
        model.setKeyEquivalentReader([&keyReads](const platform::AccessibilityElement&) {
            ++keyReads;
            return QStringLiteral("⌃S");
        });
        ScriptedRead* read = addScripted(model, 10, QStringLiteral("Editor"));
        model.setQuery(QStringLiteral("save"));
        QVERIFY(model.results().isEmpty());
        QVERIFY(model.isReading());

        read->deliver({item(QStringLiteral("File > Save")),
                       item(QStringLiteral("File > Secret Save"), true, {}, true)});
        QCOMPARE(shownPaths(model), QStringList{QStringLiteral("File › Save")});
        QCOMPARE(model.results().constFirst().keyEquivalent, QStringLiteral("⌃S"));

        // A later menu joins the ranking; typing on narrows over all of it.
        read->deliver({item(QStringLiteral("Edit > Save Selection As")),
                       item(QStringLiteral("View > Zoom"))});
        QCOMPARE(shownPaths(model), (QStringList{QStringLiteral("File › Save"),
                                                 QStringLiteral("Edit › Save Selection As")}));
        model.setQuery(QStringLiteral("save sel"));
        QCOMPARE(shownPaths(model), QStringList{QStringLiteral("Edit › Save Selection As")});
        // Key equivalents are read once per item, only for items offered.
        QCOMPARE(keyReads, 2);

        read->end(true);
        QVERIFY(!model.isReading());
        QVERIFY(model.stalledApplications().isEmpty());
        QVERIFY(!model.coversSeveralApplications());
    }

    void stalledApplicationsAreNamedAndNotAskedAgain()
    {
        MenuSearchModel model(m_history.get());
        QStringList keysReadFor;
        model.setKeyEquivalentReader([&](const platform::AccessibilityElement&) {
            keysReadFor.append(QStringLiteral("read"));
            return QString();
        });
        ScriptedRead* hanging = addScripted(model, 20, QStringLiteral("Hangs"));
        ScriptedRead* fine = addScripted(model, 21, QStringLiteral("Fine"));
        hanging->deliver({item(QStringLiteral("File > Print"))});
        hanging->end(false);
        fine->deliver({item(QStringLiteral("File > Print Preview"))});
        fine->end(true);
        model.setQuery(QStringLiteral("print"));
        QCOMPARE(model.results().size(), 2);
        QCOMPARE(model.stalledApplications(), QStringList{QStringLiteral("Hangs")});
        QVERIFY(model.coversSeveralApplications());
        // Only the application that answers is asked for key equivalents.
        QCOMPARE(keysReadFor.size(), 1);
    }

    void pressedItemsComeFirstNextTime()
    {
        {
            MenuSearchModel model(m_history.get());
            ScriptedRead* read = addScripted(model, 30, QStringLiteral("Editor"));
            read->deliver({item(QStringLiteral("File > Print")),
                           item(QStringLiteral("File > Page Setup > Printer"))});
            model.setQuery(QStringLiteral("print"));
            QCOMPARE(model.results().constFirst().displayPath, QStringLiteral("File › Print"));
            model.recordPress(model.results().at(1));
        }
        SearchHistory reloaded(m_state.filePath(QStringLiteral("history.json")));
        QVERIFY(reloaded.load());
        MenuSearchModel model(&reloaded);
        ScriptedRead* read = addScripted(model, 31, QStringLiteral("Editor"));
        read->deliver({item(QStringLiteral("File > Print")),
                       item(QStringLiteral("File > Page Setup > Printer"))});
        model.setQuery(QStringLiteral("print"));
        QCOMPARE(model.results().constFirst().displayPath,
                 QStringLiteral("File › Page Setup › Printer"));
    }

    void unruleyTitlesAreShownOnOneLine()
    {
        MenuSearchModel model(m_history.get());
        ScriptedRead* read = addScripted(model, 40, QStringLiteral("Odd"));
        read->deliver({item(QStringLiteral("File > Line\nbreak\tand\x1b escape")),
                       item(QStringLiteral("File > ") + QString(10000, u'w'))});
        model.setQuery(QStringLiteral("line"));
        QCOMPARE(shownPaths(model), QStringList{QStringLiteral("File › Line break and escape")});
        model.setQuery(QStringLiteral("www"));
        QCOMPARE(model.results().size(), 1);
        QVERIFY(model.results().constFirst().displayPath.size() < 300);
    }

    void keysOfTheSearchWindow_data()
    {
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("chosen");
        // Keys typed after going back, before the menu is there again: the
        // search keeps them for the menu instead of handling them.
        QTest::addColumn<QString>("keptForMenu");
        using Outcome = MenuSearchPopup::Outcome;
        // "save" matches Save (first), Save All (disabled), Save As.
        QTest::newRow("Return chooses the first")
            << QStringList{"Return"} << int(Outcome::Chosen) << "File › Save" << QString();
        QTest::newRow("Down skips the disabled match")
            << QStringList{"Down", "Return"} << int(Outcome::Chosen) << "File › Save As"
            << QString();
        QTest::newRow("Up wraps to the last")
            << QStringList{"Up", "Return"} << int(Outcome::Chosen) << "File › Save As" << QString();
        QTest::newRow("Escape goes back, keys typed then wait for the menu")
            << QStringList{"Escape", "Down", "Return", "x"} << int(Outcome::BackToMenu) << QString()
            << "Down Return x";
        QTest::newRow("erasing goes back")
            << QStringList{"Backspace", "Backspace", "Backspace", "Backspace", "Backspace"}
            << int(Outcome::BackToMenu) << QString() << "Backspace";
        QTest::newRow("text without match, Return does nothing")
            << QStringList{"x", "Return", "Escape"} << int(Outcome::BackToMenu) << QString()
            << QString();
    }

    void keysOfTheSearchWindow()
    {
        QFETCH(QStringList, keys);
        QFETCH(int, outcome);
        QFETCH(QString, chosen);
        QFETCH(QString, keptForMenu);
        MenuSearchModel model(m_history.get());
        ScriptedRead* read = addScripted(model, 50, QStringLiteral("Editor"));
        read->deliver({item(QStringLiteral("File > Save")),
                       item(QStringLiteral("File > Save All"), false),
                       item(QStringLiteral("File > Save As"), true, QStringLiteral("✓"))});
        read->end(true);
        MenuSearchPopup popup(model, platform::Menu::Appearance::System, 0);
        popup.open(QPoint(10, 10), QStringLiteral("save"));
        QLineEdit* field = popup.findChild<QLineEdit*>();
        for (const QString& key : keys) {
            if (key.size() == 1) {
                QTest::keyClicks(field, key);
            } else {
                QTest::keyClick(field, key == QStringLiteral("Return")   ? Qt::Key_Return
                                       : key == QStringLiteral("Down")   ? Qt::Key_Down
                                       : key == QStringLiteral("Up")     ? Qt::Key_Up
                                       : key == QStringLiteral("Escape") ? Qt::Key_Escape
                                                                         : Qt::Key_Backspace);
            }
        }
        const MenuSearchPopup::Outcome result = outcomeOf(popup);
        QCOMPARE(int(result), outcome);
        QCOMPARE(popup.chosen() ? popup.chosen()->displayPath : QString(), chosen);
        // Going back leaves the search on screen, holding the keyboard, until
        // the menu takes its place.
        QCOMPARE(popup.isVisible(), result == MenuSearchPopup::Outcome::BackToMenu);
        QStringList kept;
        for (const std::unique_ptr<QKeyEvent>& key : popup.takeKeysForMenu()) {
            if (key->type() == QEvent::KeyPress) {
                kept.append(key->text().isEmpty() || !key->text().at(0).isPrint()
                                ? QKeySequence(key->key()).toString()
                                : key->text());
            }
        }
        QCOMPARE(kept.join(u' '), keptForMenu);
        QVERIFY(popup.takeKeysForMenu().empty());
    }

    // The text and Return typed in one go reach the search before any menu
    // is read: Return then chooses the best match once reading ends, unless
    // a later key changed the text or the selection.
    void returnTypedAheadWaitsForTheMenus_data()
    {
        QTest::addColumn<QStringList>("keysAfterReturn");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("Return alone") << QStringList{} << "Edit › Redo";
        QTest::newRow("typing after Return") << QStringList{"x"} << QString();
        QTest::newRow("moving after Return") << QStringList{"Down"} << QString();
    }

    void returnTypedAheadWaitsForTheMenus()
    {
        QFETCH(QStringList, keysAfterReturn);
        QFETCH(QString, chosen);
        MenuSearchModel model(m_history.get());
        // The reads are added a moment after the search opens.
        model.setAwaitingApplications(true);
        MenuSearchPopup popup(model, platform::Menu::Appearance::System, 0);
        popup.open(QPoint(10, 10), QStringLiteral("redo"));
        QLineEdit* field = popup.findChild<QLineEdit*>();
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(popup.statusText(), QStringLiteral("Reading menus…"));
        for (const QString& key : keysAfterReturn) {
            if (key == QStringLiteral("Down")) {
                QTest::keyClick(field, Qt::Key_Down);
            } else {
                QTest::keyClicks(field, key);
            }
        }
        ScriptedRead* read = addScripted(model, 70, QStringLiteral("Editor"));
        model.setAwaitingApplications(false);
        read->deliver(
            {item(QStringLiteral("Edit > Redo")), item(QStringLiteral("Edit > Redo All"))});
        QVERIFY(popup.isVisible());
        QVERIFY(!popup.chosen());
        read->end(true);
        if (!popup.chosen()) {
            QVERIFY(popup.isVisible());
            QTest::keyClick(field, Qt::Key_Escape);
        }
        const MenuSearchPopup::Outcome outcome = outcomeOf(popup);
        QCOMPARE(popup.chosen() ? popup.chosen()->displayPath : QString(), chosen);
        QCOMPARE(outcome, chosen.isEmpty() ? MenuSearchPopup::Outcome::BackToMenu
                                           : MenuSearchPopup::Outcome::Chosen);
    }

    // Typing selects the best match each time; a result the user moved to
    // stays selected while more menus arrive, until the text changes.
    void theBestMatchIsSelectedUntilTheUserMoves()
    {
        MenuSearchModel model(m_history.get());
        ScriptedRead* read = addScripted(model, 80, QStringLiteral("Fixture"));
        read->deliver({item(QStringLiteral("File > Save As")),
                       item(QStringLiteral("Fixture > About Fixture")),
                       item(QStringLiteral("Edit > Select All")),
                       item(QStringLiteral("Help > About"))});
        MenuSearchPopup popup(model, platform::Menu::Appearance::System, 0);
        popup.open(QPoint(10, 10), QStringLiteral("a"));
        QLineEdit* field = popup.findChild<QLineEdit*>();
        const QListWidget* list = popup.findChild<QListWidget*>();
        for (const QChar typed : QStringLiteral("bout")) {
            QTest::keyClicks(field, QString(typed));
            QCOMPARE(popup.currentRow(), 0);
        }
        QCOMPARE(list->item(0)->text(), QStringLiteral("Help › About"));
        QTest::keyClick(field, Qt::Key_Down);
        const QString moved = list->currentItem()->text();
        QCOMPARE(moved, QStringLiteral("Fixture › About Fixture"));
        // A better match arrives: the result the user moved to stays.
        read->deliver({item(QStringLiteral("About"))});
        QCOMPARE(list->currentItem()->text(), moved);
        QCOMPARE(list->item(0)->text(), QStringLiteral("About"));
        read->end(true);
        QTest::keyClick(field, Qt::Key_Backspace);
        QCOMPARE(popup.currentRow(), 0);
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(outcomeOf(popup), MenuSearchPopup::Outcome::Chosen);
        QCOMPARE(popup.chosen()->displayPath, QStringLiteral("About"));
    }

    // The search window opens under a pointer that rests: the row under it
    // is not selected until the pointer really moves.
    void aRestingPointerSelectsNothing()
    {
        MenuSearchModel model(m_history.get());
        ScriptedRead* read = addScripted(model, 81, QStringLiteral("Fixture"));
        read->deliver({item(QStringLiteral("Help > About")),
                       item(QStringLiteral("Fixture > About Fixture"))});
        read->end(true);
        QCursor::setPos(40, 40);
        const QPoint resting = QCursor::pos();
        MenuSearchPopup popup(model, platform::Menu::Appearance::System, 0);
        popup.open(QPoint(10, 10), QStringLiteral("about"));
        auto* list = popup.findChild<QListWidget*>();
        QCOMPARE(popup.currentRow(), 0);
        const QPoint secondRow = list->visualItemRect(list->item(1)).center();

        // What the window system reports as the window appears under the
        // pointer: a move to where the pointer already was.
        const auto moveTo = [list](const QPoint& local, const QPoint& global) {
            QMouseEvent move(QEvent::MouseMove, local, global, Qt::NoButton, Qt::NoButton,
                             Qt::NoModifier);
            QApplication::sendEvent(list->viewport(), &move);
        };
        moveTo(secondRow, resting);
        QCOMPARE(popup.currentRow(), 0);
        // A real move selects the row under the pointer.
        moveTo(secondRow, resting + QPoint(0, 3));
        QCOMPARE(popup.currentRow(), 1);
        popup.hide();
    }

    void theSearchWindowCanBeRead()
    {
        MenuSearchModel model(m_history.get());
        ScriptedRead* read = addScripted(model, 60, QStringLiteral("Editor"));
        read->deliver({item(QStringLiteral("View > Wrap Lines"), true, QStringLiteral("✓")),
                       item(QStringLiteral("View > Wrap Words"), false)});
        MenuSearchPopup popup(model, platform::Menu::Appearance::Dark, 14);
        popup.open(QPoint(10, 10), QStringLiteral("wrap"));
        // Still reading: the status line says so.
        QCOMPARE(popup.statusText(), QStringLiteral("Reading menus…"));
        QVERIFY(!popup.accessibleName().isEmpty());
        QCOMPARE(unnamedControls(&popup), QStringList());
        const QListWidget* list = popup.findChild<QListWidget*>();
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->item(0)->data(Qt::AccessibleTextRole).toString(),
                 QStringLiteral("View › Wrap Lines, checked"));
        QCOMPARE(list->item(1)->data(Qt::AccessibleTextRole).toString(),
                 QStringLiteral("View › Wrap Words, dimmed"));
        read->end(false);
        QCOMPARE(popup.statusText(),
                 QStringLiteral("Editor stopped answering; only what was read is searched."));
        QTest::keyClicks(popup.findChild<QLineEdit*>(), QStringLiteral("zzz"));
        QCOMPARE(popup.statusText(),
                 QStringLiteral("No menu item matches “wrapzzz”.\nEditor stopped answering; "
                                "only what was read is searched."));
        // A click elsewhere closes it.
        popup.hide();
        QCOMPARE(popup.wait(), MenuSearchPopup::Outcome::Closed);
    }

private:
    QTemporaryDir m_state;
    std::unique_ptr<SearchHistory> m_history;
};

TROVIX_TEST_MAIN(MenuSearchTest)
#include "menu_search_test.moc"
