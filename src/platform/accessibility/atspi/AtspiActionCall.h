#pragma once

#include "platform/accessibility/AccessibilityNode.h"

#include <QDBusConnection>
#include <QString>
#include <atspi/atspi.h>
#include <optional>

namespace platform::atspi {

// Sends the object's action number index (org.a11y.atspi.Action.DoAction)
// over the accessibility bus without waiting for the answer: toolkits that
// perform actions synchronously answer an action that opened a modal dialog
// only when the dialog closes; while it waits for that, an application that
// still answers other requests counts as having done it. replied, when given,
// receives the answer on the main thread, or NoReply after the messaging
// timeout. False when the call cannot be sent (no accessibility bus, an
// object without address).
bool sendDoAction(AtspiAccessible* object, int index, ActionReplyHandler replied);
// The same for an object known by its bus name and object path.
bool sendDoAction(const QString& service, const QString& path, int index,
                  ActionReplyHandler replied);

// The program's own connection to the accessibility bus; nothing when there
// is no bus.
std::optional<QDBusConnection> accessibilityBusConnection();

} // namespace platform::atspi
