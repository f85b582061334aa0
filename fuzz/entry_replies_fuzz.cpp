// The replies a menu entry sends to the requests asked for a whole run of
// entries at once (name, role, states, key binding, children, interfaces,
// child count, child at an index): the fuzzer's bytes pick the request and a
// reply of any shape (a string as long as the input, a variant, numbers,
// arrays of any length, lists of references, one reference, nothing), and
// the reply is taken into the entry's answers. A title or key binding can be megabytes long.
// fuzz-max-len: 1100000

#include "platform/accessibility/atspi/AtspiEntryPrefetch.h"

#include <QString>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <dbus/dbus.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2) {
        return 0;
    }
    using platform::atspi::EntryRequest;
    const auto request = EntryRequest(data[0] % 8);
    const int shape = data[1] % 9;
    const QByteArray rest(reinterpret_cast<const char*>(data + 2), qsizetype(size - 2));
    // D-Bus strings are valid UTF-8 without NUL.
    const QByteArray text = QString::fromUtf8(rest).toUtf8().replace('\0', ' ');
    const char* chars = text.constData();

    DBusMessage* reply = dbus_message_new(DBUS_MESSAGE_TYPE_METHOD_RETURN);
    if (!reply) {
        return 0;
    }
    DBusMessageIter top;
    dbus_message_iter_init_append(reply, &top);
    switch (shape) {
    case 0:
        dbus_message_iter_append_basic(&top, DBUS_TYPE_STRING, &chars);
        break;
    case 1: {
        DBusMessageIter variant;
        dbus_message_iter_open_container(&top, DBUS_TYPE_VARIANT, "s", &variant);
        dbus_message_iter_append_basic(&variant, DBUS_TYPE_STRING, &chars);
        dbus_message_iter_close_container(&top, &variant);
        break;
    }
    case 2:
    case 3: {
        DBusMessageIter words;
        dbus_message_iter_open_container(&top, DBUS_TYPE_ARRAY, "u", &words);
        for (qsizetype i = 0; i + 4 <= rest.size(); i += 4) {
            dbus_uint32_t word = 0;
            for (int b = 0; b < 4; ++b) {
                word = (word << 8) | uint8_t(rest.at(i + b));
            }
            dbus_message_iter_append_basic(&words, DBUS_TYPE_UINT32, &word);
        }
        dbus_message_iter_close_container(&top, &words);
        break;
    }
    case 4: {
        dbus_uint32_t number = rest.isEmpty() ? 0 : dbus_uint32_t(uint8_t(rest.at(0))) * 7919u;
        dbus_message_iter_append_basic(&top, DBUS_TYPE_UINT32, &number);
        break;
    }
    case 5: {
        DBusMessageIter variant;
        dbus_message_iter_open_container(&top, DBUS_TYPE_VARIANT, "i", &variant);
        // A count may come negative.
        dbus_int32_t number = dbus_int32_t(rest.size()) * (rest.startsWith('-') ? -1 : 1);
        dbus_message_iter_append_basic(&variant, DBUS_TYPE_INT32, &number);
        dbus_message_iter_close_container(&top, &variant);
        break;
    }
    case 6:
    case 8: {
        // Children: one reference per line of the input, the bus name before
        // a space; a line that is no object path is left out. Shape 8 is
        // one reference alone (the first line), as for a child at an index.
        DBusMessageIter array = top;
        if (shape == 6) {
            dbus_message_iter_open_container(&top, DBUS_TYPE_ARRAY, "(so)", &array);
        }
        for (const QByteArray& line : text.split('\n').mid(0, shape == 6 ? -1 : 1)) {
            const qsizetype space = line.indexOf(' ');
            const QByteArray service = line.left(std::max<qsizetype>(space, 0));
            const QByteArray path = space < 0 ? line : line.mid(space + 1);
            if (!dbus_validate_path(path.constData(), nullptr) ||
                !dbus_validate_utf8(service.constData(), nullptr)) {
                continue;
            }
            DBusMessageIter reference;
            const char* serviceText = service.constData();
            const char* pathText = path.constData();
            dbus_message_iter_open_container(&array, DBUS_TYPE_STRUCT, nullptr, &reference);
            dbus_message_iter_append_basic(&reference, DBUS_TYPE_STRING, &serviceText);
            dbus_message_iter_append_basic(&reference, DBUS_TYPE_OBJECT_PATH, &pathText);
            dbus_message_iter_close_container(&array, &reference);
        }
        if (shape == 6) {
            dbus_message_iter_close_container(&top, &array);
        }
        break;
    }
    case 7: {
        // Interfaces: one name per line of the input.
        DBusMessageIter array;
        dbus_message_iter_open_container(&top, DBUS_TYPE_ARRAY, "s", &array);
        for (const QByteArray& line : text.split('\n')) {
            const char* name = line.constData();
            dbus_message_iter_append_basic(&array, DBUS_TYPE_STRING, &name);
        }
        dbus_message_iter_close_container(&top, &array);
        break;
    }
    default:
        break;
    }
    platform::atspi::EntryAnswers answers;
    platform::atspi::recordEntryReply(answers, request, reply);
    // A text is never longer than the input it came from.
    if ((answers.name && answers.name->size() > qsizetype(size)) ||
        (answers.keyBinding && answers.keyBinding->size() > qsizetype(size))) {
        __builtin_trap();
    }
    if (answers.childCount && *answers.childCount < 0) {
        __builtin_trap();
    }
    // No more children than the most ever read of one menu.
    if (answers.children && answers.children->size() > 2000) {
        __builtin_trap();
    }
    dbus_message_unref(reply);
    return 0;
}
