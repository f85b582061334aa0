#include "platform/accessibility/atspi/AtspiMenuTreeRead.h"

#include "platform/accessibility/AccessibilityNames.h"
#include "platform/accessibility/MenuWalkLimits.h"
#include "platform/accessibility/atspi/AtspiActionCall.h"
#include "platform/accessibility/atspi/AtspiCachedItemNode.h"
#include "platform/accessibility/atspi/AtspiItemReplies.h"
#include "platform/accessibility/atspi/AtspiMenuTree.h"
#include "platform/accessibility/atspi/AtspiRequests.h"
#include "platform/accessibility/atspi/MenuBarSearch.h"

#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QPointer>
#include <QTimer>
#include <algorithm>
#include <atspi/atspi.h>
#include <utility>

namespace platform::atspi {

namespace {

const QString AccessibleInterface = QStringLiteral("org.a11y.atspi.Accessible");
const QString RootPath = QStringLiteral("/org/a11y/atspi/accessible/root");
const QString NullPath = QStringLiteral("/org/a11y/atspi/null");

// Menus nest; a foreign tree that loops must still end.
constexpr int DepthLimit = MenuWalkLimits::DepthLimit;
// Menus whose entries are asked about at the same time.
constexpr int MenusReadTogether = 2;
// How many objects the search for the menu bar looks at, at most, and what
// it may take beyond one messaging timeout.
constexpr int MenuBarSearchLimit = 200;
constexpr qint64 MenuBarSearchGraceMs = 1000;
// How long past the messaging timeout an unanswered cache call is given up.
constexpr int CacheCallGraceMs = 1000;
// Requests sent and not yet answered, at most.
constexpr int RequestsInFlight = 64;
// Requests per entry a read may send on average: an entry takes four or
// five, a Qt item with a submenu two more per child looked at.
constexpr qint64 RequestsPerEntry = 8;
// Requests for the application and the search for its menu bar.
constexpr qint64 SearchRequests = 4 * MenuBarSearchLimit + 64;

bool answered(const QDBusMessage& reply)
{
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty();
}

// A list of unsigned integers ("au"), whichever way QtDBus handed it over.
std::optional<QList<quint32>> readWords(const QDBusMessage& reply)
{
    if (!answered(reply)) {
        return std::nullopt;
    }
    const QVariant value = reply.arguments().constFirst();
    QList<quint32> words;
    if (value.canConvert<QDBusArgument>()) {
        const QDBusArgument argument = value.value<QDBusArgument>();
        argument.beginArray();
        while (!argument.atEnd()) {
            quint32 word = 0;
            argument >> word;
            words.append(word);
        }
        argument.endArray();
    } else {
        for (const QVariant& word : value.toList()) {
            words.append(word.toUInt());
        }
    }
    return words;
}

std::optional<uint> readRole(const QDBusMessage& reply)
{
    if (!answered(reply)) {
        return std::nullopt;
    }
    return reply.arguments().constFirst().toUInt();
}

std::optional<QString> readStringProperty(const QDBusMessage& reply)
{
    if (!answered(reply)) {
        return std::nullopt;
    }
    return qvariant_cast<QDBusVariant>(reply.arguments().constFirst()).variant().toString();
}

bool has(const QList<quint32>& states, AtspiStateType state)
{
    const int bit = int(state);
    return bit / 32 < states.size() && (states.at(bit / 32) & (1u << (bit % 32))) != 0;
}

} // namespace

AtspiMenuTreeRead::AtspiMenuTreeRead(QString busName, qint64 pid, int maxItems, Start start,
                                     MenuBarReadDepth depth, std::optional<MenuBarHint> hint)
    : m_busName(std::move(busName)), m_pid(pid), m_maxItems(maxItems),
      m_bus(accessibilityBusConnection()), m_entriesLeft(std::max(maxItems, 0)),
      m_requestsLeft(m_entriesLeft * RequestsPerEntry + SearchRequests)
{
    m_recording = start == Start::MenuBarAhead;
    m_depth = std::move(depth);
    if (m_busName.isEmpty() || !m_bus || maxItems <= 0) {
        // Nothing to read; finished where a receiver can see it.
        QTimer::singleShot(0, this, [this] { finishNow(MenuTree::Source::None, true); });
        return;
    }
    if (start == Start::MenuBarAhead && hint && !hint->path.isEmpty()) {
        m_toolkitName = hint->toolkit;
        m_gtk = isGtkToolkit(hint->toolkit);
        menuBarFound(Object{m_busName, hint->path}, true);
        return;
    }
    if (start != Start::CacheFirst) {
        startWalk();
        return;
    }
    m_cacheCall = sendCacheItemsCall(m_busName, m_pid, m_maxItems,
                                     [this](std::optional<MenuTree> tree) { cacheAnswered(tree); });
    if (!m_cacheCall) {
        startWalk();
        return;
    }
    // libdbus times the call out only while libatspi's connection is served
    // by the event loop; the read ends in any case.
    QTimer::singleShot(messagingTimeoutMs() + CacheCallGraceMs, this, [this] {
        if (m_cacheCall && !isFinished()) {
            m_cacheCall.reset();
            timedOut();
        }
    });
}

AtspiMenuTreeRead::~AtspiMenuTreeRead()
{
    dropPendingCalls();
}

void AtspiMenuTreeRead::dropPendingCalls()
{
    // Deleted later: the read may be finishing, or be destroyed, from within
    // one of these watchers' own signal.
    const QList<QDBusPendingCallWatcher*> watchers =
        findChildren<QDBusPendingCallWatcher*>(Qt::FindDirectChildrenOnly);
    for (QDBusPendingCallWatcher* watcher : watchers) {
        watcher->disconnect(this);
        watcher->setParent(nullptr);
        watcher->deleteLater();
    }
    m_queued.clear();
    m_inFlight = 0;
}

void AtspiMenuTreeRead::send(const Object& object, const QString& interface, const QString& method,
                             const QVariantList& arguments, Answer answered)
{
    if (isFinished() || m_overBudget) {
        return;
    }
    if (m_requestsLeft <= 0) {
        overBudget();
        return;
    }
    --m_requestsLeft;
    QDBusMessage call = QDBusMessage::createMethodCall(
        object.service.isEmpty() ? m_busName : object.service, object.path, interface, method);
    call.setArguments(arguments);
    if (m_inFlight >= RequestsInFlight) {
        m_queued.emplace_back(call, std::move(answered));
        return;
    }
    dispatch(call, std::move(answered));
}

void AtspiMenuTreeRead::dispatch(const QDBusMessage& call, Answer answered)
{
    ++m_inFlight;
    auto* watcher = new QDBusPendingCallWatcher(m_bus->asyncCall(call, messagingTimeoutMs()), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, answered = std::move(answered)](QDBusPendingCallWatcher* pending) {
                const QDBusMessage reply = pending->reply();
                pending->setParent(nullptr);
                pending->deleteLater();
                if (isFinished()) {
                    return;
                }
                --m_inFlight;
                if (isTimeoutReply(reply)) {
                    timedOut();
                    return;
                }
                sendQueued();
                answered(reply);
            });
}

