// The pop-up menus of the main controller: the menu of the application the
// user works in, the menu of all running applications, and what they share.

#include "app/AccessibilityExplanation.h"
#include "app/QXAlert.h"
#include "app/QXMainController.h"
#include "app/QXSettingsKeys.h"
#include "foundation/QXCSVParser.h"
#include "foundation/QXLocalized.h"
#include "foundation/QXProgramGlyph.h"
#include "foundation/QXRunningApplication.h"
#include "menus/QXAccessibility.h"
#include "menus/QXProxyMenuItem.h"
#include "menus/QXSharedMenuFontSize.h"
#include "platform/accessibility/MenuTree.h"
#include "platform/accessibility/MenuTreeCache.h"
#include "platform/accessibility/MenuWalkLimits.h"
#include "platform/application/Activation.h"
#include "platform/defaults/UserDefaults.h"
#include "platform/log/SystemLog.h"
#include "platform/menus/Menu.h"
#include "platform/menus/MenuItem.h"
#include "platform/menus/qt/MenuPresenter.h"
#include "platform/pointer/PointerLocation.h"
#include "platform/workspace/Workspace.h"
#include "search/MenuSearchModel.h"
#include "search/MenuSearchPopup.h"
#include "search/SearchHistory.h"

#include <QCollator>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QSet>
#include <QTimer>
#include <QtMath>
#include <algorithm>

using platform::AccessibilityElementList;
using platform::Menu;
using platform::MenuItem;
using platform::RunningApplication;

namespace {

// The program's own submenu keeps the program's name in every language.
const QString ProgramName = QStringLiteral("Trovix");
const QString ActivateApplicationAction = QStringLiteral("activateApplicationViaMenuItem:");

constexpr int SmallestMenuFontSize = 10;
constexpr int LargestMenuFontSize = 30;

// What the only item of a lazy application submenu carries until the submenu
// first opens.
struct ApplicationMenuPlaceholder
{
    RunningApplication application;
    QString name;
    // The menu bar items when they were already read.
    std::optional<AccessibilityElementList> items;
};

platform::UserDefaults& defaults()
{
    return platform::UserDefaults::standard();
}

// Separators at either end of a menu carry nothing; they appear at the top
// level when a menu bar item cannot be read or the system menu is taken out.
void removeSeparatorsAtEnds(Menu& menu)
{
    while (!menu.isEmpty() && menu.itemAtIndex(0)->isSeparatorItem()) {
        menu.removeItemAtIndex(0);
    }
    while (!menu.isEmpty() && menu.lastItem()->isSeparatorItem()) {
        menu.removeItemAtIndex(menu.numberOfItems() - 1);
    }
}

// The program reads menus on its main thread, which is also the thread that
// would have to answer for its own: its own menu bar is never read, its own
// menu stands in.
bool isProgramItself(const RunningApplication& application)
{
    return !application.isNull() &&
           application.processIdentifier() == QCoreApplication::applicationPid();
}

// Whether two pop-ups show the same: the same items in the same order, with
// the same titles, marks, key equivalents and enabled and hidden states, and
// the same filled submenus. Nothing is read: a submenu still to be filled
// is compared by the item that opens it.
bool showTheSame(const Menu& one, const Menu& other, int depth = 0)
{
    if (one.numberOfItems() != other.numberOfItems()) {
        return false;
    }
    for (qsizetype i = 0; i < one.numberOfItems(); ++i) {
        const MenuItem& a = *one.itemAtIndex(i);
        const MenuItem& b = *other.itemAtIndex(i);
        if (a.isSeparatorItem() != b.isSeparatorItem() || a.title() != b.title() ||
            a.isEnabled() != b.isEnabled() || a.hasAction() != b.hasAction() ||
            a.isHidden() != b.isHidden() || a.state() != b.state() ||
            a.keyEquivalent() != b.keyEquivalent() ||
            a.keyEquivalentModifierMask() != b.keyEquivalentModifierMask() ||
            a.isAlternate() != b.isAlternate() || a.tag() != b.tag() ||
            a.hasSubmenu() != b.hasSubmenu()) {
            return false;
        }
        if (a.hasSubmenu() && depth < platform::MenuWalkLimits::DepthLimit &&
            !showTheSame(*a.submenu(), *b.submenu(), depth + 1)) {
            return false;
        }
    }
    return true;
}

void addEmptyItemIfNecessary(Menu& menu)
{
    if (menu.isEmpty()) {
        menu.addItem(QXLocalized::tr("Empty"));
    }
}

// The search an open pop-up turns into when the user types: over the menus
// of the applications the pop-up shows, opened while the menu still holds
// the keyboard so that no key typed meanwhile reaches another window.
class PopUpSearch
{
public:
    PopUpSearch(platform::MenuTreeCache& cache, const QList<RunningApplication>& applications,
                const Menu& menu, const QPoint& position, const QString& typed)
        : m_model(&m_history),
          m_popup(m_model, menu.effectiveAppearance(), menu.effectiveFontPointSize())
    {
        m_history.load();
        m_model.setKeyEquivalentReader(
            [](const platform::AccessibilityElement& element) -> std::optional<QString> {
                QString text = QXProxyMenuItem::keyEquivalentDisplayText(element);
                const QXAccessibilityStallGuard* reads = QXAccessibilityStallGuard::current();
                const std::optional<qint64> pid = element.pid();
                if (reads && pid && reads->hasRunPastDeadline(*pid)) {
                    return std::nullopt; // cut short: a key without its modifiers, or none
                }
                return text;
            });
        m_model.setResultReadScope([] {
            return std::make_shared<QXAccessibilityStallGuard>(
                QXAccessibilityStallGuard::Deadlines::Own);
        });
        if (applications.size() == 1) {
            m_front = applications.constFirst().processIdentifier();
        }
        m_model.setAwaitingApplications(true);
        m_popup.open(position, typed);
        // Reading starts once the search window takes the keys: a request to
        // another application may let the event loop turn, and keys handled
        // then must already reach the search.
        QTimer::singleShot(0, &m_popup, [this, &cache, applications] {
            for (const RunningApplication& application : applications) {
                if (application.isTerminated()) {
                    continue;
                }
                const qint64 pid = application.processIdentifier();
                m_model.addApplication(
                    pid,
                    QXExtensions::localizedNameOrBundleName(application)
                        .value_or(QString::number(pid)),
                    cache.startRead(pid, platform::MenuTree::MaximumSearchedItems));
            }
            m_model.setAwaitingApplications(false);
        });
    }

