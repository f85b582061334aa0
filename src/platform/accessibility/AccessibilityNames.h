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
// How many children a menu has beyond those its "AXChildren" listed, when the
// list was cut at MaximumMenuChildren; absent or 0 when nothing was cut.
inline constexpr QLatin1StringView OmittedChildCountAttribute{"AXOmittedChildCount"};
// An application's menu bar as one request reads it whole, where the
// application answers such a request: titles, roles, states and entries come
// with it, so that walking its menus costs only a request or two per menu.
// Absent where the application answers no such request (then its
// "AXMenuBar" is read).
inline constexpr QLatin1StringView WholeMenuBarAttribute{"AXWholeMenuBar"};

inline constexpr QLatin1StringView ApplicationRole{"AXApplication"};
inline constexpr QLatin1StringView MenuBarRole{"AXMenuBar"};
inline constexpr QLatin1StringView MenuBarItemRole{"AXMenuBarItem"};
inline constexpr QLatin1StringView MenuRole{"AXMenu"};
inline constexpr QLatin1StringView MenuItemRole{"AXMenuItem"};

inline constexpr QLatin1StringView PressAction{"AXPress"};

// The most children of one menu any backend lists: an application may claim
// any number, and each one listed can cost a request.
inline constexpr int MaximumMenuChildren = 2000;

// The check mark characters of "AXMenuItemMarkChar".
inline constexpr char16_t CheckedMark = u'\u2713';
inline constexpr char16_t MixedMark = u'-';

// Bits of "AXMenuItemCmdModifiers", the menu-glyph encoding.
inline constexpr int ShiftModifierBit = 1;
inline constexpr int OptionModifierBit = 2;
inline constexpr int ControlModifierBit = 4;
inline constexpr int NoCommandModifierBit = 8;

} // namespace platform::accessibility
