#pragma once

#include "platform/accessibility/MenuKeyBinding.h"

#include <QList>
#include <QString>
#include <QtGlobal>
#include <atspi/atspi-constants.h>
#include <optional>

namespace platform::atspi {

// What an application answers about one menu item or menu, turned into what
// the program reads. Everything here is outside input: lengths and counts
// are capped before anything is built from them.

// The longest title kept; a longer one is cut and ends in an ellipsis.
inline constexpr int MaximumTitleLength = 1000;
// The longest key binding text that is parsed; a longer one names no key.
inline constexpr int MaximumKeyBindingLength = 256;
// The children of a Qt menu item that are looked at for its popup menu (a
// real item has one).
inline constexpr int SubmenuProbeLimit = 8;

// An item's title from its name (UTF-8, possibly null): trimmed, cut to
// MaximumTitleLength characters, without reading more of the name than
// that takes.
QString itemTitle(const char* name);

// The states the program reads, from the two words of an AT-SPI state set;
// nothing known when there was no answer.
struct ItemStates
{
    bool valid = false;
    bool enabled = false;
    bool visible = false;
    bool showing = false;
    bool checked = false;
    bool indeterminate = false;
};
ItemStates itemStates(std::optional<quint64> bits);
// The state set's bit of one state.
constexpr quint64 stateBit(AtspiStateType state)
{
    return int(state) < 64 ? quint64(1) << int(state) : 0;
}

// Whether a toolkit name is GTK's: GTK 3 and 4 call themselves "GTK", GTK 2
// (through its accessibility bridge) "GAIL". GTK marks hidden items by a
// missing VISIBLE state and publishes the entries of closed menus.
bool isGtkToolkit(const QString& name);

// How many of the children a menu reports are read, and how many are left
// out: at most MaximumMenuChildren are read, a negative count reads none.
struct ChildrenToRead
{
    int read = 0;
    qint64 omitted = 0;
};
ChildrenToRead childrenToRead(qint64 reportedCount);

// The key equivalent of an item from the key binding text its toolkit
// publishes, in whichever form it is written; nothing for an empty or
// overlong text or one that names no key.
std::optional<MenuKeyBinding> itemKeyBinding(const QString& text, const QString& title);

// Which child of a Qt menu item holds its submenu's entries, from the roles
// of its first children (nothing where a role is unknown); -1 when none.
int submenuChildIndex(const QList<std::optional<AtspiRole>>& roles);

} // namespace platform::atspi
