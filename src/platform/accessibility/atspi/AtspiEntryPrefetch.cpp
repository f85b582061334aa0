#include "platform/accessibility/atspi/AtspiEntryPrefetch.h"

#include "platform/accessibility/AccessibilityNames.h"
#include "platform/accessibility/atspi/AtspiItemReplies.h"
#include "platform/accessibility/atspi/AtspiRequests.h"

#include <QSet>
#include <algorithm>
#include <cstring>
#include <dbus/dbus.h>
#include <vector>

namespace platform::atspi {

namespace {

const char* const AccessibleInterface = "org.a11y.atspi.Accessible";
const char* const ActionInterface = "org.a11y.atspi.Action";
const char* const PropertiesInterface = "org.freedesktop.DBus.Properties";

using Request = EntryRequest;
using enum EntryRequest;

DBusMessage* propertyRequest(const char* busName, const char* path, const char* property)
{
    DBusMessage* message = dbus_message_new_method_call(busName, path, PropertiesInterface, "Get");
    if (message) {
        dbus_message_append_args(message, DBUS_TYPE_STRING, &AccessibleInterface, DBUS_TYPE_STRING,
                                 &property, DBUS_TYPE_INVALID);
    }
    return message;
}

DBusMessage* requestFor(Request request, const char* busName, const char* path, int index)
{
    DBusMessage* message = nullptr;
    switch (request) {
    case Name:
        message = propertyRequest(busName, path, "Name");
        break;
    case ChildCount:
        message = propertyRequest(busName, path, "ChildCount");
        break;
    case ChildAtIndex: {
        message =
            dbus_message_new_method_call(busName, path, AccessibleInterface, "GetChildAtIndex");
        const dbus_int32_t at = index;
        if (message) {
            dbus_message_append_args(message, DBUS_TYPE_INT32, &at, DBUS_TYPE_INVALID);
        }
        break;
    }
    case Role:
        message = dbus_message_new_method_call(busName, path, AccessibleInterface, "GetRole");
        break;
    case States:
        message = dbus_message_new_method_call(busName, path, AccessibleInterface, "GetState");
        break;
    case Children:
        message = dbus_message_new_method_call(busName, path, AccessibleInterface, "GetChildren");
        break;
    case Interfaces:
        message = dbus_message_new_method_call(busName, path, AccessibleInterface, "GetInterfaces");
        break;
    case KeyBinding: {
        message = dbus_message_new_method_call(busName, path, ActionInterface, "GetKeyBinding");
        const dbus_int32_t first = 0;
        if (message) {
            dbus_message_append_args(message, DBUS_TYPE_INT32, &first, DBUS_TYPE_INVALID);
        }
        break;
    }
    }
    return message;
}

// The string of a reply that holds one (or a variant holding one).
std::optional<QString> stringOf(DBusMessage* reply)
{
    DBusMessageIter top;
    if (!dbus_message_iter_init(reply, &top)) {
        return std::nullopt;
    }
    DBusMessageIter value = top;
    if (dbus_message_iter_get_arg_type(&top) == DBUS_TYPE_VARIANT) {
        dbus_message_iter_recurse(&top, &value);
    }
    if (dbus_message_iter_get_arg_type(&value) != DBUS_TYPE_STRING) {
        return std::nullopt;
    }
    const char* text = nullptr;
    dbus_message_iter_get_basic(&value, &text);
    // A text longer than any key binding or title is cut here: it names no
    // key either way, and titles are cut shorter than this later.
    const qsizetype length = text ? qstrnlen(text, MaximumKeyBindingLength * 4 + 4096) : 0;
    return QString::fromUtf8(text, length);
}

// One "(so)" at the iterator: a bus name and a path.
std::optional<std::pair<QString, QString>> referenceAt(DBusMessageIter* at)
{
    if (dbus_message_iter_get_arg_type(at) != DBUS_TYPE_STRUCT) {
        return std::nullopt;
    }
    DBusMessageIter reference;
    dbus_message_iter_recurse(at, &reference);
    const char* parts[2] = {nullptr, nullptr};
    const int types[2] = {DBUS_TYPE_STRING, DBUS_TYPE_OBJECT_PATH};
    for (int i = 0; i < 2; ++i) {
        if (dbus_message_iter_get_arg_type(&reference) != types[i]) {
            return std::nullopt;
        }
        dbus_message_iter_get_basic(&reference, &parts[i]);
        dbus_message_iter_next(&reference);
    }
    return std::pair{QString::fromUtf8(parts[0]), QString::fromUtf8(parts[1])};
}

// The "a(so)" of a reply: bus names and paths, at most the most children
// ever read of one menu; nothing for a reply of another shape.
std::optional<QList<std::pair<QString, QString>>> referencesOf(DBusMessage* reply)
{
    DBusMessageIter top;
    if (!dbus_message_iter_init(reply, &top) ||
        dbus_message_iter_get_arg_type(&top) != DBUS_TYPE_ARRAY ||
        dbus_message_iter_get_element_type(&top) != DBUS_TYPE_STRUCT) {
        return std::nullopt;
    }
    QList<std::pair<QString, QString>> references;
    DBusMessageIter array;
    dbus_message_iter_recurse(&top, &array);
    while (dbus_message_iter_get_arg_type(&array) == DBUS_TYPE_STRUCT) {
        if (references.size() >= accessibility::MaximumMenuChildren) {
            break;
        }
        const std::optional<std::pair<QString, QString>> reference = referenceAt(&array);
        if (!reference) {
            return std::nullopt;
        }
        references.append(*reference);
        dbus_message_iter_next(&array);
    }
    return references;
}

} // namespace

void recordEntryReply(EntryAnswers& answers, EntryRequest request, DBusMessage* reply)
{
    DBusMessageIter top;
    switch (request) {
    case Name:
        answers.name = stringOf(reply);
        break;
    case Role:
        if (dbus_message_iter_init(reply, &top) &&
            dbus_message_iter_get_arg_type(&top) == DBUS_TYPE_UINT32) {
            dbus_uint32_t role = 0;
            dbus_message_iter_get_basic(&top, &role);
            answers.role = uint(role);
        }
        break;
    case States:
        if (dbus_message_iter_init(reply, &top) &&
            dbus_message_iter_get_arg_type(&top) == DBUS_TYPE_ARRAY &&
            dbus_message_iter_get_element_type(&top) == DBUS_TYPE_UINT32) {
            DBusMessageIter words;
            dbus_message_iter_recurse(&top, &words);
            quint64 bits = 0;
            for (int i = 0; i < 2 && dbus_message_iter_get_arg_type(&words) == DBUS_TYPE_UINT32;
                 ++i) {
                dbus_uint32_t word = 0;
                dbus_message_iter_get_basic(&words, &word);
                bits |= quint64(word) << (32 * i);
                dbus_message_iter_next(&words);
            }
            answers.states = bits;
        }
        break;
    case KeyBinding:
        answers.keyBinding = stringOf(reply);
        break;
    case Children:
        answers.children = referencesOf(reply);
        break;
    case ChildAtIndex:
        if (dbus_message_iter_init(reply, &top)) {
            answers.child = referenceAt(&top);
        }
        break;
    case ChildCount:
        if (dbus_message_iter_init(reply, &top) &&
            dbus_message_iter_get_arg_type(&top) == DBUS_TYPE_VARIANT) {
            DBusMessageIter value;
            dbus_message_iter_recurse(&top, &value);
            if (dbus_message_iter_get_arg_type(&value) == DBUS_TYPE_INT32) {
                dbus_int32_t count = 0;
                dbus_message_iter_get_basic(&value, &count);
                answers.childCount = std::max<int>(count, 0);
            }
        }
        break;
    case Interfaces:
        if (dbus_message_iter_init(reply, &top) &&
            dbus_message_iter_get_arg_type(&top) == DBUS_TYPE_ARRAY &&
            dbus_message_iter_get_element_type(&top) == DBUS_TYPE_STRING) {
            DBusMessageIter names;
            dbus_message_iter_recurse(&top, &names);
            bool component = false;
            // No toolkit implements more than a few dozen interfaces.
            for (int i = 0; i < 64 && dbus_message_iter_get_arg_type(&names) == DBUS_TYPE_STRING;
                 ++i) {
                const char* name = nullptr;
                dbus_message_iter_get_basic(&names, &name);
                component = component || (name && !std::strcmp(name, "org.a11y.atspi.Component"));
                dbus_message_iter_next(&names);
            }
            answers.component = component;
        }
        break;
    }
}

namespace {

// One entry to ask: its connection, bus name and path.
struct Target
{
    DBusConnection* bus = nullptr;
    const char* busName = nullptr;
    const char* path = nullptr;
    QList<Request> requests;
    int index = 0;
};

QList<EntryAnswers> prefetch(const std::vector<Target>& targets, QDeadlineTimer deadline)
{
    QList<EntryAnswers> answers(qsizetype(targets.size()));
    struct Pending
    {
        DBusPendingCall* call = nullptr;
        qsizetype entry = 0;
        Request request = Name;
    };
    std::vector<Pending> pending;
    pending.reserve(targets.size() * 4);
    // Every request waits at most the messaging timeout, and none past the
    // deadline.
    const int timeoutMs = messagingTimeoutMs();
    const int waitMs = int(std::clamp<qint64>(deadline.remainingTime(), 1, timeoutMs));
    for (size_t i = 0; i < targets.size(); ++i) {
        const Target& target = targets[i];
        if (!target.bus || !target.busName || !target.path) {
            continue;
        }
        for (const Request request : target.requests) {
            DBusMessage* message = requestFor(request, target.busName, target.path, target.index);
            if (!message) {
                continue;
            }
            DBusPendingCall* call = nullptr;
            if (dbus_connection_send_with_reply(target.bus, message, &call, waitMs) && call) {
                pending.push_back({call, qsizetype(i), request});
            }
            dbus_message_unref(message);
        }
    }
    bool timedOut = false;
    // Applications that let a request run out of time. Each request is
    // timed from when it is waited for, not from when it was sent, so
    // waiting for the requests queued behind one that timed out would take
    // a timeout each: an application answers in the order asked, so none of
    // them has an answer either, and they are dropped.
    QSet<QByteArray> silent;
    for (const Pending& each : pending) {
        const char* busName = targets[size_t(each.entry)].busName;
        if (silent.contains(QByteArray(busName)) && !dbus_pending_call_get_completed(each.call)) {
            dbus_pending_call_cancel(each.call);
            dbus_pending_call_unref(each.call);
            continue;
        }
        // The answers arrive in the order asked; waiting for each in turn
        // waits for all of them once.
        dbus_pending_call_block(each.call);
        DBusMessage* reply = dbus_pending_call_steal_reply(each.call);
        if (reply) {
            if (dbus_message_get_type(reply) == DBUS_MESSAGE_TYPE_METHOD_RETURN) {
                recordEntryReply(answers[each.entry], each.request, reply);
            } else if (dbus_message_is_error(reply, DBUS_ERROR_NO_REPLY)) {
                timedOut = true;
                silent.insert(QByteArray(busName));
            } else if (each.request == KeyBinding) {
                // No Action interface: no key binding.
                answers[each.entry].keyBinding = QString();
            }
            dbus_message_unref(reply);
        }
        dbus_pending_call_unref(each.call);
    }
    // Cut short by the deadline rather than by the timeout, a request is the
    // deadline's to count.
    if (timedOut && waitMs >= timeoutMs) {
        countTimedOutRequest();
    }
    return answers;
}

} // namespace

QList<EntryAnswers> prefetchEntries(const QList<AtspiAccessible*>& entries, QDeadlineTimer deadline)
{
    std::vector<Target> targets;
    targets.reserve(size_t(entries.size()));
    for (AtspiAccessible* entry : entries) {
        const AtspiObject& object = entry->parent;
        if (object.app && object.app->bus && object.app->bus_name && object.path) {
            targets.push_back({object.app->bus,
                               object.app->bus_name,
                               object.path,
                               {Name, Role, States, KeyBinding}});
        } else {
            targets.push_back({});
        }
    }
    return prefetch(targets, deadline);
}

QList<EntryAnswers> prefetchPaths(const QString& busName, const QList<PathRequests>& objects,
                                  QDeadlineTimer deadline)
{
    const QByteArray name = busName.toUtf8();
    QList<QByteArray> paths;
    paths.reserve(objects.size());
    for (const PathRequests& object : objects) {
        paths.append(object.path.toUtf8());
    }
    DBusConnection* bus = atspi_get_a11y_bus();
    std::vector<Target> targets;
    targets.reserve(size_t(objects.size()));
    for (qsizetype i = 0; i < objects.size(); ++i) {
        targets.push_back({bus, name.constData(), paths.at(i).constData(), objects.at(i).requests,
                           objects.at(i).index});
    }
    return prefetch(targets, deadline);
}

} // namespace platform::atspi