    QWidget* window() { return &m_popup; }

    // The search as the window the menu opens again in place of.
    platform::MenuPresenter::Predecessor predecessor()
    {
        return {&m_popup, [this] { return m_popup.takeKeysForMenu(); }};
    }

    // Waits for the search to end and presses what was chosen. Answers true
    // when the menu should open again (the user went back to it); the search
    // then stays on screen until the menu replaces it.
    bool finish()
    {
        if (m_popup.wait() == MenuSearchPopup::Outcome::BackToMenu) {
            return true;
        }
        if (const std::optional<MenuSearchModel::Result> chosen = m_popup.chosen()) {
            m_model.recordPress(*chosen);
            // An item of an application that is not in front brings it
            // forward, as an item reached through its application item does.
            QXProxyMenuItem::pressUIElement(chosen->item.element, chosen->item.path.constLast(),
                                            chosen->pid != m_front);
        }
        return false;
    }

private:
    SearchHistory m_history;
    MenuSearchModel m_model;
    MenuSearchPopup m_popup;
    qint64 m_front = 0;
};

} // namespace

// The pop-up ------------------------------------------------------------------------

bool QXMainController::popUpMenuForAllApplications(bool allApplications)
{
    // A request that arrives while a pop-up is open (from the command line,
    // say) would stack a second menu on the first; so would one that arrives
    // while the pop-up waits for a menu bar being read ahead.
    if (m_popUpMenuOpen) {
        return true;
    }
    m_popUpMenuOpen = true;
    // One deadline per application for building the pop-up, the submenus
    // built at once included. A submenu the user opens later is read under
    // a deadline of its own, so browsing a large menu is never cut short.
    std::unique_ptr<Menu> menu;
    {
        const QXAccessibilityStallGuard popUpReads(QXAccessibilityStallGuard::Deadlines::Own);
        menu = buildPopUpMenu(allApplications, {}, QXMenuReadAhead::Freshness::CheckedLater);
    }
    if (!menu) {
        m_popUpMenuOpen = false;
        reportAccessibilityUnavailable();
        return true;
    }
    const QPoint position = platform::PointerLocation::current().position();
    const bool searchWhileTyping = defaults().boolForKey(QXSettingsKeys::SearchMenusWhileTyping) &&
                                   !m_popUpApplications.isEmpty();
    if (searchWhileTyping && !m_menuTreeCache) {
        m_menuTreeCache = std::make_unique<platform::MenuTreeCache>();
    }
    std::unique_ptr<PopUpSearch> search;
    // Menus shown as read ahead from an application that does not tell
    // about changes are read again as the menu opens; when they changed,
    // the open menu is built again from what was read.
    platform::MenuPresenter* shown = nullptr;
    QMetaObject::Connection checked;
    if (QXMenuReadAhead* readAhead = QXMenuReadAhead::current()) {
        checked =
            connect(readAhead, &QXMenuReadAhead::menusChecked, this, [&](qint64 pid, bool changed) {
                Q_UNUSED(pid);
                if (changed && shown && !search) {
                    if (rebuildPopUpMenu(*menu, allApplications)) {
                        shown->rebuild();
                    }
                }
            });
    }
    for (bool again = true; again;) {
        // The search the user left stays until the menu is back in its place.
        const std::unique_ptr<PopUpSearch> left = std::move(search);
        platform::MenuPresenter presenter(*menu);
        shown = &presenter;
        if (searchWhileTyping) {
            presenter.setTypingHandler([&](const QString& typed) -> QWidget* {
                search = std::make_unique<PopUpSearch>(*m_menuTreeCache, m_popUpApplications, *menu,
                                                       position, typed);
                return search->window();
            });
        }
        presenter.popUp(position,
                        left ? left->predecessor() : platform::MenuPresenter::Predecessor{});
        shown = nullptr;
        again = search && search->finish();
    }
    disconnect(checked);
    m_popUpApplications.clear();
    m_popUpMenuOpen = false;
    m_menuEndTimestamp = secondsNow();
    return true;
}