void AtspiMenuTreeRead::sendQueued()
{
    while (m_inFlight < RequestsInFlight && !m_queued.empty()) {
        auto [call, answered] = std::move(m_queued.front());
        m_queued.pop_front();
        dispatch(call, std::move(answered));
    }
}

void AtspiMenuTreeRead::overBudget()
{
    // Ends from the event loop: the caller may be in the middle of a loop
    // over the entries it asks about.
    m_overBudget = true;
    m_queued.clear();
    QTimer::singleShot(0, this, [this] {
        if (!isFinished()) {
            finishNow(m_source, false);
        }
    });
}

void AtspiMenuTreeRead::getProperty(const Object& object, const QString& interface,
                                    const QString& name, Answer answered)
{
    send(object, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"),
         {interface, name}, std::move(answered));
}

std::optional<QList<AtspiMenuTreeRead::Object>>
AtspiMenuTreeRead::readChildren(const QDBusMessage& reply)
{
    if (!answered(reply) || !reply.arguments().constFirst().canConvert<QDBusArgument>()) {
        return std::nullopt;
    }
    const QDBusArgument argument = reply.arguments().constFirst().value<QDBusArgument>();
    if (argument.currentSignature() != QStringLiteral("a(so)")) {
        return std::nullopt;
    }
    QList<Object> children;
    argument.beginArray();
    while (!argument.atEnd()) {
        Object child;
        QDBusObjectPath path;
        argument.beginStructure();
        argument >> child.service >> path;
        argument.endStructure();
        child.path = path.path();
        // Nothing reads more children of one object than a menu shows.
        if (child.path != NullPath && children.size() < accessibility::MaximumMenuChildren) {
            children.append(child);
        }
    }
    argument.endArray();
    return children;
}

