#pragma once

#include <QLatin1StringView>

namespace platform::accessibility {

// Attribute, role and action names shared by the backends and the program.
inline constexpr QLatin1StringView MenuBarAttribute{"AXMenuBar"};
inline constexpr QLatin1StringView ChildrenAttribute{"AXChildren"};
inline constexpr QLatin1StringView TitleAttribute{"AXTitle"};
inline constexpr QLatin1StringView RoleAttribute{"AXRole"};
inline constexpr QLatin1StringView EnabledAttribute{"AXEnabled"};
inline constexpr QLatin1StringView PositionAttribute{"AXPosition"};
inline constexpr QLatin1StringView CmdCharAttribute{"AXMenuItemCmdChar"};
inline constexpr QLatin1StringView CmdVirtualKeyAttribute{"AXMenuItemCmdVirtualKey"};
inline constexpr QLatin1StringView CmdModifiersAttribute{"AXMenuItemCmdModifiers"};
inline constexpr QLatin1StringView MarkCharAttribute{"AXMenuItemMarkChar"};
inline constexpr QLatin1StringView PrimaryUIElementAttribute{"AXMenuItemPrimaryUIElement"};

inline constexpr QLatin1StringView ApplicationRole{"AXApplication"};
inline constexpr QLatin1StringView MenuBarRole{"AXMenuBar"};
inline constexpr QLatin1StringView MenuBarItemRole{"AXMenuBarItem"};
inline constexpr QLatin1StringView MenuRole{"AXMenu"};
inline constexpr QLatin1StringView MenuItemRole{"AXMenuItem"};

inline constexpr QLatin1StringView PressAction{"AXPress"};

// The check mark characters of "AXMenuItemMarkChar".
inline constexpr char16_t CheckedMark = u'\u2713';
inline constexpr char16_t MixedMark = u'-';

// Bits of "AXMenuItemCmdModifiers", the menu-glyph encoding.
inline constexpr int ShiftModifierBit = 1;
inline constexpr int OptionModifierBit = 2;
inline constexpr int ControlModifierBit = 4;
inline constexpr int NoCommandModifierBit = 8;

} // namespace platform::accessibility