void QXMainController::reportAccessibilityUnavailable()
{
    if (m_toldAccessibilityUnavailable) {
        platform::Activation::current().beep();
        return;
    }
    m_toldAccessibilityUnavailable = true;
    const QString explanation =
        accessibilityUnavailableExplanation(QXAccessibilityUnavailability());
    platform::systemLog(
        QStringLiteral("cannot read menus without accessibility: %1").arg(explanation));
    QXAlert::runModal(QXLocalized::tr("Trovix cannot read menus"), explanation);
}

std::unique_ptr<Menu> QXMainController::buildPopUpMenu(bool allApplications,
                                                       const RunningApplication& application,
                                                       QXMenuReadAhead::Freshness freshness)
{
    if (!QXAccessibilityPrepare()) {
        return nullptr;
    }
    auto menu = std::make_unique<Menu>(QStringLiteral("Trovix Proxy"));

    const qint64 appearance = defaults().integerForKey(QXSettingsKeys::MenuAppearance);
    if (appearance == 2) {
        menu->setAppearance(Menu::Appearance::Dark);
    } else if (appearance == 1) {
        menu->setAppearance(Menu::Appearance::Light);
    }

    const qint64 fontSize = defaults().integerForKey(QXSettingsKeys::MenuFontSize);
    if (fontSize < SmallestMenuFontSize) {
        QXSharedMenuFontSize::setValue(0);
    } else {
        const int points = static_cast<int>(qMin<qint64>(fontSize, LargestMenuFontSize));
        QXSharedMenuFontSize::setValue(points);
        menu->setFontPointSize(points);
    }

    QXProxyMenuItem::updatePreferences();

    platform::Workspace& workspace = platform::Workspace::current();
    const RunningApplication menuBarOwner =
        application.isNull() ? workspace.menuBarOwningApplication() : application;
    RunningApplication target = menuBarOwner;
    if (application.isNull() &&
        defaults().boolForKey(QXSettingsKeys::SupportAccessoryApplications)) {
        const RunningApplication frontmost = workspace.frontmostApplication();
        if (!frontmost.isNull()) {
            target = frontmost;
        }
    }

    m_popUpApplications.clear();
    std::shared_ptr<MenuItem> appleMenuItem;
    if (allApplications) {
        addApplicationItems(*menu, target, menuBarOwner, &appleMenuItem, freshness);
    } else if (!target.isNull() && !isProgramItself(target)) {
        if (!menuBarOwner.isNull() && !(menuBarOwner == target) && !isProgramItself(menuBarOwner)) {
            // Only for the system menu: it comes from the application that
            // owns the menu bar.
            const std::optional<AccessibilityElementList> ownerItems =
                QXMenuBarItemsForApplication(menuBarOwner, freshness);
            if (ownerItems && !ownerItems->isEmpty()) {
                populateMenu(
                    *menu, ownerItems, &appleMenuItem,
                    fastTrackMenuTitlesForApplicationName(
                        QXExtensions::localizedNameOrBundleName(menuBarOwner).value_or(QString())));
            }
            menu->removeAllItems();
        }
        const std::optional<AccessibilityElementList> items =
            QXMenuBarItemsForApplication(target, freshness);
        // The name is asked for only when the application has answered:
        // asking one that hangs costs another timeout.
        if (items && !items->isEmpty()) {
            m_popUpApplications.append(target);
            populateMenu(*menu, items, &appleMenuItem,
                         fastTrackMenuTitlesForApplicationName(
                             QXExtensions::localizedNameOrBundleName(target).value_or(QString())));
        }
        removeSeparatorsAtEnds(*menu);
    }

    if (menu->isEmpty()) {
        populateContextMenu(*menu);
        return menu;
    }

    bool systemMenuAtEnd = false;
    if (appleMenuItem) {
        if (defaults().boolForKey(QXSettingsKeys::MoveAppleMenuToEnd)) {
            menu->addSeparatorIfNecessary();
            menu->addItem(appleMenuItem);
            systemMenuAtEnd = true;
        } else {
            menu->insertItem(appleMenuItem, 0);
            menu->insertItem(MenuItem::separatorItem(), 1);
        }
    }

    const qint64 priority = defaults().integerForKey(QXSettingsKeys::MetaMenuPriority);
    const qint64 threshold = defaults().integerForKey(QXSettingsKeys::ApplicationMode) == 2 &&
                                     !QXProxyMenuItem::isBlacklistedMenuItemTitle(ProgramName)
                                 ? -1
                                 : 0;
    if (priority > threshold) {
        if (!systemMenuAtEnd) {
            menu->addSeparatorIfNecessary();
        }
        MenuItem* programItem = populateContextMenu(*menu, ProgramName);
        if (programItem && QXMenuItemImagesEnabled()) {
            const qreal ratio =
                qGuiApp != nullptr ? qMax<qreal>(qGuiApp->devicePixelRatio(), 1.0) : 1.0;
            programItem->setImage(
                QXProgramGlyph::menuItemImage(QXSharedMenuFontSize::value(), ratio), true);
        }
    }
    return menu;
}