void AtspiMenuTreeRead::cacheAnswered(const std::optional<MenuTree>& tree)
{
    // Answered: dropping the call cancels nothing.
    m_cacheCall.reset();
    if (!tree) {
        startWalk();
        return;
    }
    // An incomplete tree is a call that timed out, counted already.
    QPointer<AtspiMenuTreeRead> alive(this);
    addItems(tree->items);
    if (alive) {
        finishNow(tree->source, tree->complete);
    }
}

void AtspiMenuTreeRead::startWalk()
{
    m_source = MenuTree::Source::None;
    m_searchDeadline.setRemainingTime(messagingTimeoutMs() + MenuBarSearchGraceMs);
    const Object root{m_busName, RootPath};
    getProperty(root, QStringLiteral("org.a11y.atspi.Application"), QStringLiteral("ToolkitName"),
                [this](const QDBusMessage& reply) {
                    m_toolkit = readStringProperty(reply).value_or(QString());
                    applicationAnswered();
                });
    send(root, AccessibleInterface, QStringLiteral("GetChildren"), {},
         [this](const QDBusMessage& reply) {
             m_windows = readChildren(reply).value_or(QList<Object>());
             applicationAnswered();
         });
}

void AtspiMenuTreeRead::applicationAnswered()
{
    if (!m_toolkit || !m_windows) {
        return;
    }
    m_toolkitName = *m_toolkit;
    m_gtk = isGtkToolkit(*m_toolkit);
    // The active window's menu bar first; with one window there is nothing
    // to order.
    if (m_windows->size() < 2) {
        windowsOrdered();
        return;
    }
    m_windowStates.resize(m_windows->size());
    m_windowStatesPending = int(m_windows->size());
    for (qsizetype i = 0; i < m_windows->size(); ++i) {
        send(m_windows->at(i), AccessibleInterface, QStringLiteral("GetState"), {},
             [this, i](const QDBusMessage& reply) {
                 m_windowStates[i] = readWords(reply);
                 if (--m_windowStatesPending == 0) {
                     windowsOrdered();
                 }
             });
    }
}

void AtspiMenuTreeRead::windowsOrdered()
{
    QList<Object> windows;
    for (qsizetype i = 0; i < m_windows->size(); ++i) {
        const std::optional<QList<quint32>> states = m_windowStates.value(i);
        if (states && has(*states, ATSPI_STATE_ACTIVE)) {
            windows.prepend(m_windows->at(i));
        } else {
            windows.append(m_windows->at(i));
        }
    }
    m_windows = windows;
    m_nextWindow = 0;
    searchWindow();
}

void AtspiMenuTreeRead::searchWindow()
{
    if (m_nextWindow >= m_windows->size() || m_visited > MenuBarSearchLimit ||
        m_searchDeadline.hasExpired()) {
        // No menu bar: an empty tree.
        finishNow(MenuTree::Source::None, true);
        return;
    }
    searchBelow(m_windows->at(m_nextWindow++), 0);
}

// Depth first in child order, as toolkits put the menu bar first in the
// window or in its top box; the roles of all children of one object are
// asked for together.
void AtspiMenuTreeRead::searchBelow(const Object& object, int depth)
{
    send(object, AccessibleInterface, QStringLiteral("GetChildren"), {},
         [this, depth](const QDBusMessage& reply) {
             SearchFrame frame;
             frame.depth = depth;
             frame.children = readChildren(reply).value_or(QList<Object>());
             const qsizetype budget = std::max(0, MenuBarSearchLimit - m_visited);
             if (frame.children.size() > budget) {
                 frame.children.resize(budget);
             }
             m_visited += int(frame.children.size());
             frame.roles.resize(frame.children.size());
             m_search.push_back(frame);
             if (frame.children.isEmpty()) {
                 continueSearch();
                 return;
             }
             auto pending = std::make_shared<qsizetype>(frame.children.size());
             const size_t level = m_search.size() - 1;
             for (qsizetype i = 0; i < frame.children.size(); ++i) {
                 send(frame.children.at(i), AccessibleInterface, QStringLiteral("GetRole"), {},
                      [this, level, i, pending](const QDBusMessage& roleReply) {
                          m_search[level].roles[i] = readRole(roleReply);
                          if (--*pending == 0) {
                              continueSearch();
                          }
                      });
             }
         });
}

