// The whole-tree reply another application sends: the fuzzer's bytes are
// turned into a well-formed reply of either shape whose objects link to
// each other in any way (loops, missing parents, many menu bars, odd
// indexes and states), and the tree is built from it.
// A whole-tree reply of a large application runs to megabytes.
// fuzz-max-len: 2097152

#include "platform/accessibility/atspi/AtspiMenuTree.h"

#include <atspi/atspi.h>
#include <cstddef>
#include <cstdint>
#include <dbus/dbus.h>
#include <string>

namespace {

class Bytes
{
public:
    Bytes(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    bool more() const { return m_position < m_size; }
    uint8_t next() { return m_position < m_size ? m_data[m_position++] : 0; }
    uint32_t word()
    {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            value = (value << 8) | next();
        }
        return value;
    }
    // A short title made of printable ASCII (D-Bus strings must be UTF-8).
    std::string title()
    {
        std::string text;
        const int length = next() % 12;
        for (int i = 0; i < length; ++i) {
            text.push_back(char(' ' + next() % 95));
        }
        return text;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_position = 0;
};

const uint32_t Roles[] = {ATSPI_ROLE_MENU_BAR,        ATSPI_ROLE_MENU,
                          ATSPI_ROLE_MENU_ITEM,       ATSPI_ROLE_CHECK_MENU_ITEM,
                          ATSPI_ROLE_RADIO_MENU_ITEM, ATSPI_ROLE_SEPARATOR,
                          ATSPI_ROLE_POPUP_MENU,      ATSPI_ROLE_TEAROFF_MENU_ITEM,
                          ATSPI_ROLE_FRAME,           ATSPI_ROLE_WINDOW,
                          ATSPI_ROLE_FILLER,          ATSPI_ROLE_PUSH_BUTTON};

std::string objectPath(uint8_t number)
{
    // A few numbers stand for objects that are never listed.
    return "/org/a11y/atspi/accessible/" + std::to_string(number % 40);
}

void appendReference(DBusMessageIter* into, const std::string& path)
{
    DBusMessageIter reference;
    const char* service = ":1.1";
    const char* objectPathText = path.c_str();
    dbus_message_iter_open_container(into, DBUS_TYPE_STRUCT, nullptr, &reference);
    dbus_message_iter_append_basic(&reference, DBUS_TYPE_STRING, &service);
    dbus_message_iter_append_basic(&reference, DBUS_TYPE_OBJECT_PATH, &objectPathText);
    dbus_message_iter_close_container(into, &reference);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Bytes bytes(data, size);
    const bool childrenListed = (bytes.next() & 1) != 0;
    DBusMessage* reply = dbus_message_new(DBUS_MESSAGE_TYPE_METHOD_RETURN);
    if (!reply) {
        return 0;
    }
    DBusMessageIter top;
    DBusMessageIter array;
    dbus_message_iter_init_append(reply, &top);
    dbus_message_iter_open_container(
        &top, DBUS_TYPE_ARRAY,
        childrenListed ? "((so)(so)(so)a(so)assusau)" : "((so)(so)(so)iiassusau)", &array);
    for (int count = 0; bytes.more() && count < 200; ++count) {
        DBusMessageIter object;
        dbus_message_iter_open_container(&array, DBUS_TYPE_STRUCT, nullptr, &object);
        appendReference(&object, objectPath(bytes.next()));
        appendReference(&object, "/org/a11y/atspi/accessible/root");
        appendReference(&object, objectPath(bytes.next()));
        if (childrenListed) {
            DBusMessageIter children;
            dbus_message_iter_open_container(&object, DBUS_TYPE_ARRAY, "(so)", &children);
            const int childCount = bytes.next() % 6;
            for (int i = 0; i < childCount; ++i) {
                appendReference(&children, objectPath(bytes.next()));
            }
            dbus_message_iter_close_container(&object, &children);
        } else {
            const dbus_int32_t index = int8_t(bytes.next());
            const dbus_int32_t childCount = bytes.next();
            dbus_message_iter_append_basic(&object, DBUS_TYPE_INT32, &index);
            dbus_message_iter_append_basic(&object, DBUS_TYPE_INT32, &childCount);
        }
        DBusMessageIter interfaces;
        dbus_message_iter_open_container(&object, DBUS_TYPE_ARRAY, "s", &interfaces);
        dbus_message_iter_close_container(&object, &interfaces);
        const std::string name = bytes.title();
        const char* nameText = name.c_str();
        const dbus_uint32_t role = Roles[bytes.next() % (sizeof(Roles) / sizeof(Roles[0]))];
        const char* description = "";
        dbus_message_iter_append_basic(&object, DBUS_TYPE_STRING, &nameText);
        dbus_message_iter_append_basic(&object, DBUS_TYPE_UINT32, &role);
        dbus_message_iter_append_basic(&object, DBUS_TYPE_STRING, &description);
        DBusMessageIter states;
        dbus_message_iter_open_container(&object, DBUS_TYPE_ARRAY, "u", &states);
        const int words = bytes.next() % 3;
        for (int i = 0; i < words; ++i) {
            const dbus_uint32_t word = bytes.word();
            dbus_message_iter_append_basic(&states, DBUS_TYPE_UINT32, &word);
        }
        dbus_message_iter_close_container(&object, &states);
        dbus_message_iter_close_container(&array, &object);
    }
    dbus_message_iter_close_container(&top, &array);
    const std::optional<platform::MenuTree> tree =
        platform::atspi::menuTreeFromCacheReply(reply, QStringLiteral(":1.1"), 1, 500);
    if (tree && tree->items.size() > 500) {
        __builtin_trap();
    }
    dbus_message_unref(reply);
    return 0;
}