bool QXMainController::rebuildPopUpMenu(Menu& menu, bool allApplications)
{
    // The same application as before, not whichever is in front now.
    const RunningApplication application = allApplications || m_popUpApplications.isEmpty()
                                               ? RunningApplication()
                                               : m_popUpApplications.constFirst();
    std::unique_ptr<Menu> rebuilt;
    {
        const QXAccessibilityStallGuard reads(QXAccessibilityStallGuard::Deadlines::Own);
        rebuilt = buildPopUpMenu(allApplications, application, QXMenuReadAhead::Freshness::AsRead);
    }
    // What the check found changed may not show (a menu read only for it):
    // the open menu is left as it is then, with the item the user is at.
    if (!rebuilt || rebuilt->isEmpty() || showTheSame(menu, *rebuilt)) {
        return false;
    }
    menu.removeAllItems();
    while (!rebuilt->isEmpty()) {
        menu.addItem(rebuilt->removeItemAtIndex(0));
    }
    menu.update();
    return true;
}

void QXMainController::populateMenu(Menu& menu,
                                    const std::optional<AccessibilityElementList>& menuBarItems,
                                    std::shared_ptr<MenuItem>* appleMenuItem,
                                    const std::optional<QStringList>& fastTrack)
{
    if (!menuBarItems) {
        return;
    }
    // An application that stops answering costs one timeout here, not one
    // per remaining read: the menu keeps the menus read completely before.
    const QXAccessibilityStallGuard guard;
    for (qsizetype i = 0; i < menuBarItems->size(); ++i) {
        const qsizetype itemsBefore = menu.numberOfItems();
        QXProxyMenuItem::addMenuItemWithUIElement(menuBarItems->at(i), menu, i, false, fastTrack);
        if (guard.hasStalled()) {
            while (menu.numberOfItems() > itemsBefore) {
                menu.removeItemAtIndex(menu.numberOfItems() - 1);
            }
            break;
        }
    }
    if (!menu.isEmpty() && !menu.itemAtIndex(0)->isSeparatorItem() &&
        menu.itemAtIndex(0)->tag() == 0) {
        std::shared_ptr<MenuItem> systemMenuItem = menu.removeItemAtIndex(0);
        if (appleMenuItem && !*appleMenuItem) {
            *appleMenuItem = std::move(systemMenuItem);
        }
    }
}

