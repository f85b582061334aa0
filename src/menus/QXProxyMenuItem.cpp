#include "menus/QXProxyMenuItem.h"

#include "foundation/QXCSVParser.h"
#include "foundation/QXExtension.h"
#include "foundation/QXRunningApplication.h"
#include "menus/QXAccessibility.h"
#include "menus/QXSharedMenuFontSize.h"
#include "menus/QXSubmenuFill.h"
#include "menus/QXSystemMenuLogo.h"
#include "platform/accessibility/AccessibilityNames.h"
#include "platform/accessibility/MenuWalkLimits.h"
#include "platform/defaults/UserDefaults.h"
#include "platform/log/SystemLog.h"
#include "platform/menus/KeyEquivalentText.h"
#include "platform/menus/Menu.h"
#include "platform/workspace/Workspace.h"

#include <QCoreApplication>
#include <QTimer>
#include <climits>

namespace ax = platform::accessibility;
using platform::AccessibilityElement;
using platform::Menu;
using platform::MenuItem;
namespace ModifierFlag = platform::ModifierFlag;

namespace {

// Bit of "AXMenuItemCmdModifiers" for key equivalents shown as circled
// letters.
constexpr int CircledLetterModifierBit = 16;

const QString PressElementAction = QStringLiteral("pressElement:");

// The menu-building preferences, refreshed at the start of every pop-up.
struct Preferences
{
    std::optional<QSet<QString>> blacklist;
    bool includeDisabledItems = true;
    bool includeHiddenItems = true;
    bool alternatesStayAlternates = true;
    bool showKeyEquivalents = false;
};

Preferences& preferences()
{
    static Preferences state;
    return state;
}

platform::UserDefaults& defaults()
{
    return platform::UserDefaults::standard();
}

QVariant attribute(const AccessibilityElement& element, QLatin1StringView name)
{
    return QXCopyAttribute(element, QString(name)).value_or(QVariant());
}

QString stringAttribute(const AccessibilityElement& element, QLatin1StringView name)
{
    const QVariant value = attribute(element, name);
    return value.canConvert<QString>() ? value.toString() : QString();
}

// The key character of a foreign item: its command character, else the label
// of its virtual key.
QString keyCharacter(const AccessibilityElement& element)
{
    const QString character = stringAttribute(element, ax::CmdCharAttribute);
    if (!character.isEmpty()) {
        return character;
    }
    bool ok = false;
    const qint64 keyCode = attribute(element, ax::CmdVirtualKeyAttribute).toLongLong(&ok);
    if (!ok || (keyCode & 0xFFFF) == 0) {
        return {};
    }
    return QXExtension::stringRepresentingKeyCode(static_cast<quint16>(keyCode & 0xFFFF), true)
        .value_or(QString());
}

// The modifier mask of "AXMenuItemCmdModifiers" (absent reads as 0: Command
// alone); adjusts the key character for Shift and circled letters.
platform::ModifierFlags modifierMask(const AccessibilityElement& element, QString& key)
{
    const qint64 modifiers = attribute(element, ax::CmdModifiersAttribute).toLongLong();
    platform::ModifierFlags mask = 0;
    if (modifiers & ax::ShiftModifierBit) {
        mask |= ModifierFlag::Shift;
    } else if (key.size() == 1) {
        // Only a character has a case; a key name ("F1") stays as it is.
        key = key.toLower();
    }
    if (modifiers & ax::OptionModifierBit) {
        mask |= ModifierFlag::Option;
    }
    if (modifiers & ax::ControlModifierBit) {
        mask |= ModifierFlag::Control;
    }
    if (!(modifiers & ax::NoCommandModifierBit)) {
        mask |= ModifierFlag::Command;
    }
    if (modifiers & CircledLetterModifierBit) {
        const char16_t letter = key.size() == 1 ? key.at(0).toLower().unicode() : 0;
        if (letter >= u'a' && letter <= u'z') {
            key = QString(QChar(static_cast<char16_t>(0x24B6 + (letter - u'a'))));
        } else {
            key.clear();
            mask = 0;
        }
    }
    return mask;
}

} // namespace

