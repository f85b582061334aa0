#pragma once

namespace platform::atspi {

// How far below a window a menu bar is looked for.
inline constexpr int MenuBarSearchDepth = 4;

// Whether an object with that AT-SPI role may hold a window's menu bar
// somewhere below it: menus, lists, text, buttons, bars and documents never
// do, so the search does not go down into them.
bool mayHoldMenuBar(unsigned int role);

} // namespace platform::atspi
