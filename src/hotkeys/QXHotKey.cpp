#include "hotkeys/QXHotKey.h"

#include "foundation/QXExtension.h"
#include "hotkeys/QXHotKeyDelegate.h"
#include "hotkeys/QXHotKeyReferencePool.h"
#include "platform/defaults/UserDefaults.h"
#include "platform/log/SystemLog.h"

using platform::ModifierFlags;
namespace ModifierFlag = platform::ModifierFlag;

namespace {

const QString IdentifierKey = QStringLiteral("Identifier");
const QString VisualRepresentationKey = QStringLiteral("Visual Representation");
const QString KeyCodeKey = QStringLiteral("Key Code");
const QString ModifierFlagsKey = QStringLiteral("Modifier Flags");

constexpr quint32 largestRegistrationIdentifier = 1000000;

quint32& registrationCounterStorage()
{
    static quint32 counter = 0;
    return counter;
}

bool setting(const char* key)
{
    return platform::UserDefaults::standard().boolForKey(QString::fromLatin1(key));
}

} // namespace

QXHotKey::QXHotKey(const QString& identifier, const QString& visualRepresentation, quint16 keyCode,
                   ModifierFlags modifierFlags)
    : m_identifier(identifier), m_visualRepresentation(visualRepresentation), m_keyCode(keyCode),
      m_modifierFlags(modifierFlags)
{}

QXHotKey::~QXHotKey()
{
    unregister();
}

std::shared_ptr<QXHotKey> QXHotKey::hotKeyWithIdentifer(const QString& identifier,
                                                        const QString& visualRepresentation,
                                                        quint16 keyCode,
                                                        ModifierFlags modifierFlags)
{
    return std::make_shared<QXHotKey>(identifier, visualRepresentation, keyCode, modifierFlags);
}

std::shared_ptr<QXHotKey>
QXHotKey::hotKeyWithDictionaryRepresentation(const QVariantMap& dictionary,
                                             const QString& fallbackIdentifier)
{
    const QVariant storedIdentifier = dictionary.value(IdentifierKey);
    const QString identifier = storedIdentifier.typeId() == QMetaType::QString
                                   ? storedIdentifier.toString()
                                   : fallbackIdentifier;
    const QVariant visualRepresentation = dictionary.value(VisualRepresentationKey);
    if (identifier.isNull() || visualRepresentation.typeId() != QMetaType::QString) {
        return nullptr;
    }
    // Missing or unreadable numbers read as 0.
    const auto keyCode = static_cast<quint16>(dictionary.value(KeyCodeKey).toLongLong());
    const auto modifierFlags =
        static_cast<ModifierFlags>(dictionary.value(ModifierFlagsKey).toULongLong());
    return hotKeyWithIdentifer(identifier, visualRepresentation.toString(), keyCode, modifierFlags);
}

QVariantMap QXHotKey::dictionaryRepresentation() const
{
    QVariantMap dictionary;
    if (!m_identifier.isNull()) {
        dictionary.insert(IdentifierKey, m_identifier);
    }
    const QString text = visualRepresentation();
    if (!text.isNull()) {
        dictionary.insert(VisualRepresentationKey, text);
    }
    dictionary.insert(KeyCodeKey, qint64(m_keyCode));
    dictionary.insert(ModifierFlagsKey, qint64(m_modifierFlags));
    return dictionary;
}

QString QXHotKey::visualRepresentation() const
{
    if (m_visualRepresentation.isNull()) {
        return QString();
    }
    if (m_cachedCorrectedVisualRepresentation.isNull()) {
        m_cachedCorrectedVisualRepresentation = correctedVisualRepresentation();
    }
    return m_cachedCorrectedVisualRepresentation;
}

void QXHotKey::setVisualRepresentation(const QString& visualRepresentation)
{
    if (visualRepresentation == m_visualRepresentation &&
        visualRepresentation.isNull() == m_visualRepresentation.isNull()) {
        return;
    }
    m_visualRepresentation = visualRepresentation;
    m_cachedCorrectedVisualRepresentation = QString();
}

QString QXHotKey::correctedVisualRepresentation() const
{
    if (m_visualRepresentation.isNull()) {
        return QString();
    }
    QString keyName = QXExtension::stringRepresentingKeyCode(m_keyCode, false).value_or(QString());
    if (keyName.isEmpty()) {
        keyName = QXExtension::stringByTrimmingModifierPrefix(m_visualRepresentation);
        if (keyName.isEmpty()) {
            return m_visualRepresentation;
        }
    }
    return QXExtension::stringRepresentingModifierFlags(m_modifierFlags,
                                                        requireExactModifierMatches()) +
           keyName;
}

bool QXHotKey::requireExactModifierMatches()
{
    return setting("Hot Keys Require Exact Modifier Key Matches");
}

