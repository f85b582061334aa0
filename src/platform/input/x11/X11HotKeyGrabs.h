#pragma once

#include "platform/input/HotKeyService.h"
#include "platform/input/ModifierFlags.h"
#include "platform/input/x11/X11ModifierMap.h"

#include <QList>
#include <QtGlobal>
#include <functional>

namespace platform {

// The key grabs this client holds for its hot key registrations, kept apart
// from the X requests so that the rules can be checked without a server.
//
// The server refuses a combination that another client grabbed, but grants a
// second grab of a combination this client already holds and lets one ungrab
// end both; so a registration that overlaps one of this client's grabs in any
// key and modifier state is refused here, before the server is asked. When the
// keyboard mapping changes (Num Lock, Alt or Super moved to another X
// modifier), every registration is grabbed again for the new modifier map.
class X11HotKeyGrabs
{
public:
    // Grabs a key in every listed X modifier state, answering whether the
    // server granted all of them (a refused list leaves nothing grabbed).
    using Grab = std::function<bool(quint8 keycode, const QList<quint16>& states)>;
    // Undoes this client's grabs of a key in the listed states.
    using Ungrab = std::function<void(quint8 keycode, const QList<quint16>& states)>;

    X11HotKeyGrabs(Grab grab, Ungrab ungrab);
    X11HotKeyGrabs(const X11HotKeyGrabs&) = delete;
    X11HotKeyGrabs& operator=(const X11HotKeyGrabs&) = delete;

    // Grabs the key for the held-modifier flags (Shift, Control, Option,
    // Command, Function) in every lock combination of the modifier map. False,
    // with nothing grabbed or recorded, when a flag has no X modifier, when
    // this client already grabs one of those states of the key, or when the
    // server refuses.
    bool add(HotKeyHandle handle, quint8 keycode, ModifierFlags held, const X11ModifierMap& map);
    // Ungrabs a registration; unknown handles are ignored.
    void remove(HotKeyHandle handle);
    // Ungrabs every registration and forgets them.
    void clear();
    // Grabs the registrations again for a changed modifier map. A
    // registration whose states stay the same keeps its grabs, also against
    // one that moved onto them; one that cannot be grabbed now (its modifier
    // vanished, another registration or client holds the new states) stays
    // registered without grabs and is tried again at the next change.
    void remap(const X11ModifierMap& map);

    // The registration whose grab a key event of this key and X modifier
    // state (pointer buttons and group bits are ignored) came through; 0 for none.
    HotKeyHandle handleFor(quint8 keycode, quint16 state) const;
    // The X modifier states grabbed for a registration now; empty while it
    // holds no grabs or is unknown.
    QList<quint16> grabbedStates(HotKeyHandle handle) const;
    bool isEmpty() const { return m_entries.isEmpty(); }

private:
    struct Entry
    {
        HotKeyHandle handle = 0;
        quint8 keycode = 0;
        ModifierFlags held = 0;
        // Empty while the registration holds no grabs.
        QList<quint16> states;
    };

    // The states to grab for the flags under the map; empty when a flag has
    // no X modifier there.
    static QList<quint16> statesFor(ModifierFlags held, const X11ModifierMap& map);
    // Whether none of the states of the key is grabbed for another registration.
    bool isFree(quint8 keycode, const QList<quint16>& states) const;

    Grab m_grab;
    Ungrab m_ungrab;
    QList<Entry> m_entries;
};

} // namespace platform
