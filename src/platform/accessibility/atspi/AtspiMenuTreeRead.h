#pragma once

#include "platform/accessibility/MenuBarRead.h"
#include "platform/accessibility/MenuTreeRead.h"
#include "platform/accessibility/atspi/AtspiMenuSnapshot.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QSet>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace platform::atspi {

// Reads an application's menu tree over the accessibility bus without ever
// waiting for a reply: every request is sent with QtDBus and answered
// through the event loop. The application's object cache is asked first
// (GTK answers with every object at once); where it does not answer
// usefully (Qt), the menu bar is looked for below the application's windows
// and read menu by menu, the requests for all entries of a menu sent
// together. Items arrive in menu order, each menu's items as soon as
// everything before them is known. The first request that runs into the
// messaging timeout ends the read with what arrived, counted as unanswered.
// Destroying the read drops every pending request.
//
// What the application publishes bounds nothing: every entry of a menu
// (separators and untitled ones too) counts against maxItems, a menu's
// entries beyond MaximumMenuChildren are not read, at most a fixed number
// of requests is in flight at once, and a read that would send more
// requests than its budget ends with what arrived.
class AtspiMenuTreeRead : public MenuTreeRead
{
public:
    enum class Start
    {
        // The object cache first, item by item where it does not answer.
        CacheFirst,
        // Item by item at once (to compare both ways on one application).
        ItemByItem,
        // Item by item, the menu bar's entries and the menus the depth
        // names only, each entry's key binding too, everything recorded as
        // a menu snapshot whose read menus are settled: a pop-up shown from
        // it asks nothing more of them.
        MenuBarAhead
    };

    // An empty bus name reads nothing: the read finishes on the next pass
    // of the event loop with an empty tree.
    // Where an earlier read found the menu bar: a read with MenuBarAhead
    // starts there, and searches as usual only when it no longer answers.
    struct MenuBarHint
    {
        QString path;
        QString toolkit;
    };

    AtspiMenuTreeRead(QString busName, qint64 pid, int maxItems, Start start = Start::CacheFirst,
                      MenuBarReadDepth depth = {}, std::optional<MenuBarHint> hint = {});
    ~AtspiMenuTreeRead() override;

    // With Start::MenuBarAhead, what was read; null until a menu bar was
    // found. Final once the read has finished.
    const std::shared_ptr<MenuSnapshot>& snapshot() const { return m_snapshot; }

private:
    // An object of the application: its bus name (the application's own,
    // except for objects embedded from elsewhere) and path.
    struct Object
    {
        QString service;
        QString path;
    };
    struct Menu;
    // One entry of a menu and what its requests answered.
    struct Entry
    {
        enum class State
        {
            Reading,
            Skipped, // a separator, or an entry without title
            Item,
            Submenu
        };
        Object object;
        int pending = 0;
        std::optional<QString> name;
        std::optional<uint> role;
        std::optional<QList<quint32>> states;
        std::optional<bool> component;
        std::optional<QList<Object>> children;
        std::optional<QString> keyBinding;
        // Qt: the item's children, each with its role and its own children,
        // to find the popup menu that holds the submenu's entries.
        struct Child
        {
            Object object;
            std::optional<uint> role;
            std::optional<QList<Object>> children;
        };
        QList<Child> probes;
        State state = State::Reading;
        MenuTreeItem item;
        std::unique_ptr<Menu> submenu;
    };
    struct Menu
    {
        QStringList path;
        // The object whose children are the menu's entries.
        QString objectPath;
        int depth = 1;
        // Where the menu stands in menu order: the indexes of the entries
        // leading to it, from the menu bar down.
        QList<int> order;
        // Entries still being read.
        qsizetype unsettled = 0;
        std::vector<std::unique_ptr<Entry>> entries;
    };
    // One level of the depth-first search for the menu bar.
    struct SearchFrame
    {
        QList<Object> children;
        QList<std::optional<uint>> roles;
        qsizetype next = 0;
        int depth = 0;
    };

    static std::optional<QList<Object>> readChildren(const QDBusMessage& reply);

