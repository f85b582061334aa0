// What the QMenu shown for a model menu holds, and how it follows the model,
// the modifier keys and the user's choice.
#include "platform/menus/Menu.h"
#include "platform/menus/MenuDelegate.h"
#include "platform/menus/qt/MenuPresenter.h"
#include "support/TestProgram.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <functional>

using platform::Menu;
using platform::MenuItem;
using platform::MenuPresenter;
namespace ModifierFlag = platform::ModifierFlag;

namespace {

// Fills its menu with three items when the menu is empty, and counts calls.
class CountingDelegate : public platform::MenuDelegate
{
public:
    void menuNeedsUpdate(Menu& menu) override
    {
        ++calls;
        if (menu.isEmpty()) {
            for (const char* title : {"One", "Two", "Three"}) {
                menu.addItem(QString::fromLatin1(title), QStringLiteral("pick:"), [](MenuItem&) {});
            }
        }
    }
    int calls = 0;
};

QStringList visibleTexts(const QMenu* menu)
{
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        if (action->isVisible()) {
            texts.append(action->isSeparator() ? QStringLiteral("-") : action->text());
        }
    }
    return texts;
}

// Runs steps once the presenter's menu is open (popUp() blocks until it
// closes). A QVERIFY or QCOMPARE that fails returns from steps before the
// keys that close the menu are sent: the menu is closed then, so that the
// test fails at once instead of waiting for keys that never come.
void whileOpen(MenuPresenter& presenter, const std::function<void()>& steps)
{
    QTimer::singleShot(0, presenter.qmenu(), [&presenter, steps] {
        steps();
        if (QTest::currentTestFailed()) {
            presenter.qmenu()->close();
        }
    });
}

QAction* actionTitled(const QMenu* menu, const QString& prefix)
{
    for (QAction* action : menu->actions()) {
        if (action->text().startsWith(prefix)) {
            return action;
        }
    }
    return nullptr;
}

// One key event as the window system delivers it (QTest would add presses
// and releases of the modifier keys themselves).
void sendKey(QWidget* widget, QEvent::Type type, int key, Qt::KeyboardModifiers held = {})
{
    QKeyEvent event(type, key, held);
    QApplication::sendEvent(widget, &event);
}

MenuItem* addItem(Menu& menu, const QString& title)
{
    return menu.addItem(title, QStringLiteral("act:"), [](MenuItem&) {});
}

QImage glyphImage(const QSize& points, qreal ratio)
{
    QImage image(points * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::black);
    return image;
}

} // namespace

class PresenterTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void actionsShowTheItems()
    {
        Menu menu(QStringLiteral("Test"));
        addItem(menu, QStringLiteral("New"))->setKeyEquivalent(QStringLiteral("n"));
        addItem(menu, QStringLiteral("Save As…"))->setKeyEquivalent(QStringLiteral("S"));
        addItem(menu, QStringLiteral("Fish & Chips"));
        addItem(menu, QStringLiteral("Hidden"))->setHidden(true);
        menu.addSeparator();
        menu.addItem(QStringLiteral("No action"));
        addItem(menu, QStringLiteral("On"))->setState(MenuItem::State::On);
        addItem(menu, QStringLiteral("Mixed"))->setState(MenuItem::State::Mixed);
        menu.addItem(QStringLiteral("Bold"))->setAttributedTitle(QStringLiteral("Bold"), {true, 0});
        menu.addItem(QStringLiteral("Sub"))->setSubmenu(std::make_unique<Menu>());

        MenuPresenter presenter(menu);
        const QMenu* qmenu = presenter.qmenu();
        QCOMPARE(visibleTexts(qmenu), QStringList({"New\t⌘N", "Save As…\t⇧⌘S", "Fish && Chips", "-",
                                                   "No action", "On", "Mixed", "Bold", "Sub"}));
        // Key equivalents are text only: no action ever becomes a shortcut.
        for (const QAction* action : qmenu->actions()) {
            QVERIFY(action->shortcut().isEmpty());
        }
        QVERIFY(!actionTitled(qmenu, "No action")->isEnabled());
        QVERIFY(actionTitled(qmenu, "New")->isEnabled());
        QVERIFY(actionTitled(qmenu, "Sub")->isEnabled());
        QVERIFY(QMenu::menuInAction(actionTitled(qmenu, "Sub")));

        const QAction* on = actionTitled(qmenu, "On");
        QVERIFY(on->isCheckable() && on->isChecked());
        const QAction* mixed = actionTitled(qmenu, "Mixed");
        QVERIFY(!mixed->isCheckable());
        QVERIFY(!mixed->icon().isNull());
        QVERIFY(!actionTitled(qmenu, "New")->isCheckable());
        QVERIFY(actionTitled(qmenu, "Bold")->font().bold());
        QVERIFY(!actionTitled(qmenu, "New")->font().bold());
    }

    void submenusFillOncePerOpening()
    {
        Menu menu;
        CountingDelegate rootDelegate;
        menu.setDelegate(&rootDelegate);
        CountingDelegate lazyDelegate;
        MenuItem* opener = menu.addItem(QStringLiteral("Lazy"));
        opener->setSubmenu(std::make_unique<Menu>());
        opener->submenu()->setDelegate(&lazyDelegate);

        MenuPresenter presenter(menu);
        QMenu* root = presenter.qmenu();
        QCOMPARE(rootDelegate.calls, 0); // nothing asked before the menu opens
        root->popup(QPoint(10, 10));
        QCOMPARE(rootDelegate.calls, 1);
        QMenu* lazy = QMenu::menuInAction(actionTitled(root, "Lazy"));
        QVERIFY(lazy);
        QCOMPARE(lazyDelegate.calls, 0);
        QVERIFY(lazy->actions().isEmpty());

        for (int opening = 1; opening <= 2; ++opening) {
            lazy->popup(QPoint(50, 10));
            QCOMPARE(lazyDelegate.calls, opening);
            QCOMPARE(visibleTexts(lazy), QStringList({"One", "Two", "Three"}));
            lazy->hide();
        }
        QCOMPARE(opener->submenu()->numberOfItems(), 3);
        root->hide();
    }

    void itemsAppendedWhileOpenAreShown()
    {
        // A delegate that goes on filling an open submenu (a long menu read
        // a screenful at a time) has what it appends shown, and only while
        // the submenu is open.
        Menu menu;
        CountingDelegate lazyDelegate;
        MenuItem* opener = menu.addItem(QStringLiteral("Lazy"));
        opener->setSubmenu(std::make_unique<Menu>());
        Menu& model = *opener->submenu();
        model.setDelegate(&lazyDelegate);
        MenuPresenter presenter(menu);
        QMenu* root = presenter.qmenu();
        root->popup(QPoint(10, 10));
        QMenu* lazy = QMenu::menuInAction(actionTitled(root, "Lazy"));
        QVERIFY(!model.isOpen());
        lazy->popup(QPoint(50, 10));
        QVERIFY(model.isOpen());
        const QSize before = lazy->size();
        model.addItem(QStringLiteral("Four"), QStringLiteral("pick:"), [](MenuItem&) {});
        model.addSeparator();
        const QString five = QStringLiteral("Five, with a title longer than any before it");
        model.addItem(five, QStringLiteral("pick:"), [](MenuItem&) {});
        model.itemsAppended();
        QCOMPARE(visibleTexts(lazy), QStringList({"One", "Two", "Three", "Four", "-", five}));
        // The open menu grows to hold what was appended, all at once.
        QVERIFY(lazy->height() > before.height());
        QVERIFY(lazy->width() > before.width());
        QCOMPARE(lazy->size(), lazy->sizeHint());
        // Each item is shown once, however often the delegate says so.
        model.itemsAppended();
        QCOMPARE(lazy->actions().size(), 6);
        lazy->hide();
        QVERIFY(!model.isOpen());
        model.addItem(QStringLiteral("Six"), QStringLiteral("pick:"), [](MenuItem&) {});
        model.itemsAppended();
        QCOMPARE(lazy->actions().size(), 6);
        lazy->popup(QPoint(50, 10));
        QCOMPARE(visibleTexts(lazy),
                 QStringList({"One", "Two", "Three", "Four", "-", five, "Six"}));
        lazy->hide();
        root->hide();
    }

    void alternatesSwapWhileModifiersAreHeld()
    {
        Menu menu;
        addItem(menu, QStringLiteral("Preferences..."));
        MenuItem* log = addItem(menu, QStringLiteral("Log"));
        log->setAlternate(true);
        log->setKeyEquivalentModifierMask(ModifierFlag::Option);
        MenuItem* more = menu.addItem(QStringLiteral("More"));
        more->setSubmenu(std::make_unique<Menu>());
        addItem(*more->submenu(), QStringLiteral("Close"))->setKeyEquivalent(QStringLiteral("w"));
        MenuItem* closeAll = addItem(*more->submenu(), QStringLiteral("Close All"));
        closeAll->setKeyEquivalent(QStringLiteral("w"));
        closeAll->setKeyEquivalentModifierMask(ModifierFlag::Command | ModifierFlag::Option);
        closeAll->setAlternate(true);

        MenuPresenter presenter(menu);
        QMenu* root = presenter.qmenu();
        root->popup(QPoint(10, 10));
        QCOMPARE(visibleTexts(root), QStringList({"Preferences...", "More"}));

        sendKey(root, QEvent::KeyPress, Qt::Key_Alt);
        QCOMPARE(presenter.heldModifiers(), ModifierFlag::Option);
        QCOMPARE(visibleTexts(root), QStringList({"Log", "More"}));
        sendKey(root, QEvent::KeyRelease, Qt::Key_Alt, Qt::AltModifier);
        QCOMPARE(visibleTexts(root), QStringList({"Preferences...", "More"}));

        // Keys pressed in a submenu reach every open menu of the tree.
        QMenu* submenu = QMenu::menuInAction(actionTitled(root, "More"));
        submenu->popup(QPoint(60, 10));
        QCOMPARE(visibleTexts(submenu), QStringList({"Close\t⌘W"}));
        sendKey(submenu, QEvent::KeyPress, Qt::Key_Meta);
        sendKey(submenu, QEvent::KeyPress, Qt::Key_Alt, Qt::MetaModifier);
        QCOMPARE(visibleTexts(submenu), QStringList({"Close All\t⌥⌘W"}));
        QCOMPARE(visibleTexts(root), QStringList({"Log", "More"}));
        sendKey(submenu, QEvent::KeyRelease, Qt::Key_Meta, Qt::MetaModifier | Qt::AltModifier);
        // Option alone is what "Close All" adds to "Close".
        QCOMPARE(visibleTexts(submenu), QStringList({"Close All\t⌥⌘W"}));
        sendKey(submenu, QEvent::KeyRelease, Qt::Key_Alt, Qt::AltModifier);
        QCOMPARE(visibleTexts(submenu), QStringList({"Close\t⌘W"}));
        QCOMPARE(visibleTexts(root), QStringList({"Preferences...", "More"}));
        submenu->hide();
        root->hide();
    }

    void fontSizeAppearanceAndTemplateImages()
    {
        Menu menu;
        menu.setFontPointSize(30);
        menu.setAppearance(Menu::Appearance::Dark);
        menu.addItem(QStringLiteral("Title"))
            ->setAttributedTitle(QStringLiteral("Title"), {true, 0});
        MenuItem* program = menu.addItem(QStringLiteral("Trovix"));
        program->setSubmenu(std::make_unique<Menu>());
        program->setImage(glyphImage(QSize(30, 37), 2.0), true);
        addItem(*program->submenu(), QStringLiteral("About"));

        MenuPresenter presenter(menu);
        QMenu* root = presenter.qmenu();
        QCOMPARE(root->font().pixelSize(), 30);
        QCOMPARE(actionTitled(root, "Title")->font().pixelSize(), 30);
        QVERIFY(actionTitled(root, "Title")->font().bold());
        const QColor text = root->palette().color(QPalette::Text);
        QVERIFY(text.lightness() > 200); // dark appearance: light text

        // The template image is drawn in the menu's text colour, at the
        // image's own size rather than the style's small icons.
        const QAction* programAction = actionTitled(root, "Trovix");
        const QImage icon = programAction->icon().pixmap(QSize(37, 37), 1.0).toImage();
        QCOMPARE(icon.pixelColor(icon.width() / 2, icon.height() / 2).rgb(), text.rgb());
        QVERIFY(root->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, root) >= 37);

        // Submenus share the font and the colours.
        QMenu* submenu = QMenu::menuInAction(programAction);
        submenu->popup(QPoint(10, 10));
        QCOMPARE(submenu->font().pixelSize(), 30);
        QCOMPARE(submenu->palette().color(QPalette::Text), text);
        submenu->hide();

        // Back to the standard font and the desktop's colours.
        menu.setFontPointSize(0);
        menu.setAppearance(Menu::Appearance::System);
        program->setImage({});
        presenter.rebuild();
        QCOMPARE(root->font(), QApplication::font(root));
        QCOMPARE(root->palette().color(QPalette::Text),
                 QApplication::palette(root).color(QPalette::Text));
        QCOMPARE(root->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, root),
                 QApplication::style()->pixelMetric(QStyle::PM_SmallIconSize));
        // Long menus scroll in one column rather than spreading off screen.
        QVERIFY(root->style()->styleHint(QStyle::SH_Menu_Scrollable, nullptr, root));
    }

    void popUpAnswersTheChosenItem()
    {
        Menu menu;
        menu.addItem(QStringLiteral("Disabled"));
        int runs = 0;
        menu.addItem(QStringLiteral("Run"), QStringLiteral("run:"), [&runs](MenuItem&) { ++runs; });
        MenuPresenter presenter(menu);

        whileOpen(presenter, [] {
            QWidget* popup = QApplication::activePopupWidget();
            QVERIFY(popup);
            QTest::keyClick(popup, Qt::Key_Down);
            QTest::keyClick(popup, Qt::Key_Return);
        });
        const std::shared_ptr<MenuItem> chosen = presenter.popUp(QPoint(20, 20));
        QVERIFY(chosen);
        QCOMPARE(chosen->title(), QStringLiteral("Run"));
        QCOMPARE(runs, 1);

        whileOpen(presenter, [&presenter] { QTest::keyClick(presenter.qmenu(), Qt::Key_Escape); });
        QCOMPARE(presenter.popUp(QPoint(20, 20)), nullptr);
        QCOMPARE(runs, 1);
    }

    // Typing hands the keys to the window the handler opens; keys that still
    // reach the menu, even while the handler runs, follow in order; Space,
    // Control and Alt keep their menu meaning.
    void typingHandsTheKeysOver()
    {
        Menu menu;
        addItem(menu, QStringLiteral("Open"));
        MenuPresenter presenter(menu);
        std::unique_ptr<QWidget> window;
        QLineEdit* field = nullptr;
        int handled = 0;
        presenter.setTypingHandler([&](const QString& text) -> QWidget* {
            ++handled;
            // A key that arrives while the handler still works.
            QTest::keyClick(presenter.qmenu(), Qt::Key_B, Qt::NoModifier);
            window = std::make_unique<QWidget>(nullptr, Qt::Popup);
            field = new QLineEdit(text, window.get());
            window->show();
            field->setFocus();
            return window.get();
        });
        whileOpen(presenter, [&] {
            QMenu* qmenu = presenter.qmenu();
            QTest::keyClick(qmenu, Qt::Key_Space);
            QTest::keyClick(qmenu, Qt::Key_S, Qt::ControlModifier);
            QCOMPARE(handled, 0);
            QTest::keyClicks(qmenu, QStringLiteral("a"));
            QCOMPARE(handled, 1);
            // Keys that still reach the menu go on to the field.
            QTest::keyClicks(qmenu, QStringLiteral("cd"));
        });
        QCOMPARE(presenter.popUp(QPoint(20, 20)), nullptr);
        QCOMPARE(handled, 1);
        QVERIFY(field);
        QCOMPARE(field->text(), QStringLiteral("abcd"));
        QVERIFY(!presenter.qmenu()->isVisible());
    }

    // Going back from a pop-up window (a search) to the menu: that window
    // stays until the menu is open, and the keys it kept come first.
    void menuTakesOverFromAPredecessor_data()
    {
        QTest::addColumn<QList<int>>("kept");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("typed");
        QTest::newRow("kept keys choose an item")
            << QList<int>{Qt::Key_Down, Qt::Key_Down, Qt::Key_Return} << "Save" << QString();
        QTest::newRow("a kept Escape closes the menu at once")
            << QList<int>{Qt::Key_Escape, Qt::Key_Down} << QString() << QString();
        QTest::newRow("kept typing hands over again")
            << QList<int>{Qt::Key_Down, Qt::Key_X, Qt::Key_Y} << QString() << "xy";
    }

    void menuTakesOverFromAPredecessor()
    {
        QFETCH(QList<int>, kept);
        QFETCH(QString, chosen);
        QFETCH(QString, typed);
        Menu menu;
        addItem(menu, QStringLiteral("Open"));
        addItem(menu, QStringLiteral("Save"));
        MenuPresenter presenter(menu);
        std::unique_ptr<QWidget> successor;
        QLineEdit* field = nullptr;
        presenter.setTypingHandler([&](const QString& text) -> QWidget* {
            successor = std::make_unique<QWidget>(nullptr, Qt::Popup);
            field = new QLineEdit(text, successor.get());
            successor->show();
            field->setFocus();
            return successor.get();
        });
        QWidget predecessor(nullptr, Qt::Popup);
        predecessor.show();
        bool menuOpenWhenAsked = false;
        MenuPresenter::Predecessor handOver{
            &predecessor, [&] {
                menuOpenWhenAsked = presenter.qmenu()->isVisible();
                std::vector<std::unique_ptr<QKeyEvent>> keys;
                for (int key : kept) {
                    const QString text = key == Qt::Key_X ? "x" : key == Qt::Key_Y ? "y" : "";
                    keys.push_back(
                        std::make_unique<QKeyEvent>(QEvent::KeyPress, key, Qt::NoModifier, text));
                }
                return keys;
            }};
        // Whatever the keys did, the menu ends within the test's time.
        QTimer::singleShot(2000, presenter.qmenu(), &QMenu::close);
        const std::shared_ptr<MenuItem> item = presenter.popUp(QPoint(20, 20), handOver);
        QVERIFY(menuOpenWhenAsked);
        QCOMPARE(item ? item->title() : QString(), chosen);
        QVERIFY(!predecessor.isVisible());
        QVERIFY(!presenter.qmenu()->isVisible());
        QCOMPARE(field ? field->text() : QString(), typed);
    }

    void itemsRemovedWhileShownAreIgnored()
    {
        Menu menu;
        int runs = 0;
        menu.addItem(QStringLiteral("Run"), QStringLiteral("run:"), [&runs](MenuItem&) { ++runs; });
        MenuItem* sub = menu.addItem(QStringLiteral("Sub"));
        sub->setSubmenu(std::make_unique<Menu>());
        addItem(*sub->submenu(), QStringLiteral("Inner"));

        MenuPresenter presenter(menu);
        QMenu* root = presenter.qmenu();
        QAction* run = actionTitled(root, "Run");
        QMenu* submenu = QMenu::menuInAction(actionTitled(root, "Sub"));
        menu.removeAllItems();

        run->trigger();
        QCOMPARE(runs, 0);
        submenu->popup(QPoint(10, 10));
        QVERIFY(submenu->actions().isEmpty());
        submenu->hide();
        presenter.rebuild();
        QVERIFY(root->actions().isEmpty());
    }

    void menuBarShowsTheTopLevel()
    {
        Menu mainMenu;
        for (const char* title : {"Trovix", "Edit"}) {
            MenuItem* item = mainMenu.addItem(QString::fromLatin1(title));
            item->setSubmenu(std::make_unique<Menu>(QString::fromLatin1(title)));
            addItem(*item->submenu(), QStringLiteral("Item"));
        }
        QMenuBar bar;
        MenuPresenter presenter(mainMenu);
        presenter.showInMenuBar(&bar);
        QStringList titles;
        for (const QAction* action : bar.actions()) {
            titles.append(action->text());
            QVERIFY(QMenu::menuInAction(action));
        }
        QCOMPARE(titles, QStringList({"Trovix", "Edit"}));

        mainMenu.removeItemAtIndex(1);
        presenter.rebuild();
        QCOMPARE(bar.actions().size(), 1);
    }
};

TROVIX_TEST_MAIN(PresenterTest)
#include "presenter_test.moc"