void AtspiMenuTreeRead::continueSearch()
{
    while (!m_search.empty()) {
        if (m_searchDeadline.hasExpired()) {
            m_search.clear();
            break;
        }
        SearchFrame& frame = m_search.back();
        if (frame.next >= frame.children.size()) {
            m_search.pop_back();
            continue;
        }
        const qsizetype i = frame.next++;
        const std::optional<uint> role = frame.roles.at(i);
        if (!role) {
            continue;
        }
        if (*role == ATSPI_ROLE_MENU_BAR) {
            // The first VISIBLE menu bar of the window, else its first one:
            // a stale copy of the menus may sit under a bar of its own.
            const Object menuBar = frame.children.at(i);
            send(menuBar, AccessibleInterface, QStringLiteral("GetState"), {},
                 [this, menuBar](const QDBusMessage& reply) {
                     const std::optional<QList<quint32>> states = readWords(reply);
                     if (states && has(*states, ATSPI_STATE_VISIBLE)) {
                         m_search.clear();
                         m_firstMenuBar.reset();
                         menuBarFound(menuBar);
                         return;
                     }
                     if (!m_firstMenuBar) {
                         m_firstMenuBar = menuBar;
                     }
                     continueSearch();
                 });
            return;
        }
        if (frame.depth + 1 < MenuBarSearchDepth && mayHoldMenuBar(*role)) {
            searchBelow(frame.children.at(i), frame.depth + 1);
            return;
        }
    }
    if (m_firstMenuBar) {
        menuBarFound(*std::exchange(m_firstMenuBar, std::nullopt));
        return;
    }
    searchWindow();
}

void AtspiMenuTreeRead::menuBarFound(const Object& menuBar, bool hinted)
{
    m_source = MenuTree::Source::ItemByItem;
    m_menuBar = std::make_unique<Menu>();
    m_menuBar->objectPath = menuBar.path;
    m_cursor.push_back({m_menuBar.get(), 0});
    if (m_recording) {
        m_snapshot = std::make_shared<MenuSnapshot>();
        m_snapshot->busName = m_busName;
        m_snapshot->pid = m_pid;
        m_snapshot->gtk = m_gtk;
        m_snapshot->menuBar = menuBar.path;
        // GTK 3 and 4 send events for every change of a menu, closed or
        // open, and so does LibreOffice ("VCL") for the menu objects it has
        // made (names, enabled states, children removed); Qt sends none
        // while a menu is closed, and GTK 2's bridge is not trusted to.
        m_snapshot->reportsChanges =
            m_toolkitName.startsWith(QStringLiteral("GTK"), Qt::CaseInsensitive) ||
            m_toolkitName.compare(QStringLiteral("VCL"), Qt::CaseInsensitive) == 0;
        m_snapshot->toolkit = m_toolkitName;
    }
    send(menuBar, AccessibleInterface, QStringLiteral("GetChildren"), {},
         [this, menuBar, hinted](const QDBusMessage& reply) {
             const std::optional<QList<Object>> listed = readChildren(reply);
             if (hinted && (!listed || listed->isEmpty())) {
                 // The menu bar found before is gone (or emptied): searched
                 // for afresh.
                 m_menuBar.reset();
                 m_cursor.clear();
                 m_snapshot.reset();
                 startWalk();
                 return;
             }
             m_menuBarEntriesKnown = true;
             const QList<Object> entries = listed.value_or(QList<Object>());
             record(menuBar, QString(), ATSPI_ROLE_MENU_BAR, QString(), std::nullopt, entries);
             if (m_snapshot) {
                 m_snapshot->objects[menuBar.path].childrenSettled = true;
             }
             queueMenu(m_menuBar.get(), entries);
             deliver();
         });
}

