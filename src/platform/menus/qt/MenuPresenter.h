#pragma once

#include "platform/input/ModifierFlags.h"
#include "platform/menus/Menu.h"

#include <QHash>
#include <QKeyEvent>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QEvent;
class QMenu;
class QMenuBar;
class QStyle;
class QWidget;

namespace platform {

// Shows a model Menu as a QMenu: the only code that touches QMenu.
//
// The QMenu is rebuilt from the model each time it is about to show, after the
// model's delegate has updated it and its items have been validated; a
// submenu the same way when it is about to open, so delegates fill submenus
// lazily. Alternates take their primaries' places while their modifiers are
// held, live while the menu is open. Key equivalents are shown as text in the
// shortcut column and never act as shortcuts. Choosing an item runs its
// action.
//
// The model menu must outlive the presenter. Items may be removed or the menu
// rebuilt at any time, even while it is open: the presenter only keeps weak
// references to items.
class MenuPresenter : public QObject
{
    Q_OBJECT

public:
    explicit MenuPresenter(Menu& menu, QObject* parent = nullptr);
    ~MenuPresenter() override;

    Menu& model() const { return m_model; }

    // The QMenu that shows the model, owned by the presenter; give it to a
    // tray icon as its context menu.
    QMenu* qmenu() const { return m_root.get(); }

    // Shows the model's top-level items in menuBar, each opening its
    // submenu; kept in step whenever the model's top level is rebuilt here.
    void showInMenuBar(QMenuBar* menuBar);

    // Rebuilds the QMenu (and the menu bar) from the model now, without
    // asking the delegate.
    void rebuild();

    // A pop-up window the menu opens in place of, such as a search the user
    // left to go back to the menu. It holds the keyboard and pointer until
    // the menu is on screen and takes them; keptKeys answers the keys it
    // kept for the menu meanwhile, asked once the menu is open.
    struct Predecessor
    {
        QPointer<QWidget> window;
        std::function<std::vector<std::unique_ptr<QKeyEvent>>()> keptKeys;
    };

    // Pops the menu up with its top-left corner at globalPosition and blocks
    // until it closes. Answers the item chosen (its action has run), or none.
    // With a predecessor, that window closes as soon as the menu holds the
    // keyboard and pointer, so no key typed meanwhile reaches another
    // application, and the menu handles the keys it kept before any other.
    std::shared_ptr<MenuItem> popUp(const QPoint& globalPosition, Predecessor predecessor = {});

    // With a handler, typing a printable character into the open menu calls
    // it with the text; the handler answers the pop-up window it opened to
    // take the typing over (or none). The menu closes as soon as that window
    // is on screen and holds the keyboard and pointer, so no key typed
    // meanwhile reaches another application; keys that still arrive at the
    // menu go to the new window. popUp() then answers none.
    // Space keeps its menu meaning, and keys with Control, Alt or Super held
    // never count.
    using TypingHandler = std::function<QWidget*(const QString& text)>;
    void setTypingHandler(TypingHandler handler) { m_typingHandler = std::move(handler); }

    // The modifier flags the presenter takes as held while a menu is open.
    ModifierFlags heldModifiers() const { return m_heldModifiers; }

    // The event modifier flags for Qt's keyboard modifiers (Alt is Option,
    // Meta is Command).
    static ModifierFlags modifierFlags(Qt::KeyboardModifiers modifiers);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct ActionInfo
    {
        std::weak_ptr<MenuItem> item;
        QMenu* menu = nullptr;
        qsizetype group = -1;
        bool alternate = false;
        ModifierFlags mask = 0;
        ModifierFlags primaryMask = 0;
    };

    void prepareRoot();
    void fill(QMenu* qmenu, Menu& menu);
    // Adds the model's items from index on to the end of qmenu (those a
    // delegate appended while it is open); answers the widest image.
    int addItems(QMenu* qmenu, Menu& menu, qsizetype from);
    void appendItems(QMenu* qmenu, Menu& menu);
    void fitIcons(QMenu* qmenu, int iconExtent);
    void clear(QMenu* qmenu);
    QMenu* createSubmenu(QMenu* parent, const std::shared_ptr<MenuItem>& item);
    void configureAction(QAction* action, const MenuItem& item, const QMenu* qmenu) const;
    void showAlternates(QMenu* qmenu);
    void setHeldModifiers(ModifierFlags modifiers);
    void choose(const std::weak_ptr<MenuItem>& item);
    bool chooseItemWithSubmenu(QObject* watched, QEvent* event);
    bool closeOnTyping(const QKeyEvent& event);
    void handOverWhenShown();
    void passKeysToSuccessor();
    void takeOverWhenShown(QWidget* predecessor);
    void sendToOpenMenu(QKeyEvent* key, const QWidget* predecessor);
    void syncMenuBar();

    Menu& m_model;
    // The style of every menu shown (see MenuStyle).
    QStyle* m_style = nullptr;
    std::unique_ptr<QMenu> m_root;
    QPointer<QMenuBar> m_menuBar;
    QHash<const QAction*, ActionInfo> m_actions;
    // How many of its model's items each QMenu shows or skipped so far.
    QHash<const QMenu*, qsizetype> m_presentedItems;
    ModifierFlags m_heldModifiers = 0;
    bool m_poppingUp = false;
    TypingHandler m_typingHandler;
    // The window that took the typing over.
    QPointer<QWidget> m_successor;
    bool m_handingOver = false;
    std::vector<std::unique_ptr<QKeyEvent>> m_keysForSuccessor;
    std::shared_ptr<MenuItem> m_chosen;
};

} // namespace platform
