#pragma once

#include <QString>
#include <optional>
#include <xkbcommon/xkbcommon.h>

namespace platform {

// The character a key gives with no modifier held in one layout group of a
// keymap (groups past the key's last wrap around as the server does).
// Nothing for an unknown key, a dead key, a key with no text or one that
// gives a control character.
std::optional<QString> unmodifiedCharacterForKey(xkb_keymap* keymap, xkb_keycode_t keycode,
                                                 xkb_layout_index_t group);

// The text a key gives in a keyboard state with the X modifier state and
// locked group given, control characters included (Control+A gives U+0001).
QString textForKey(xkb_keymap* keymap, xkb_keycode_t keycode, quint16 xModifierState,
                   xkb_layout_index_t group);

} // namespace platform