void AtspiMenuTreeRead::queueMenu(Menu* menu, const QList<Object>& children)
{
    // The entries exist at once, so that delivery waits for them. An
    // object is read once: a tree that lists the same objects again (or
    // loops) would otherwise cost requests along every way to them.
    // Every entry counts against the budget, whatever it turns out to be.
    const qsizetype listed =
        std::min<qsizetype>(children.size(), accessibility::MaximumMenuChildren);
    for (qsizetype i = 0; i < listed && m_entriesLeft > 0; ++i) {
        const Object& child = children.at(i);
        const QString key = child.service + u' ' + child.path;
        if (m_seen.contains(key)) {
            continue;
        }
        m_seen.insert(key);
        --m_entriesLeft;
        menu->entries.push_back(std::make_unique<Entry>());
        menu->entries.back()->object = child;
    }
    if (menu->entries.empty()) {
        return;
    }
    const auto later = std::upper_bound(
        m_waitingMenus.begin(), m_waitingMenus.end(), menu->order,
        [](const QList<int>& order, const Menu* waiting) { return order < waiting->order; });
    m_waitingMenus.insert(later, menu);
    readWaitingMenus();
}

void AtspiMenuTreeRead::readWaitingMenus()
{
    while (!isFinished() && m_menusReading < MenusReadTogether && !m_waitingMenus.empty()) {
        Menu* menu = m_waitingMenus.front();
        m_waitingMenus.erase(m_waitingMenus.begin());
        ++m_menusReading;
        menu->unsettled = qsizetype(menu->entries.size());
        readEntries(menu);
    }
}

void AtspiMenuTreeRead::settle(Menu* menu)
{
    if (--menu->unsettled == 0) {
        --m_menusReading;
        readWaitingMenus();
    }
}

void AtspiMenuTreeRead::readEntries(Menu* menu)
{
    for (const std::unique_ptr<Entry>& each : menu->entries) {
        Entry* entry = each.get();
        const Object& child = entry->object;
        // Everything an entry may need is asked for at once: its children
        // are the entries of a GTK submenu, or hold a Qt item's popup menu.
        entry->pending = (m_gtk ? 4 : 5) + (m_recording ? 1 : 0);
        const auto done = [this, menu, entry] {
            if (--entry->pending == 0) {
                entryAnswered(menu, entry);
            }
        };
        getProperty(child, AccessibleInterface, QStringLiteral("Name"),
                    [entry, done](const QDBusMessage& reply) {
                        entry->name = readStringProperty(reply);
                        done();
                    });
        send(child, AccessibleInterface, QStringLiteral("GetRole"), {},
             [entry, done](const QDBusMessage& reply) {
                 entry->role = readRole(reply);
                 done();
             });
        send(child, AccessibleInterface, QStringLiteral("GetState"), {},
             [entry, done](const QDBusMessage& reply) {
                 entry->states = readWords(reply);
                 done();
             });
        send(child, AccessibleInterface, QStringLiteral("GetChildren"), {},
             [entry, done](const QDBusMessage& reply) {
                 entry->children = readChildren(reply);
                 done();
             });
        if (m_recording) {
            send(child, QStringLiteral("org.a11y.atspi.Action"), QStringLiteral("GetKeyBinding"),
                 {0}, [entry, done](const QDBusMessage& reply) {
                     // An entry without the Action interface has no key binding.
                     entry->keyBinding =
                         answered(reply) ? reply.arguments().constFirst().toString() : QString();
                     done();
                 });
        }
        if (!m_gtk) {
            // Qt leaves hidden items without the Component interface.
            send(child, AccessibleInterface, QStringLiteral("GetInterfaces"), {},
                 [entry, done](const QDBusMessage& reply) {
                     if (answered(reply)) {
                         entry->component = reply.arguments().constFirst().toStringList().contains(
                             QStringLiteral("org.a11y.atspi.Component"));
                     }
                     done();
                 });
        }
    }
}