// The submenus being built at once, from the one whose fill started them
// down to the one being filled: how deep they are and which were entered.
struct QXProxyMenuItem::SubmenuWalk
{
    SubmenuWalk() : outer(currentWalk) { currentWalk = this; }
    ~SubmenuWalk() { currentWalk = outer; }
    SubmenuWalk(const SubmenuWalk&) = delete;
    SubmenuWalk& operator=(const SubmenuWalk&) = delete;

    // One submenu deeper while it lives.
    struct Level
    {
        explicit Level(SubmenuWalk& walk) : walk(walk) { ++walk.depth; }
        ~Level() { --walk.depth; }
        Level(const Level&) = delete;
        Level& operator=(const Level&) = delete;
        SubmenuWalk& walk;
    };

    SubmenuWalk* outer;
    int depth = 0;
    platform::MenuWalkLimits limits;
};

QXProxyMenuItem::SubmenuWalk* QXProxyMenuItem::currentWalk = nullptr;

// Class-wide preferences ------------------------------------------------------

void QXProxyMenuItem::updatePreferences()
{
    Preferences& state = preferences();
    state.blacklist.reset();
    const std::optional<QStringList> entries =
        QXArrayFromCSVString(defaults().stringForKey(QStringLiteral("Blacklist")));
    if (entries && !entries->isEmpty()) {
        QSet<QString> blacklist;
        for (const QString& entry : *entries) {
            blacklist.insert(entry.toLower());
        }
        state.blacklist = std::move(blacklist);
    }
    state.includeDisabledItems = !defaults().boolForKey(QStringLiteral("Skip Disabled Menu Items"));
    state.includeHiddenItems = !defaults().boolForKey(QStringLiteral("Skip Hidden Menu Items"));
    state.alternatesStayAlternates = !defaults().boolForKey(QStringLiteral("Promote Alternates"));
    state.showKeyEquivalents = defaults().boolForKey(QStringLiteral("Show Key Equivalents"));
}

bool QXProxyMenuItem::isBlacklistedMenuItemTitle(const QString& title)
{
    const Preferences& state = preferences();
    if (title.isEmpty() || !state.blacklist) {
        return false;
    }
    return state.blacklist->contains(title.toLower());
}

// Building ------------------------------------------------------------------------

void QXProxyMenuItem::addMenuItemWithUIElement(const AccessibilityElement& element, Menu& menu,
                                               qint64 tag, bool canPress,
                                               const FastTrack& fastTrack)
{
    const QString title = stringAttribute(element, ax::TitleAttribute);
    if (title.isEmpty()) {
        menu.addSeparatorIfNecessary();
        return;
    }

    bool canHide = false;
    FastTrack itemFastTrack;
    if (tag == MaxTag) {
        // A menu without delegate is being built at once: everything below
        // it is built at once too. A lazy one keeps its children lazy.
        canHide = true;
        itemFastTrack = menu.delegate() ? FastTrack() : FastTrack(QStringList());
    } else {
        if (isBlacklistedMenuItemTitle(title)) {
            return;
        }
        itemFastTrack = fastTrack;
    }

    const std::shared_ptr<QXProxyMenuItem> item =
        initWithUIElement(element, title, canPress, canHide, itemFastTrack);

    if (item->elementIsAlternate()) {
        // The primary shows again when its alternate follows it, even when it
        // had no position.
        const auto& items = menu.items();
        for (auto it = items.rbegin(); it != items.rend(); ++it) {
            auto* proxy = dynamic_cast<QXProxyMenuItem*>(it->get());
            if (!proxy) {
                break;
            }
            if (!proxy->elementIsAlternate()) {
                if (proxy->isHidden()) {
                    proxy->setHidden(false);
                }
                break;
            }
        }
    }

    if (!preferences().includeDisabledItems && !item->hasAction() && !item->hasSubmenu()) {
        return;
    }

    if (tag == 1) {
        item->setAttributedTitle(title, {true, QXSharedMenuFontSize::value()});
    } else if (tag == 0 && QXMenuItemImagesEnabled()) {
        const QXSystemMenuLogo::Logo logo = QXSystemMenuLogo::logo();
        if (!logo.image.isNull()) {
            item->setImage(logo.image, logo.isTemplate);
        }
    }
    item->setTag(tag);
    menu.addItem(item);
}

