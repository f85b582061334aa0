#pragma once

#include "platform/accessibility/MenuTree.h"

#include <QDBusMessage>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

struct DBusMessage;

namespace platform::atspi {

// Reads an application's whole menu tree with one
// org.a11y.atspi.Cache.GetItems call on its bus name: the reply lists every
// object the toolkit keeps (reference, parent, index, name, role, states),
// from which the menu bar's subtree is built. Nothing when the application
// does not answer the call usefully (Qt answers with nothing or an error),
// so that the caller reads item by item; an empty, incomplete tree when the
// call ran into the messaging timeout.
std::optional<MenuTree> readMenuTreeFromCache(const QString& busName, qint64 pid, int maxItems);

// The same call sent without waiting: answered receives the same meaning
// of a tree on the main thread, once, from the event loop (never from
// within libdbus's dispatch). Destroying the returned handle cancels the
// call, even once its reply has arrived; null when it cannot be sent.
std::shared_ptr<void> sendCacheItemsCall(const QString& busName, qint64 pid, int maxItems,
                                         std::function<void(std::optional<MenuTree>)> answered);

// The tree a GetItems reply describes (parsed as both paths above parse it);
// nothing when the reply has another shape or no menu bar.
std::optional<MenuTree> menuTreeFromCacheReply(DBusMessage* reply, const QString& busName,
                                               qint64 pid, int maxItems);

// Whether a reply says that the application did not answer in time.
bool isTimeoutReply(const QDBusMessage& reply);

} // namespace platform::atspi