// Fast track ------------------------------------------------------------------------

std::optional<QStringList>
QXMainController::fastTrackMenuTitlesForApplicationName(const QString& name)
{
    if (name.isEmpty()) {
        return std::nullopt;
    }
    const QString key = name.toLower();
    // Parsed once; parsed again only when the text changes (the preferences
    // window also drops the cache, other writers of the setting need not).
    const QString text = defaults().stringForKey(QXSettingsKeys::FastTrack);
    if (!m_fastTrackMenuTitlesByApplicationName || text != m_fastTrackSource) {
        m_fastTrackMenuTitlesByApplicationName.reset();
        m_fastTrackSource = text;
        const QStringList entries = QXArrayFromCSVString(text).value_or(QStringList());
        for (const QString& entry : entries) {
            const QStringList parts = entry.split(u'>');
            const QString application = parts.at(0).trimmed().toLower();
            if (application.isEmpty()) {
                continue;
            }
            const QString title = parts.size() > 1 ? parts.at(1).trimmed() : QString();
            auto& table = m_fastTrackMenuTitlesByApplicationName;
            if (table && table->contains(application) && table->value(application).isEmpty()) {
                continue; // the application already stands for all its menus
            }
            if (!table) {
                table.emplace();
            }
            QStringList& titles = (*table)[application];
            if (title.isEmpty()) {
                titles.clear();
            } else {
                titles.append(title.toLower());
            }
        }
    }
    if (!m_fastTrackMenuTitlesByApplicationName) {
        return std::nullopt;
    }
    const auto found = m_fastTrackMenuTitlesByApplicationName->constFind(key);
    if (found == m_fastTrackMenuTitlesByApplicationName->constEnd()) {
        return std::nullopt;
    }
    return *found;
}

void QXMainController::resetFastTrackMenuTitles()
{
    m_fastTrackMenuTitlesByApplicationName.reset();
    m_fastTrackSource.clear();
}

// All applications ------------------------------------------------------------------

