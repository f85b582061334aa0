#include "platform/input/x11/X11HotKeyGrabs.h"

#include "platform/input/x11/X11PassiveGrabs.h"

namespace platform {
namespace {

constexpr quint16 xModifierBits = 0xFF;

} // namespace

X11HotKeyGrabs::X11HotKeyGrabs(Grab grab, Ungrab ungrab)
    : m_grab(std::move(grab)), m_ungrab(std::move(ungrab))
{}

QList<quint16> X11HotKeyGrabs::statesFor(ModifierFlags held, const X11ModifierMap& map)
{
    const std::optional<quint16> modifiers = map.grabModifiersForFlags(held);
    return modifiers ? x11StatesWithLocks(*modifiers, map) : QList<quint16>();
}

bool X11HotKeyGrabs::isFree(quint8 keycode, const QList<quint16>& states) const
{
    for (const Entry& entry : m_entries) {
        if (entry.keycode != keycode) {
            continue;
        }
        for (quint16 state : states) {
            if (entry.states.contains(state)) {
                return false;
            }
        }
    }
    return true;
}

bool X11HotKeyGrabs::add(HotKeyHandle handle, quint8 keycode, ModifierFlags held,
                         const X11ModifierMap& map)
{
    const QList<quint16> states = statesFor(held, map);
    if (states.isEmpty() || !isFree(keycode, states) || !m_grab(keycode, states)) {
        return false;
    }
    m_entries.append(Entry{handle, keycode, held, states});
    return true;
}

void X11HotKeyGrabs::remove(HotKeyHandle handle)
{
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].handle == handle) {
            if (!m_entries[i].states.isEmpty()) {
                m_ungrab(m_entries[i].keycode, m_entries[i].states);
            }
            m_entries.removeAt(i);
            return;
        }
    }
}

void X11HotKeyGrabs::clear()
{
    while (!m_entries.isEmpty()) {
        remove(m_entries.constFirst().handle);
    }
}

void X11HotKeyGrabs::remap(const X11ModifierMap& map)
{
    // All grabs that move go first, so that a registration taking over
    // states another one gave up is not refused as a duplicate.
    QList<QList<quint16>> wanted;
    for (Entry& entry : m_entries) {
        wanted.append(statesFor(entry.held, map));
        if (!entry.states.isEmpty() && entry.states != wanted.constLast()) {
            m_ungrab(entry.keycode, entry.states);
            entry.states.clear();
        }
    }
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        Entry& entry = m_entries[i];
        if (entry.states.isEmpty() && !wanted[i].isEmpty() && isFree(entry.keycode, wanted[i]) &&
            m_grab(entry.keycode, wanted[i])) {
            entry.states = wanted[i];
        }
    }
}

HotKeyHandle X11HotKeyGrabs::handleFor(quint8 keycode, quint16 state) const
{
    for (const Entry& entry : m_entries) {
        if (entry.keycode == keycode && entry.states.contains(state & xModifierBits)) {
            return entry.handle;
        }
    }
    return 0;
}

QList<quint16> X11HotKeyGrabs::grabbedStates(HotKeyHandle handle) const
{
    for (const Entry& entry : m_entries) {
        if (entry.handle == handle) {
            return entry.states;
        }
    }
    return {};
}

} // namespace platform
