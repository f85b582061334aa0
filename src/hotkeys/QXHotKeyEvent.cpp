#include "hotkeys/QXHotKeyEvent.h"

#include "foundation/QXExtension.h"
#include "hotkeys/QXHotKey.h"

namespace QXHotKeyEvent {

QString visualKeyboardEventRepresentation(const platform::Event& event)
{
    const QString modifiers = QXExtension::stringRepresentingModifierFlags(
        event.modifierFlags, QXHotKey::requireExactModifierMatches());
    const std::optional<QString> keyName =
        QXExtension::stringRepresentingKeyCode(event.keyCode, false);
    if (keyName && !keyName->isEmpty()) {
        return modifiers + *keyName;
    }
    return modifiers + QXExtension::keyboardLabelString(event.charactersIgnoringModifiers);
}

} // namespace QXHotKeyEvent
