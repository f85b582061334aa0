#pragma once

namespace platform::atspi {

// How far below a window a menu bar is looked for: some toolkits put it
// five levels down (panel, panel, scroll pane, viewport).
inline constexpr int MenuBarSearchDepth = 6;

// Whether an object with that AT-SPI role may hold a window's menu bar
// somewhere below it: menus, lists, text, buttons, status and scroll bars
// and documents never do, so the search does not go down into them. A tool
// bar may: browsers keep the menu bar in the tool box at the window's top.
bool mayHoldMenuBar(unsigned int role);

} // namespace platform::atspi
