#pragma once

#include "platform/accessibility/MenuTree.h"

#include <QDBusMessage>
#include <QString>
#include <optional>

namespace platform::atspi {

// Reads an application's whole menu tree with one
// org.a11y.atspi.Cache.GetItems call on its bus name: the reply lists every
// object the toolkit keeps (reference, parent, index, name, role, states),
// from which the menu bar's subtree is built. Nothing when the application
// does not answer the call usefully (Qt answers with nothing or an error),
// so that the caller reads item by item; an empty, incomplete tree when the
// call ran into the messaging timeout.
std::optional<MenuTree> readMenuTreeFromCache(const QString& busName, qint64 pid, int maxItems);

// The GetItems call itself, and the tree its reply holds (with the same
// meaning of nothing and of an incomplete tree as above), so that the call
// can also be made without waiting for it. A timed-out reply is counted.
QDBusMessage cacheItemsCall(const QString& busName);
std::optional<MenuTree> menuTreeFromCacheReply(const QDBusMessage& reply, const QString& busName,
                                               qint64 pid, int maxItems);

// Whether a reply says that the application did not answer in time.
bool isTimeoutReply(const QDBusMessage& reply);

} // namespace platform::atspi
