#include "platform/menus/qt/MenuPresenter.h"

#include "platform/log/SystemLog.h"
#include "platform/menus/KeyEquivalentText.h"
#include "platform/menus/qt/GrowingMenu.h"
#include "platform/menus/qt/MenuIcons.h"
#include "platform/menus/qt/MenuPalette.h"
#include "platform/menus/qt/MenuStyle.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QWindow>
#include <QtMath>
#include <algorithm>
#include <functional>
#include <utility>

namespace platform {

namespace {

// The action text: the title with '&' escaped (no mnemonics) and the key
// equivalent after a tab, which QMenu shows in its shortcut column.
QString actionText(const MenuItem& item)
{
    QString title = item.title();
    title.replace(u'&', QStringLiteral("&&"));
    title.replace(u'\t', u' ');
    const QString keyText =
        KeyEquivalentText::displayText(item.keyEquivalent(), item.keyEquivalentModifierMask());
    return keyText.isEmpty() ? title : title + u'\t' + keyText;
}

QString menuTitle(const Menu& menu)
{
    QString title = menu.title();
    return title.replace(u'&', QStringLiteral("&&"));
}

// The flag a modifier key adds while it is held, or 0 for other keys.
ModifierFlags flagOfModifierKey(int key)
{
    switch (key) {
    case Qt::Key_Shift:
        return ModifierFlag::Shift;
    case Qt::Key_Control:
        return ModifierFlag::Control;
    case Qt::Key_Alt:
        return ModifierFlag::Option;
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
        return ModifierFlag::Command;
    default:
        return 0;
    }
}

// Gives the keyboard and pointer grabs to a pop-up window, then calls then.
// A window can take them only once it is mapped, and the X server may refuse
// them for a moment more: this tries every few milliseconds until the window
// holds both. Whatever held the grabs keeps them meanwhile, so no key reaches
// another application. After five seconds, or when the window is gone, then
// runs all the same, and the failure is logged.
void moveGrabsTo(QObject* context, std::function<QWindow*()> window, std::function<void()> then)
{
    auto* poll = new QTimer(context);
    poll->setInterval(5);
    const QDeadlineTimer deadline(5000);
    QObject::connect(poll, &QTimer::timeout, context,
                     [poll, deadline, window = std::move(window), then = std::move(then)] {
                         QWindow* shown = window();
                         // Only the X server has grabs to move (tests run without one).
                         static const bool grabs = QGuiApplication::platformName() == u"xcb";
                         const bool taken = shown && shown->isVisible() && shown->isExposed() &&
                                            (!grabs || (shown->setKeyboardGrabEnabled(true) &&
                                                        shown->setMouseGrabEnabled(true)));
                         if (!taken && shown && shown->isVisible() && !deadline.hasExpired()) {
                             return;
                         }
                         poll->stop();
                         poll->deleteLater();
                         if (!taken && shown && shown->isVisible()) {
                             systemLog(
                                 QStringLiteral("the pop-up window %1 could not take the keyboard")
                                     .arg(shown->title()));
                         }
                         then();
                     });
    poll->start();
}

// The size in points of the larger side of an image.
int imageExtent(const QImage& image)
{
    if (image.isNull()) {
        return 0;
    }
    const QSizeF size = image.deviceIndependentSize();
    return qCeil(qMax(size.width(), size.height()));
}

// The mixed-state mark grows with the menu's font, like the check mark.
int mixedMarkExtent(const QMenu* qmenu)
{
    const int smallIconSize = QApplication::style()->pixelMetric(QStyle::PM_SmallIconSize);
    return qMax(smallIconSize, qRound(QFontMetrics(qmenu->font()).height() * 0.75));
}

} // namespace

MenuPresenter::MenuPresenter(Menu& menu, QObject* parent)
    : QObject(parent), m_model(menu), m_style(MenuStyle::shared()),
      m_root(std::make_unique<GrowingMenu>())
{
    m_root->installEventFilter(this);
    connect(m_root.get(), &QMenu::aboutToShow, this, &MenuPresenter::prepareRoot);
    fill(m_root.get(), m_model);
}

MenuPresenter::~MenuPresenter()
{
    // The menus go first: they may still use the large-icon style.
    m_actions.clear();
    m_root.reset();
}

ModifierFlags MenuPresenter::modifierFlags(Qt::KeyboardModifiers modifiers)
{
    ModifierFlags flags = 0;
    if (modifiers & Qt::ShiftModifier) {
        flags |= ModifierFlag::Shift;
    }
    if (modifiers & Qt::ControlModifier) {
        flags |= ModifierFlag::Control;
    }
    if (modifiers & Qt::AltModifier) {
        flags |= ModifierFlag::Option;
    }
    if (modifiers & Qt::MetaModifier) {
        flags |= ModifierFlag::Command;
    }
    return flags;
}

void MenuPresenter::showInMenuBar(QMenuBar* menuBar)
{
    m_menuBar = menuBar;
    rebuild();
}

void MenuPresenter::rebuild()
{
    fill(m_root.get(), m_model);
    syncMenuBar();
}

std::shared_ptr<MenuItem> MenuPresenter::popUp(const QPoint& globalPosition,
                                               Predecessor predecessor)
{
    m_chosen.reset();
    m_successor = nullptr;
    m_handingOver = false;
    m_keysForSuccessor.clear();
    m_poppingUp = true;
    // QMenu::exec() in two steps, so that the predecessor's keys are handled
    // as soon as the menu is open and before any key that comes later.
    QEventLoop loop;
    connect(m_root.get(), &QMenu::aboutToHide, &loop, &QEventLoop::quit);
    m_root->popup(globalPosition);
    if (predecessor.window) {
        if (predecessor.keptKeys) {
            for (const std::unique_ptr<QKeyEvent>& key : predecessor.keptKeys()) {
                sendToOpenMenu(key.get(), predecessor.window);
            }
        }
        takeOverWhenShown(predecessor.window);
    }
    if (m_root->isVisible()) {
        loop.exec();
    }
    disconnect(m_root.get(), &QMenu::aboutToHide, &loop, &QEventLoop::quit);
    if (predecessor.window) {
        predecessor.window->hide();
    }
    m_poppingUp = false;
    return std::exchange(m_chosen, nullptr);
}

void MenuPresenter::sendToOpenMenu(QKeyEvent* key, const QWidget* predecessor)
{
    // As Qt does with a key typed while pop-ups are open: it goes to the
    // newest one, which is a submenu when one is open, or the window a key
    // before handed the typing over to. Once the menu has closed, the keys
    // left have nowhere to go.
    QWidget* popup = QApplication::activePopupWidget();
    if (!popup || popup == predecessor) {
        return;
    }
    QCoreApplication::sendEvent(popup->focusWidget() ? popup->focusWidget() : popup, key);
}

void MenuPresenter::takeOverWhenShown(QWidget* predecessor)
{
    QPointer<QWidget> window = predecessor;
    moveGrabsTo(
        this, [this] { return m_root->isVisible() ? m_root->windowHandle() : nullptr; },
        [window] {
            if (window) {
                window->hide();
            }
        });
}

void MenuPresenter::prepareRoot()
{
    m_heldModifiers = modifierFlags(QGuiApplication::queryKeyboardModifiers());
    m_model.update();
    fill(m_root.get(), m_model);
    syncMenuBar();
}

void MenuPresenter::syncMenuBar()
{
    if (!m_menuBar) {
        return;
    }
    m_menuBar->clear();
    m_menuBar->addActions(m_root->actions());
}

void MenuPresenter::clear(QMenu* qmenu)
{
    const QList<QAction*> actions = qmenu->actions();
    for (QAction* action : actions) {
        m_actions.remove(action);
        qmenu->removeAction(action);
        if (QMenu* submenu = QMenu::menuInAction(action); submenu && submenu->parent() == qmenu) {
            clear(submenu);
            submenu->hide();
            submenu->deleteLater();
        } else if (action->parent() == qmenu) {
            action->deleteLater();
        }
    }
}

void MenuPresenter::fill(QMenu* qmenu, Menu& menu)
{
    clear(qmenu);
    if (qmenu == m_root.get()) {
        // A submenu's title is the text of the item that opens it.
        qmenu->setTitle(menuTitle(menu));
    }

    const int points = menu.effectiveFontPointSize();
    if (points > 0) {
        // A point of a menu font is a device-independent pixel, as on the
        // desktops where menu font sizes were first chosen.
        QFont font = QApplication::font(qmenu);
        font.setPixelSize(points);
        qmenu->setFont(font);
    } else {
        qmenu->setFont(QFont());
    }
    qmenu->setPalette(MenuPalette::forAppearance(menu.effectiveAppearance()));

    fitIcons(qmenu, addItems(qmenu, menu, 0));
    showAlternates(qmenu);
}

int MenuPresenter::addItems(QMenu* qmenu, Menu& menu, qsizetype from)
{
    // The items may change while we walk them (an image rendering that asks
    // back, say): walk a snapshot.
    const std::vector<std::shared_ptr<MenuItem>> items = menu.items();
    m_presentedItems.insert(qmenu, qsizetype(items.size()));
    int iconExtent = 0;
    for (size_t i = size_t(std::max<qsizetype>(from, 0)); i < items.size(); ++i) {
        const std::shared_ptr<MenuItem>& item = items[i];
        if (item->isHidden()) {
            continue;
        }
        if (item->isSeparatorItem()) {
            qmenu->addSeparator();
            continue;
        }
        QAction* action = nullptr;
        if (item->hasSubmenu()) {
            action = createSubmenu(qmenu, item)->menuAction();
        } else {
            action = new QAction(qmenu);
        }
        qmenu->addAction(action);
        configureAction(action, *item, qmenu);
        iconExtent =
            qMax(iconExtent, item->state() == MenuItem::State::Mixed ? mixedMarkExtent(qmenu)
                                                                     : imageExtent(item->image()));

        const qsizetype index = static_cast<qsizetype>(i);
        const qsizetype primary = menu.indexOfPrimaryForItemAtIndex(index);
        const MenuItem* primaryItem = menu.itemAtIndex(primary);
        m_actions.insert(action, {item, qmenu, primary >= 0 ? primary : index, primary >= 0,
                                  item->keyEquivalentModifierMask(),
                                  primaryItem ? primaryItem->keyEquivalentModifierMask() : 0});
        connect(action, &QAction::triggered, this,
                [this, weakItem = std::weak_ptr<MenuItem>(item)] { choose(weakItem); });
    }
    return iconExtent;
}

void MenuPresenter::appendItems(QMenu* qmenu, Menu& menu)
{
    const int previous = qmenu->property(MenuStyle::iconExtentProperty).toInt();
    int iconExtent = 0;
    // Every menu the presenter makes is a GrowingMenu.
    static_cast<GrowingMenu*>(qmenu)->append(
        [&] { iconExtent = addItems(qmenu, menu, m_presentedItems.value(qmenu, 0)); });
    if (iconExtent > previous) {
        fitIcons(qmenu, iconExtent);
    }
    showAlternates(qmenu);
    // The menu grows with every item; one that outgrows the screen while
    // open is kept within it and scrolls, as one that opened that tall does.
    if (qmenu->isVisible() && qmenu->screen()) {
        const QRect available = qmenu->screen()->availableGeometry();
        QRect frame = qmenu->geometry();
        if (frame.bottom() > available.bottom()) {
            frame.setBottom(available.bottom());
            qmenu->setGeometry(frame);
        }
    }
}

void MenuPresenter::fitIcons(QMenu* qmenu, int iconExtent)
{
    // Images drawn for a large font are larger than the style's small icons:
    // let the menu's icon column grow with them.
    const int smallIconSize = QApplication::style()->pixelMetric(QStyle::PM_SmallIconSize);
    qmenu->setProperty(MenuStyle::iconExtentProperty, iconExtent > smallIconSize ? iconExtent : 0);
    if (qmenu->style() != m_style) {
        qmenu->setStyle(m_style);
    }
}

QMenu* MenuPresenter::createSubmenu(QMenu* parent, const std::shared_ptr<MenuItem>& item)
{
    auto* submenu = new GrowingMenu(parent);
    submenu->installEventFilter(this);
    connect(submenu, &QMenu::aboutToShow, this,
            [this, submenu, weakItem = std::weak_ptr<MenuItem>(item)] {
                const QWidget* opener = submenu->parentWidget();
                if (!opener || !opener->isVisible()) {
                    // Opened from a menu bar rather than from an open menu,
                    // which would have seen the modifier keys.
                    m_heldModifiers = modifierFlags(QGuiApplication::queryKeyboardModifiers());
                }
                const std::shared_ptr<MenuItem> owner = weakItem.lock();
                if (owner && owner->submenu()) {
                    // Items the delegate goes on appending while the menu
                    // is open are added to it as they come.
                    owner->submenu()->setItemsAppendedHandler([self = QPointer<MenuPresenter>(this),
                                                               menu = QPointer<QMenu>(submenu),
                                                               weakItem] {
                        const std::shared_ptr<MenuItem> shown = weakItem.lock();
                        if (self && menu && shown && shown->submenu()) {
                            self->appendItems(menu, *shown->submenu());
                        }
                    });
                    owner->submenu()->update();
                }
                // The update may have dropped the submenu, or the item.
                if (owner && owner->submenu() && owner->menu()) {
                    fill(submenu, *owner->submenu());
                } else {
                    clear(submenu);
                }
            });
    connect(submenu, &QMenu::aboutToHide, this, [weakItem = std::weak_ptr<MenuItem>(item)] {
        const std::shared_ptr<MenuItem> owner = weakItem.lock();
        if (owner && owner->submenu()) {
            owner->submenu()->setItemsAppendedHandler({});
        }
    });
    connect(submenu, &QObject::destroyed, this,
            [this, submenu] { m_presentedItems.remove(submenu); });
    return submenu;
}

void MenuPresenter::configureAction(QAction* action, const MenuItem& item, const QMenu* qmenu) const
{
    action->setText(actionText(item));
    if (item.hasAttributedTitle()) {
        const MenuItem::TitleAttributes attributes = item.titleAttributes();
        QFont font = qmenu->font();
        font.setBold(attributes.bold);
        if (attributes.pointSize > 0) {
            font.setPixelSize(attributes.pointSize);
        }
        action->setFont(font);
    }
    action->setEnabled(item.isEnabled());
    action->setMenuRole(QAction::NoRole);
    action->setIconVisibleInMenu(true);

    const bool on = item.state() == MenuItem::State::On;
    action->setCheckable(on);
    action->setChecked(on);
    if (item.state() == MenuItem::State::Mixed) {
        action->setIcon(MenuIcons::mixedStateIcon(qmenu->palette(), mixedMarkExtent(qmenu),
                                                  qmenu->devicePixelRatioF()));
    } else if (!item.image().isNull()) {
        action->setIcon(MenuIcons::icon(item.image(), item.imageIsTemplate(), qmenu->palette()));
    }
}

void MenuPresenter::showAlternates(QMenu* qmenu)
{
    QAction* const active = qmenu->activeAction();
    const QList<QAction*> actions = qmenu->actions();

    // For each group (a primary with its alternates), the first alternate
    // that matches the held modifiers, if any.
    QHash<qsizetype, QAction*> chosen;
    for (QAction* action : actions) {
        const auto info = m_actions.constFind(action);
        if (info == m_actions.cend() || !info->alternate || chosen.contains(info->group)) {
            continue;
        }
        if (Menu::alternateMatches(info->mask, info->primaryMask, m_heldModifiers)) {
            chosen.insert(info->group, action);
        }
    }
    for (QAction* action : actions) {
        const auto info = m_actions.constFind(action);
        if (info == m_actions.cend()) {
            continue;
        }
        const auto choice = chosen.constFind(info->group);
        action->setVisible(choice != chosen.cend() ? *choice == action : !info->alternate);
    }

    // Keep the highlight in place when the highlighted item was swapped.
    if (active && !active->isVisible()) {
        const auto info = m_actions.constFind(active);
        for (QAction* action : actions) {
            const auto other = m_actions.constFind(action);
            if (info != m_actions.cend() && other != m_actions.cend() &&
                other->group == info->group && action->isVisible()) {
                qmenu->setActiveAction(action);
                break;
            }
        }
    }
}

void MenuPresenter::setHeldModifiers(ModifierFlags modifiers)
{
    modifiers &= ModifierFlag::StandardModifiersMask;
    if (modifiers == m_heldModifiers) {
        return;
    }
    m_heldModifiers = modifiers;
    showAlternates(m_root.get());
    const QList<QMenu*> submenus = m_root->findChildren<QMenu*>();
    for (QMenu* submenu : submenus) {
        showAlternates(submenu);
    }
}

bool MenuPresenter::closeOnTyping(const QKeyEvent& event)
{
    if (m_handingOver) {
        // Keys that still reach a menu belong to the window that took over;
        // those that come before it exists (while the handler lets the event
        // loop turn) wait for it.
        m_keysForSuccessor.push_back(
            std::make_unique<QKeyEvent>(event.type(), event.key(), event.modifiers(), event.text(),
                                        event.isAutoRepeat(), quint16(event.count())));
        if (m_successor) {
            passKeysToSuccessor();
        }
        return true;
    }
    if (event.type() != QEvent::KeyPress || !m_typingHandler || !m_poppingUp ||
        (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        return false;
    }
    const QString text = event.text();
    if (text.isEmpty() || !std::all_of(text.cbegin(), text.cend(), [](QChar character) {
            return character.isPrint() && !character.isSpace();
        })) {
        return false;
    }
    m_handingOver = true;
    m_successor = m_typingHandler(text);
    passKeysToSuccessor();
    handOverWhenShown();
    return true;
}

void MenuPresenter::passKeysToSuccessor()
{
    std::vector<std::unique_ptr<QKeyEvent>> keys = std::exchange(m_keysForSuccessor, {});
    if (!m_successor) {
        return;
    }
    for (const std::unique_ptr<QKeyEvent>& key : keys) {
        QWidget* target =
            m_successor->focusWidget() ? m_successor->focusWidget() : m_successor.data();
        QCoreApplication::sendEvent(target, key.get());
    }
}

void MenuPresenter::handOverWhenShown()
{
    // Until the new window is mapped it cannot take the keyboard; the menu
    // keeps it meanwhile. The grab moves over before the menu closes: a
    // menu that closed first would leave a moment in which keys reach the
    // application in front.
    moveGrabsTo(
        this, [this] { return m_successor ? m_successor->windowHandle() : nullptr; },
        [this] {
            // Keys the X server sent to the menu before the grab moved may
            // still wait to be handled. Handled now, they go to the new
            // window, the newest pop-up; once the menu has closed, its
            // window is gone, and so would be any key still addressed to it.
            QCoreApplication::processEvents();
            // Closing the top menu closes every open submenu and ends popUp().
            m_root->close();
        });
}

bool MenuPresenter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease && chooseItemWithSubmenu(watched, event)) {
        return true;
    }
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) {
        return QObject::eventFilter(watched, event);
    }
    const auto* keyEvent = static_cast<QKeyEvent*>(event);
    if (closeOnTyping(*keyEvent)) {
        return true;
    }
    const ModifierFlags flag = flagOfModifierKey(keyEvent->key());
    if (flag == 0) {
        return QObject::eventFilter(watched, event);
    }
    // The event's modifiers are those held before it; add or drop its own key.
    ModifierFlags held = modifierFlags(keyEvent->modifiers());
    if (event->type() == QEvent::KeyPress) {
        held |= flag;
    } else {
        held &= ~flag;
    }
    setHeldModifiers(held);
    // Modifier keys alone do nothing else in a menu (some styles close a menu
    // on Alt, which is the key that shows alternates).
    return true;
}

bool MenuPresenter::chooseItemWithSubmenu(QObject* watched, QEvent* event)
{
    // QMenu only opens the submenu of an item that is clicked; an item with
    // both a submenu and an action (an application in a menu of
    // applications) runs its action, as it would without the submenu.
    auto* qmenu = qobject_cast<QMenu*>(watched);
    if (!qmenu) {
        return false;
    }
    QAction* action = qmenu->actionAt(static_cast<QMouseEvent*>(event)->position().toPoint());
    const auto info = m_actions.constFind(action);
    if (!action || !action->menu() || !action->isEnabled() || info == m_actions.cend()) {
        return false;
    }
    const std::shared_ptr<MenuItem> item = info->item.lock();
    if (!item || !item->hasAction()) {
        return false;
    }
    m_root->hide();
    choose(item);
    return true;
}

void MenuPresenter::choose(const std::weak_ptr<MenuItem>& item)
{
    if (const std::shared_ptr<MenuItem> chosen = item.lock()) {
        if (m_poppingUp) {
            m_chosen = chosen;
        }
        chosen->performAction();
    }
}

} // namespace platform