void AtspiMenuTreeRead::entryAnswered(Menu* menu, Entry* entry)
{
    record(entry->object, menu->objectPath, entry->role, entry->name, entry->states,
           entry->children);
    if (m_snapshot && !m_gtk && entry->component == false && isOwn(entry->object)) {
        m_snapshot->objects[entry->object.path].lacksComponent = true;
    }
    if (m_snapshot && entry->keyBinding && isOwn(entry->object)) {
        m_snapshot->keyBindings.insert(entry->object.path, *entry->keyBinding);
    }
    const QString title = entry->name.value_or(QString()).trimmed();
    if (!entry->role || *entry->role == ATSPI_ROLE_SEPARATOR || title.isEmpty()) {
        entry->state = Entry::State::Skipped;
        settle(menu);
        deliver();
        return;
    }
    if (*entry->role == ATSPI_ROLE_MENU) {
        // GTK's submenus, and a menu placed directly in another: the
        // entries are its own children.
        openSubmenu(menu, entry, entry->object.path, entry->children);
        return;
    }
    if (m_gtk || !entry->children || entry->children->isEmpty()) {
        makeItem(menu, entry);
        return;
    }
    // Qt: one of the item's children may be the popup menu with the
    // submenu's entries; its role and its children are asked for together.
    // A real item has one child; an application that claims more is asked
    // about the first few only.
    const qsizetype probed = std::min<qsizetype>(entry->children->size(), SubmenuProbeLimit);
    auto pending = std::make_shared<int>(int(probed) * 2);
    for (qsizetype i = 0; i < probed; ++i) {
        entry->probes.append({entry->children->at(i), std::nullopt, std::nullopt});
    }
    for (qsizetype i = 0; i < entry->probes.size(); ++i) {
        const auto done = [this, menu, entry, pending] {
            if (--*pending == 0) {
                probesAnswered(menu, entry);
            }
        };
        send(entry->probes.at(i).object, AccessibleInterface, QStringLiteral("GetRole"), {},
             [entry, i, done](const QDBusMessage& reply) {
                 entry->probes[i].role = readRole(reply);
                 done();
             });
        send(entry->probes.at(i).object, AccessibleInterface, QStringLiteral("GetChildren"), {},
             [entry, i, done](const QDBusMessage& reply) {
                 entry->probes[i].children = readChildren(reply);
                 done();
             });
    }
}

void AtspiMenuTreeRead::probesAnswered(Menu* menu, Entry* entry)
{
    for (const Entry::Child& child : std::as_const(entry->probes)) {
        record(child.object, entry->object.path, child.role, std::nullopt, std::nullopt,
               child.children);
    }
    for (const Entry::Child& child : std::as_const(entry->probes)) {
        if (child.role == ATSPI_ROLE_POPUP_MENU || child.role == ATSPI_ROLE_MENU) {
            openSubmenu(menu, entry, child.object.path, child.children);
            return;
        }
    }
    makeItem(menu, entry);
}

void AtspiMenuTreeRead::openSubmenu(Menu* menu, Entry* entry, const QString& objectPath,
                                    const std::optional<QList<Object>>& children)
{
    if (menu->depth >= DepthLimit || (m_recording && !descendsInto(menu, entry))) {
        entry->state = Entry::State::Skipped;
        settle(menu);
        deliver();
        return;
    }
    entry->submenu = std::make_unique<Menu>();
    entry->submenu->path = menu->path + QStringList{entry->name->trimmed()};
    entry->submenu->objectPath = objectPath;
    if (m_snapshot && m_snapshot->objects.contains(objectPath)) {
        m_snapshot->objects[objectPath].childrenSettled = true;
    }
    entry->submenu->depth = menu->depth + 1;
    const auto position = std::find_if(menu->entries.cbegin(), menu->entries.cend(),
                                       [entry](const auto& each) { return each.get() == entry; });
    entry->submenu->order = menu->order + QList<int>{int(position - menu->entries.cbegin())};
    entry->state = Entry::State::Submenu;
    // A submenu whose entries did not answer is an empty one.
    queueMenu(entry->submenu.get(), children.value_or(QList<Object>()));
    settle(menu);
    deliver();
}

bool AtspiMenuTreeRead::isOwn(const Object& object) const
{
    return object.service.isEmpty() || object.service == m_busName;
}

