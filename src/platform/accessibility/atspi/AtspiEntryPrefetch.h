#pragma once

#include <QDeadlineTimer>
#include <QList>
#include <QString>
#include <QStringList>
#include <atspi/atspi.h>
#include <optional>

struct DBusMessage;

namespace platform::atspi {

// What one menu entry answered to the requests every entry costs.
struct EntryAnswers
{
    std::optional<QString> name;
    // As the application sent it: any number, not only the roles known.
    std::optional<uint> role;
    // The state set's two words as one.
    std::optional<quint64> states;
    // The first action's key binding: empty when the entry has none, nothing
    // when the entry did not answer.
    std::optional<QString> keyBinding;
    // The paths of its children in their order, each with its bus name.
    std::optional<QList<std::pair<QString, QString>>> children;
    // Whether it has the Component interface (Qt leaves hidden items
    // without it).
    std::optional<bool> component;
    // How many children it says it has.
    std::optional<int> childCount;
    // Its child at the index asked for, with its bus name.
    std::optional<std::pair<QString, QString>> child;
};

// Asks every entry of a run for its name, role, states and key binding at
// once: the requests go out together on each entry's connection and the
// answers are collected as they arrive, so a run costs about one round trip
// instead of four per entry. Nothing waits past the deadline: what has not
// answered by then stays unknown (and is asked for again on its own when
// read). A request that took the whole messaging timeout counts as timed out.
// The requests prefetchEntries sends for each entry.
enum class EntryRequest
{
    Name,
    Role,
    States,
    KeyBinding,
    Children,
    Interfaces,
    ChildCount,
    // The child at PathRequests::index: one request whatever the menu's
    // length (listing a long GTK menu's children costs the square of it).
    ChildAtIndex
};

// Takes what one successful reply to request says into answers; a reply of
// another shape leaves them as they are.
void recordEntryReply(EntryAnswers& answers, EntryRequest request, DBusMessage* reply);

QList<EntryAnswers> prefetchEntries(const QList<AtspiAccessible*>& entries,
                                    QDeadlineTimer deadline);

// The same for objects known by bus name and path (on the accessibility
// bus), each asked what its own list of requests says.
struct PathRequests
{
    QString path;
    QList<EntryRequest> requests;
    int index = 0;
};
QList<EntryAnswers> prefetchPaths(const QString& busName, const QList<PathRequests>& objects,
                                  QDeadlineTimer deadline);

} // namespace platform::atspi