bool QXHotKey::ignoreCapsLock()
{
    return !setting("Hot Keys Account For Caps Lock Status");
}

bool QXHotKey::ignoreFunctionKey()
{
    return !setting("Hot Keys Account For Function Key Status");
}

bool QXHotKey::matchesModifierFlags(ModifierFlags flags) const
{
    ModifierFlags event = flags;
    ModifierFlags own = m_modifierFlags;
    if (ignoreCapsLock()) {
        event |= ModifierFlag::CapsLock;
        own |= ModifierFlag::CapsLock;
    }
    if (ignoreFunctionKey()) {
        event |= ModifierFlag::Function;
        own |= ModifierFlag::Function;
    }
    if (requireExactModifierMatches() && (event & ModifierFlag::SideMask) != 0 &&
        (own & ModifierFlag::SideMask) != 0) {
        return ((event ^ own) & (ModifierFlag::DeviceIndependentMask | ModifierFlag::SideMask)) ==
               0;
    }
    return ((event ^ own) & ModifierFlag::DeviceIndependentMask) == 0;
}

bool QXHotKey::matchesEvent(const platform::Event* event) const
{
    if (event == nullptr || !matchesModifierFlags(event->modifierFlags)) {
        return false;
    }
    if (event->type == platform::Event::Type::KeyDown) {
        return event->keyCode == m_keyCode;
    }
    if (event->type == platform::Event::Type::SystemDefined &&
        event->subtype == platform::Event::HotKeyPressedSubtype) {
        // Only a registered hot key has presses of its own.
        return m_hotKeyReference != 0 &&
               quint32(quint64(event->data1)) == quint32(m_hotKeyReference);
    }
    return false;
}

bool QXHotKey::isEqualToHotKey(const QXHotKey* hotKey) const
{
    if (hotKey == this) {
        return true;
    }
    return hotKey != nullptr && hotKey->m_keyCode == m_keyCode &&
           matchesModifierFlags(hotKey->m_modifierFlags);
}

bool QXHotKey::registerForDelegate(QXHotKeyDelegate& delegate, bool testOnly)
{
    if (m_hotKeyReference != 0) {
        if (testOnly) {
            return true;
        }
        unregister();
    }
    m_refusal.reset();
    if (delegate.respondsToHotKeyCanBeLocal()) {
        m_canBeLocal = delegate.hotKeyCanBeLocal(*this);
    }

    QList<std::shared_ptr<QXHotKey>> equals;
    const QList<std::shared_ptr<QXHotKey>> hotKeys = delegate.hotKeys();
    for (const std::shared_ptr<QXHotKey>& other : hotKeys) {
        // A stored hot key the desktop refused holds nothing: recording it
        // again under its own key is how the user tries it once more.
        if (!other || other.get() == this ||
            (!other->isRegistered() && other->identifier() == m_identifier)) {
            continue;
        }
        if (isEqualToHotKey(other.get())) {
            equals.append(other);
        }
    }
    if (!equals.isEmpty()) {
        if (!delegate.respondsToAcceptNonUniqueHotKey() ||
            !delegate.acceptNonUniqueHotKey(*this, equals)) {
            platform::systemLog(
                QStringLiteral("the hot key <%1> is already taken").arg(visualRepresentation()));
            return false;
        }
        // Equal hot keys share one registration.
        for (const std::shared_ptr<QXHotKey>& other : std::as_const(equals)) {
            if (other->m_hotKeyReference != 0) {
                if (!testOnly) {
                    m_hotKeyReference = other->m_hotKeyReference;
                    QXHotKeyReferencePool::defaultPool().push(m_hotKeyReference);
                }
                return true;
            }
        }
    }

    quint32& counter = registrationCounterStorage();
    const quint32 identifier = counter;
    counter = counter >= largestRegistrationIdentifier ? 0 : counter + 1;

    platform::HotKeyService& service = platform::HotKeyService::current();
    platform::HotKeyRefusal refusal = platform::HotKeyRefusal::HeldElsewhere;
    const std::optional<platform::HotKeyHandle> handle = service.registerHotKey(
        m_keyCode, m_modifierFlags, delegate.hotKeySignature(), identifier, &refusal);
    if (!handle) {
        m_refusal = refusal;
        return false;
    }
    if (testOnly) {
        service.unregisterHotKey(*handle);
        return true;
    }
    m_hotKeyReference = *handle;
    QXHotKeyReferencePool::defaultPool().push(m_hotKeyReference);
    return true;
}

void QXHotKey::unregister()
{
    if (m_hotKeyReference == 0) {
        return;
    }
    const platform::HotKeyHandle reference = std::exchange(m_hotKeyReference, 0);
    if (QXHotKeyReferencePool::defaultPool().pop(reference)) {
        platform::HotKeyService::current().unregisterHotKey(reference);
    }
}
