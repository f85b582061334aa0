#pragma once

#include "platform/input/HotKeyService.h"

#include <QList>

namespace platform {

// A hot key service in memory. The program sees the normal interface; tests
// mark combinations as held by another program, read the live registrations
// and press and release registered hot keys. Like the X11 service, it refuses
// a virtual key code that no keyboard has as not in the keyboard mapping.
class MemoryHotKeyService : public HotKeyService
{
public:
    struct Registration
    {
        HotKeyHandle handle = 0;
        quint16 keyCode = 0;
        // Only the held-modifier bits (Shift, Control, Option, Command, Function)
        // that the key does not carry by itself.
        ModifierFlags modifiers = 0;
        quint32 signature = 0;
        quint32 identifier = 0;
    };

    // An unavailable service refuses every registration.
    explicit MemoryHotKeyService(bool available = true);

    bool isAvailable() const override { return m_available; }
    std::optional<HotKeyHandle> registerHotKey(quint16 keyCode, ModifierFlags modifiers,
                                               quint32 signature, quint32 identifier,
                                               HotKeyRefusal* refusal) override;
    void unregisterHotKey(HotKeyHandle handle) override;

    // Control surface for tests.
    // Another program holds the combination from now on, or lets it go.
    void holdElsewhere(quint16 keyCode, ModifierFlags modifiers);
    void releaseElsewhere(quint16 keyCode, ModifierFlags modifiers);
    // Tells the program that the keyboard mapping changed, as the desktop would.
    void changeKeyboardMapping();
    // Whether a registration of this program holds the combination, so that
    // another program trying to take it would be refused.
    bool isHeld(quint16 keyCode, ModifierFlags modifiers) const;
    QList<Registration> registrations() const { return m_registrations; }
    // Every registration request answered so far, accepted or not.
    int registrationRequests() const { return m_requests; }
    // The last accepted registration (also when it has ended since).
    Registration lastRegistration() const { return m_last; }
    // Delivers a press or a release of a registered hot key with the given
    // modifier flags, as the desktop would.
    void press(HotKeyHandle handle, ModifierFlags modifierFlags);
    void release(HotKeyHandle handle, ModifierFlags modifierFlags);

private:
    bool m_available;
    QList<Registration> m_registrations;
    QList<QPair<quint16, ModifierFlags>> m_heldElsewhere;
    Registration m_last;
    HotKeyHandle m_nextHandle = 0x1000;
    int m_requests = 0;
};

} // namespace platform