QString QXProxyMenuItem::keyEquivalentDisplayText(const AccessibilityElement& element)
{
    QString key = keyCharacter(element);
    if (key.isEmpty()) {
        return key;
    }
    const platform::ModifierFlags mask = modifierMask(element, key);
    return platform::KeyEquivalentText::displayText(key, mask);
}

std::shared_ptr<QXProxyMenuItem>
QXProxyMenuItem::initWithUIElement(const AccessibilityElement& element, const QString& title,
                                   bool canPress, bool canHide, const FastTrack& fastTrack)
{
    const Preferences& state = preferences();
    QString key;
    std::optional<platform::ModifierFlags> mask;
    if (state.showKeyEquivalents || state.alternatesStayAlternates) {
        if (state.showKeyEquivalents) {
            key = keyCharacter(element);
        }
        mask = modifierMask(element, key);
    }
    auto item = std::make_shared<QXProxyMenuItem>(title, key);
    item->initialise(element, canPress, canHide, fastTrack, mask);
    return item;
}

QXProxyMenuItem::QXProxyMenuItem(const QString& title, const QString& keyEquivalent)
    : MenuItem(title, keyEquivalent)
{}

QXProxyMenuItem::~QXProxyMenuItem() = default;

void QXProxyMenuItem::initialise(const AccessibilityElement& element, bool canPress, bool canHide,
                                 const FastTrack& fastTrack,
                                 std::optional<platform::ModifierFlags> mask)
{
    const Preferences& state = preferences();
    m_element = element;

    // A disabled foreign item gets neither submenu nor action, so it shows
    // disabled.
    if (attribute(element, ax::EnabledAttribute).toBool()) {
        const platform::AccessibilityElementList children =
            platform::accessibilityElementListFromVariant(
                attribute(element, ax::ChildrenAttribute));
        for (const AccessibilityElement& child : children) {
            if (stringAttribute(child, ax::RoleAttribute) == ax::MenuRole) {
                m_submenuElement = child;
                break;
            }
        }
        if (!m_submenuElement.isNull()) {
            auto submenu = std::make_unique<Menu>(title());
            const bool buildNow =
                fastTrack && (fastTrack->isEmpty() || fastTrack->contains(title().toLower()));
            if (buildNow) {
                menuNeedsUpdate(*submenu);
            } else {
                submenu->setDelegate(this);
            }
            setSubmenu(std::move(submenu));
        }
        // A menu-bar item only opens its submenu. One without a submenu is
        // a menu whose application publishes the entries only while it is
        // open, or a command placed in the menu bar itself: pressing it
        // opens that menu, or runs the command, in the application.
        if (canPress || m_submenuElement.isNull()) {
            setAction(PressElementAction,
                      [](MenuItem& item) { static_cast<QXProxyMenuItem&>(item).pressElement(); });
        }
    }

    const QString mark = stringAttribute(element, ax::MarkCharAttribute);
    if (!mark.isEmpty()) {
        if (mark.at(0) == QChar(ax::CheckedMark)) {
            setState(State::On);
        } else if (mark.at(0) == QChar(ax::MixedMark)) {
            setState(State::Mixed);
        }
    }

    bool hidden = false;
    if (canHide) {
        const std::optional<QVariant> position =
            QXCopyAttribute(element, QString(ax::PositionAttribute));
        hidden = !position || !position->isValid();
    }

    const AccessibilityElement primary = platform::accessibilityElementFromVariant(
        attribute(element, ax::PrimaryUIElementAttribute));
    if (!primary.isNull() && !(primary == element)) {
        m_elementIsAlternate = true;
        hidden = false;
    }

    if (hidden && !state.includeHiddenItems) {
        setHidden(true);
    }
    if (mask) {
        setKeyEquivalentModifierMask(*mask);
    }
    if (m_elementIsAlternate && mask && *mask != 0 && state.alternatesStayAlternates) {
        // A disabled primary is not in the menu when disabled items are
        // skipped: the alternate then stands alone.
        if (state.includeDisabledItems || attribute(primary, ax::EnabledAttribute).toBool()) {
            setAlternate(true);
        }
    }
}

