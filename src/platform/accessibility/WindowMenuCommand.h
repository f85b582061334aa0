#pragma once

#include <QString>

namespace platform {

// The commands of the window menu that backends place at index 0 of every
// menu bar, where the program expects the system menu.
enum class WindowMenuCommand
{
    Minimize,
    Maximize,
    Restore,
    KeepAbove,
    Close
};

// The title of the window menu itself and of its commands, translated.
QString windowMenuTitle();
QString windowMenuCommandTitle(WindowMenuCommand command);

} // namespace platform