void QXMainController::addApplicationItems(Menu& menu, const RunningApplication& target,
                                           const RunningApplication& menuBarOwner,
                                           std::shared_ptr<MenuItem>* appleMenuItem,
                                           QXMenuReadAhead::Freshness freshness)
{
    const bool supportAccessory =
        defaults().boolForKey(QXSettingsKeys::SupportAccessoryApplications);
    const bool allWithAccessories =
        supportAccessory &&
        defaults().boolForKey(QXSettingsKeys::SupportAccessoryApplicationsAllApplications);
    const bool emphasize =
        defaults().boolForKey(QXSettingsKeys::ApplicationMenuItemsEmphasizeFrontmostApplication);

    std::vector<std::shared_ptr<MenuItem>> list;
    QSet<QString> names;
    QSet<QString> duplicateNames;
    const QList<RunningApplication> applications =
        platform::Workspace::current().runningApplications();
    for (const RunningApplication& application : applications) {
        const QString name =
            QXExtensions::localizedNameOrBundleName(application).value_or(QString());
        if (name.isEmpty() || QXProxyMenuItem::isBlacklistedMenuItemTitle(name)) {
            continue;
        }
        const bool isTarget = !target.isNull() && application == target;
        if (!QXExtensions::isRegularOrAccessory(application, allWithAccessories ||
                                                                 (supportAccessory && isTarget))) {
            continue;
        }

        std::optional<AccessibilityElementList> items;
        if (allWithAccessories && !isProgramItself(application)) {
            // Needed now to decide whether to list the application; handed
            // on to the lazy fill so that they are not read twice.
            items = QXMenuBarItemsForApplication(application);
            if (!items || items->size() < 2) {
                continue;
            }
        }
        // Counted only for listed applications: one that is left out does
        // not make its namesake's title longer.
        if (names.contains(name)) {
            duplicateNames.insert(name);
        } else {
            names.insert(name);
        }

        auto item = MenuItem::create(name);
        if (isTarget && emphasize) {
            item->setAttributedTitle(name, {true, QXSharedMenuFontSize::value()});
        }

        auto submenu = std::make_unique<Menu>(name);
        const bool ownsMenuBar = !menuBarOwner.isNull() && application == menuBarOwner;
        const std::optional<QStringList> fastTrack = fastTrackMenuTitlesForApplicationName(name);
        if (isProgramItself(application)) {
            populateContextMenu(*submenu);
        } else if (!ownsMenuBar && !fastTrack) {
            MenuItem* placeholder = submenu->addItem(QStringLiteral("_"));
            placeholder->setTag(MenuItem::MaxTag);
            placeholder->setRepresentedObject(
                ApplicationMenuPlaceholder{application, name, std::move(items)});
            submenu->setDelegate(this);
        } else {
            if (!items) {
                items = QXMenuBarItemsForApplication(
                    application, ownsMenuBar ? freshness : QXMenuReadAhead::Freshness::AskedAgain);
            }
            populateMenu(*submenu, items, ownsMenuBar ? appleMenuItem : nullptr, fastTrack);
            removeSeparatorsAtEnds(*submenu);
            addEmptyItemIfNecessary(*submenu);
        }

        item->setSubmenu(std::move(submenu));
        if (!isProgramItself(application)) {
            m_popUpApplications.append(application);
        }
        item->setRepresentedObject(application);
        item->setTarget(this);
        item->setAction(ActivateApplicationAction,
                        [this](MenuItem& chosen) { activateApplicationViaMenuItem(chosen); });
        list.push_back(std::move(item));
    }

    if (list.size() >= 2) {
        if (!duplicateNames.isEmpty()) {
            for (const auto& item : list) {
                if (!duplicateNames.contains(item->title())) {
                    continue;
                }
                const auto application =
                    std::any_cast<RunningApplication>(item->representedObject());
                const QUrl url = application.bundleURL();
                const QString title =
                    QStringLiteral("%1 (%2) %3")
                        .arg(item->title(), url.isLocalFile() ? url.toLocalFile() : url.toString())
                        .arg(application.processIdentifier());
                if (item->hasAttributedTitle()) {
                    item->setAttributedTitle(title, item->titleAttributes());
                } else {
                    item->setTitle(title);
                }
            }
        }
        QCollator collator;
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        std::stable_sort(list.begin(), list.end(), [&collator](const auto& a, const auto& b) {
            return collator.compare(a->title(), b->title()) < 0;
        });
    }
    for (auto& item : list) {
        menu.addItem(std::move(item));
    }
}

void QXMainController::populateApplicationMenu(Menu& menu)
{
    if (menu.numberOfItems() != 1 || menu.itemAtIndex(0)->tag() != MenuItem::MaxTag) {
        return;
    }
    const auto* placeholder =
        std::any_cast<ApplicationMenuPlaceholder>(&menu.itemAtIndex(0)->representedObject());
    if (!placeholder || placeholder->application.isNull()) {
        return;
    }
    const ApplicationMenuPlaceholder entry = *placeholder;
    menu.removeItemAtIndex(0);
    const std::optional<AccessibilityElementList> items =
        entry.items ? entry.items : QXMenuBarItemsForApplication(entry.application);
    populateMenu(menu, items, nullptr, fastTrackMenuTitlesForApplicationName(entry.name));
    removeSeparatorsAtEnds(menu);
    addEmptyItemIfNecessary(menu);
}

void QXMainController::activateApplicationViaMenuItem(MenuItem& item)
{
    const auto* application = std::any_cast<RunningApplication>(&item.representedObject());
    if (!application || application->isNull()) {
        return;
    }
    QXExtensions::activateByRaisingAllWindows(
        *application, defaults().boolForKey(QXSettingsKeys::ApplicationMenuItemsRaiseAllWindows),
        defaults().boolForKey(QXSettingsKeys::ApplicationMenuItemsReopen));
}