    using Answer = std::function<void(const QDBusMessage&)>;
    // Sends the call when fewer than the limit are in flight, else queues
    // it; past the read's budget the call is dropped and the read ends.
    void send(const Object& object, const QString& interface, const QString& method,
              const QVariantList& arguments, Answer answered);
    void getProperty(const Object& object, const QString& interface, const QString& name,
                     Answer answered);

    void cacheAnswered(const std::optional<MenuTree>& tree);
    void startWalk();
    void applicationAnswered();
    void windowsOrdered();
    void searchWindow();
    void searchBelow(const Object& object, int depth);
    void continueSearch();
    void menuBarFound(const Object& menuBar, bool hinted = false);
    // Menus are read a few at a time, earliest in menu order first: an
    // application answers requests in the order they come, so reading every
    // menu at once would hold the first results back until the last menu.
    void queueMenu(Menu* menu, const QList<Object>& children);
    void readWaitingMenus();
    // An entry of menu is read; the menu's slot frees when it was the last.
    void settle(Menu* menu);
    // Asks about every entry of menu at once.
    void readEntries(Menu* menu);
    void entryAnswered(Menu* menu, Entry* entry);
    void probesAnswered(Menu* menu, Entry* entry);
    void openSubmenu(Menu* menu, Entry* entry, const QString& objectPath,
                     const std::optional<QList<Object>>& children);
    // Records an object in the snapshot (with MenuBarAhead only).
    void record(const Object& object, const QString& parent, std::optional<uint> role,
                const std::optional<QString>& name, const std::optional<QList<quint32>>& states,
                const std::optional<QList<Object>>& children);
    // Whether the object belongs to the application itself.
    bool isOwn(const Object& object) const;
    // Whether the submenu an entry of menu opens is read now.
    bool descendsInto(const Menu* menu, const Entry* entry) const;
    void makeItem(Menu* menu, Entry* entry);
    // Hands over the items that are known in menu order; finishes when the
    // whole tree or maxItems items are known.
    void deliver();
    void dispatch(const QDBusMessage& call, Answer answered);
    void sendQueued();
    void overBudget();
    void timedOut();
    // Drops pending requests and finishes (the last thing it does: a
    // receiver may destroy the read).
    void finishNow(MenuTree::Source source, bool complete);
    void dropPendingCalls();

    QString m_busName;
    qint64 m_pid;
    int m_maxItems;
    std::optional<QDBusConnection> m_bus;
    std::shared_ptr<void> m_cacheCall;
    MenuTree::Source m_source = MenuTree::Source::WholeTree;
    qsizetype m_delivered = 0;

    // The application, its windows and the search for the menu bar.
    std::optional<QString> m_toolkit;
    std::optional<QList<Object>> m_windows;
    QList<std::optional<QList<quint32>>> m_windowStates;
    int m_windowStatesPending = 0;
    qsizetype m_nextWindow = 0;
    std::vector<SearchFrame> m_search;
    // The window's first menu bar, taken when none of its bars is VISIBLE.
    std::optional<Object> m_firstMenuBar;
    int m_visited = 0;
    QDeadlineTimer m_searchDeadline;
    bool m_gtk = false;
    std::shared_ptr<MenuSnapshot> m_snapshot;
    bool m_recording = false;
    // The toolkit name the application gave (or the hint did).
    QString m_toolkitName;
    MenuBarReadDepth m_depth;

    // The menus read so far and where delivery stands: a path of menus
    // from the menu bar down, each with the index of its next entry.
    std::unique_ptr<Menu> m_menuBar;
    bool m_menuBarEntriesKnown = false;
    std::vector<std::pair<Menu*, size_t>> m_cursor;
    // Menus whose entries are known but not yet asked about, in menu order.
    std::vector<Menu*> m_waitingMenus;
    // Every object whose entry was made ("service path").
    QSet<QString> m_seen;
    int m_menusReading = 0;

    // The request budget: entries made, requests left, requests in flight
    // and those waiting for a free slot.
    qint64 m_entriesLeft = 0;
    qint64 m_requestsLeft = 0;
    int m_inFlight = 0;
    std::deque<std::pair<QDBusMessage, Answer>> m_queued;
    bool m_overBudget = false;
};

} // namespace platform::atspi