void QXProxyMenuItem::menuNeedsUpdate(Menu& menu)
{
    if (m_submenuElement.isNull() || !menu.isEmpty()) {
        return;
    }
    // A submenu built at once within another goes on with that build's walk;
    // any other fill starts one at the depth of this item, knowing the
    // submenus above it.
    std::optional<SubmenuWalk> ownWalk;
    if (!currentWalk) {
        ownWalk.emplace();
        for (MenuItem* above = parentItem(); above; above = above->parentItem()) {
            ++ownWalk->depth;
            if (const auto* proxy = dynamic_cast<QXProxyMenuItem*>(above)) {
                ownWalk->limits.markWalked(proxy->submenuElement());
            }
        }
    }
    SubmenuWalk& walk = *currentWalk;
    const SubmenuWalk::Level level(walk);
    if (walk.limits.enter(m_submenuElement, walk.depth)) {
        fillSubmenu(menu);
    }
    if (menu.isEmpty()) {
        menu.addItem(QCoreApplication::translate("Trovix", "Empty"));
    }
}

void QXProxyMenuItem::fillSubmenu(Menu& menu)
{
    m_fill = std::make_unique<QXSubmenuFill>(m_submenuElement, menu);
    m_fill->start();
}

bool QXProxyMenuItem::menuHasKeyEquivalent(Menu& menu, const QString& key,
                                           platform::ModifierFlags modifiers)
{
    Q_UNUSED(menu);
    Q_UNUSED(key);
    Q_UNUSED(modifiers);
    return false;
}

// Pressing ------------------------------------------------------------------------

void QXProxyMenuItem::pressElement()
{
    // In the frontmost application's menu the application is already
    // active; items reached through an application item of the
    // all-applications menu bring their application forward.
    MenuItem* topLevel = this;
    while (MenuItem* parent = topLevel->parentItem()) {
        topLevel = parent;
    }
    pressUIElement(m_element, title(), dynamic_cast<QXProxyMenuItem*>(topLevel) == nullptr);
}

void QXProxyMenuItem::pressUIElement(const AccessibilityElement& element, const QString& title,
                                     bool bringForward)
{
    if (element.isNull()) {
        return;
    }
    // The press is sent without waiting: an item that opens a modal dialog
    // is answered only when the dialog closes. A refusal is logged; silence
    // is what such a dialog looks like and is no error.
    element.performAction(QString(ax::PressAction), [title](platform::ActionReply reply) {
        if (reply == platform::ActionReply::Refused) {
            platform::systemLog(
                QStringLiteral("the application refused to perform the menu item \"%1\"")
                    .arg(title));
        }
    });
    if (!bringForward) {
        return;
    }
    const qint64 delay = defaults().integerForKey(QStringLiteral("Activation Delay"));
    const std::optional<qint64> pid = element.pid();
    if (delay < 0 || !pid || QCoreApplication::instance() == nullptr) {
        return;
    }
    const int milliseconds = delay == 0 ? 1000 : static_cast<int>(qMin<qint64>(delay, INT_MAX));
    QTimer::singleShot(milliseconds, QCoreApplication::instance(), [pid = *pid] {
        const platform::RunningApplication application =
            platform::Workspace::current().runningApplication(pid);
        if (!application.isNull() && !application.isTerminated() && !application.isHidden()) {
            QXExtensions::activateByRaisingAllWindows(application, false);
        }
    });
}
