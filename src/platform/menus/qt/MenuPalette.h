#pragma once

#include "platform/menus/Menu.h"

#include <QPalette>

namespace platform {

// The colours of a menu drawn in a fixed light or dark appearance, whatever
// the desktop's colours are.
namespace MenuPalette {

// The light or dark palette; for Menu::Appearance::System an empty palette,
// which leaves a menu with the desktop's colours.
QPalette forAppearance(Menu::Appearance appearance);

} // namespace MenuPalette
} // namespace platform
