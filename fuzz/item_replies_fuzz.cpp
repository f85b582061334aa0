// What an application answers about one menu item when it is read item by
// item: its name, state set, child count, the roles of its first children
// and its key binding text, as the fuzzer's bytes give them (any length,
// any bytes), turned into the title, states, children to read, submenu and
// key equivalent the program uses. None of it may crash, and every cap holds.
//
// The input: one byte of flags (bit 1: the state set answered; bit 0 unused),
// eight bytes of state bits, eight bytes of child count (signed), a byte
// with the number of child roles and a byte per role (255: no answer),
// three bytes of name length and the name, the rest the key binding text.
// Replies can hold megabyte titles and key binding texts.
// fuzz-max-len: 2097152

#include "platform/accessibility/AccessibilityNames.h"
#include "platform/accessibility/atspi/AtspiItemReplies.h"

#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

class Bytes
{
public:
    Bytes(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    uint8_t next() { return m_position < m_size ? m_data[m_position++] : 0; }
    uint64_t word(int bytes)
    {
        uint64_t value = 0;
        for (int i = 0; i < bytes; ++i) {
            value = (value << 8) | next();
        }
        return value;
    }
    std::string take(size_t length)
    {
        const size_t available = m_position < m_size ? m_size - m_position : 0;
        const size_t taken = length < available ? length : available;
        std::string text(reinterpret_cast<const char*>(m_data + m_position), taken);
        m_position += taken;
        return text;
    }
    std::string rest() { return take(m_size); }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_position = 0;
};

void check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace platform::atspi;
    Bytes bytes(data, size);
    const uint8_t flags = bytes.next();
    const uint64_t stateBits = bytes.word(8);
    const auto reportedCount = static_cast<int64_t>(bytes.word(8));
    const int roleCount = bytes.next();
    QList<std::optional<AtspiRole>> roles;
    for (int i = 0; i < roleCount; ++i) {
        const uint8_t role = bytes.next();
        roles.append(role == 255 ? std::nullopt : std::optional<AtspiRole>(AtspiRole(role)));
    }
    const std::string name = bytes.take(size_t(bytes.word(3)));
    const std::string keyBinding = bytes.rest();

    const QString title = itemTitle(name.c_str());
    check(title.size() <= MaximumTitleLength);
    check(title == title.trimmed() || title.endsWith(QChar(0x2026)));

    const ItemStates states =
        itemStates(flags & 2 ? std::optional<quint64>(stateBits) : std::nullopt);
    check(states.valid == bool(flags & 2));

    const ChildrenToRead children = childrenToRead(reportedCount);
    check(children.read >= 0 && children.read <= platform::accessibility::MaximumMenuChildren);
    check(children.omitted >= 0);
    check(reportedCount <= 0 || children.read + children.omitted == reportedCount);

    const int submenu = submenuChildIndex(roles);
    check(submenu < SubmenuProbeLimit && submenu < roles.size());

    const QString text = QString::fromUtf8(keyBinding.data(), qsizetype(keyBinding.size()));
    const std::optional<platform::MenuKeyBinding> key = itemKeyBinding(text, title);
    check(!key || text.size() <= MaximumKeyBindingLength);
    return 0;
}