bool AtspiMenuTreeRead::descendsInto(const Menu* menu, const Entry* entry) const
{
    if (menu != m_menuBar.get()) {
        return true; // below a menu read, everything is
    }
    return m_depth &&
           (m_depth->isEmpty() || m_depth->contains(entry->name.value_or(QString()).toLower()));
}

void AtspiMenuTreeRead::record(const Object& object, const QString& parent,
                               std::optional<uint> role, const std::optional<QString>& name,
                               const std::optional<QList<quint32>>& states,
                               const std::optional<QList<Object>>& children)
{
    // An object the application did not describe stays out: a pop-up asks
    // for it when it is shown. So do objects embedded from elsewhere.
    if (!m_snapshot || !role || !isOwn(object)) {
        return;
    }
    CachedObject& cached = m_snapshot->objects[object.path];
    cached.parent = parent;
    cached.index = -1;
    cached.role = *role;
    if (name) {
        cached.name = itemTitle(name->toUtf8().constData());
    }
    if (states) {
        cached.states[0] = states->value(0);
        cached.states[1] = states->value(1);
    }
    cached.children.clear();
    for (const Object& child : children.value_or(QList<Object>())) {
        if (isOwn(child)) {
            cached.children.append(child.path);
        }
    }
}

void AtspiMenuTreeRead::makeItem(Menu* menu, Entry* entry)
{
    const bool statesKnown = entry->states.has_value();
    const QList<quint32> states = entry->states.value_or(QList<quint32>());
    AtspiCachedItemNode::Snapshot snapshot;
    snapshot.title = entry->name->trimmed();
    snapshot.enabled =
        statesKnown && (has(states, ATSPI_STATE_ENABLED) || has(states, ATSPI_STATE_SENSITIVE));
    // GTK marks hidden items by the missing VISIBLE state; Qt leaves them
    // without any state and without the Component interface.
    snapshot.visible = statesKnown && (m_gtk ? has(states, ATSPI_STATE_VISIBLE)
                                             : entry->component.value_or(false));
    snapshot.checked = has(states, ATSPI_STATE_CHECKED);
    snapshot.indeterminate = has(states, ATSPI_STATE_INDETERMINATE);
    MenuTreeItem& item = entry->item;
    item.path = menu->path + QStringList{snapshot.title};
    item.enabled = snapshot.enabled;
    item.hidden = !snapshot.visible;
    item.element = AccessibilityElement(std::make_shared<AtspiCachedItemNode>(
        entry->object.service.isEmpty() ? m_busName : entry->object.service, entry->object.path,
        m_pid, snapshot));
    item.mark = item.element.copyAttribute(accessibility::MarkCharAttribute)
                    .value_or(QVariant())
                    .toString();
    entry->state = Entry::State::Item;
    settle(menu);
    deliver();
}

void AtspiMenuTreeRead::deliver()
{
    if (!m_menuBarEntriesKnown) {
        return;
    }
    QList<MenuTreeItem> items;
    bool full = false;
    while (!m_cursor.empty() && !full) {
        auto& [menu, next] = m_cursor.back();
        if (next >= menu->entries.size()) {
            m_cursor.pop_back();
            continue;
        }
        Entry& entry = *menu->entries.at(next);
        if (entry.state == Entry::State::Reading) {
            break;
        }
        ++next;
        if (entry.state == Entry::State::Item) {
            items.append(entry.item);
            full = m_delivered + items.size() >= m_maxItems;
        } else if (entry.state == Entry::State::Submenu) {
            m_cursor.push_back({entry.submenu.get(), 0});
        }
    }
    m_delivered += items.size();
    const bool done = full || m_cursor.empty();
    QPointer<AtspiMenuTreeRead> alive(this);
    addItems(items);
    if (alive && done) {
        finishNow(MenuTree::Source::ItemByItem, true);
    }
}

void AtspiMenuTreeRead::timedOut()
{
    // Every later request would cost another timeout.
    countTimedOutRequest();
    finishNow(m_source, false);
}

void AtspiMenuTreeRead::finishNow(MenuTree::Source source, bool complete)
{
    dropPendingCalls();
    finish(source, complete);
}

} // namespace platform::atspi
