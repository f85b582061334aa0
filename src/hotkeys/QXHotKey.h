#pragma once

#include "platform/input/Event.h"
#include "platform/input/HotKeyService.h"
#include "platform/input/ModifierFlags.h"

#include <QString>
#include <QVariantMap>
#include <memory>
#include <optional>

class QXHotKeyDelegate;

// A key combination that triggers an action whichever application is in
// front: a virtual key code, the modifier flags as they were recorded, the
// settings key it is stored under and the text shown for it. It converts
// itself to and from its stored dictionary, decides whether events and other
// hot keys equal it, and registers itself with the desktop's hot key service.
// A hot key object unregisters itself when it is destroyed, so it cannot be
// copied.
class QXHotKey
{
public:
    QXHotKey(const QString& identifier, const QString& visualRepresentation, quint16 keyCode,
             platform::ModifierFlags modifierFlags);
    ~QXHotKey();
    QXHotKey(const QXHotKey&) = delete;
    QXHotKey& operator=(const QXHotKey&) = delete;

    static std::shared_ptr<QXHotKey> hotKeyWithIdentifer(const QString& identifier,
                                                         const QString& visualRepresentation,
                                                         quint16 keyCode,
                                                         platform::ModifierFlags modifierFlags);
    // The hot key stored in a dictionary ("Identifier", "Visual
    // Representation", "Key Code", "Modifier Flags"). None when the dictionary
    // has no display text, or has no identifier and no fallback is given.
    static std::shared_ptr<QXHotKey>
    hotKeyWithDictionaryRepresentation(const QVariantMap& dictionary,
                                       const QString& fallbackIdentifier = QString());
    // The dictionary to store; its display text is the corrected one.
    QVariantMap dictionaryRepresentation() const;

    QString identifier() const { return m_identifier; }
    quint16 keyCode() const { return m_keyCode; }
    platform::ModifierFlags modifierFlags() const { return m_modifierFlags; }
    // The registration, 0 while the hot key is not registered.
    platform::HotKeyHandle hotKeyReference() const { return m_hotKeyReference; }

    // The display text: null when none was captured, else the corrected text,
    // computed once and kept.
    QString visualRepresentation() const;
    // Keeps the text; a different text discards the kept corrected one.
    void setVisualRepresentation(const QString& visualRepresentation);
    // The modifier glyphs followed by the key's name in the current keyboard
    // layout; falls back on the captured text where the layout has no name.
    QString correctedVisualRepresentation() const;

    // Settings, read on every call.
    static bool requireExactModifierMatches();
    static bool ignoreCapsLock();
    static bool ignoreFunctionKey();

    bool matchesModifierFlags(platform::ModifierFlags flags) const;
    // A key press with this key code, or this hot key's press delivered by the
    // hot key service, with matching modifiers.
    bool matchesEvent(const platform::Event* event) const;
    bool isEqualToHotKey(const QXHotKey* hotKey) const;

    // Registers the hot key with the hot key service for the delegate. With
    // testOnly, only finds out whether it could be registered and leaves
    // nothing behind. Refuses a hot key equal to another of the delegate's,
    // except an unregistered one stored under the same settings key: that is
    // the one this hot key is about to replace.
    bool registerForDelegate(QXHotKeyDelegate& delegate, bool testOnly = false);
    // Why the hot key service refused the last registration; nothing after a
    // registration that succeeded or that the delegate's hot keys refused.
    std::optional<platform::HotKeyRefusal> refusal() const { return m_refusal; }
    bool testForDelegate(QXHotKeyDelegate& delegate) { return registerForDelegate(delegate, true); }
    void unregister();
    bool isRegistered() const { return m_hotKeyReference != 0 || isLocal(); }
    bool isLocal() const { return m_canBeLocal; }

private:
    QString m_identifier;
    QString m_visualRepresentation;
    mutable QString m_cachedCorrectedVisualRepresentation;
    platform::HotKeyHandle m_hotKeyReference = 0;
    std::optional<platform::HotKeyRefusal> m_refusal;
    quint16 m_keyCode;
    platform::ModifierFlags m_modifierFlags;
    bool m_canBeLocal = false;
};
