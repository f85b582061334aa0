#pragma once

#include "platform/input/Event.h"
#include "platform/input/ModifierFlags.h"

#include <QtGlobal>
#include <functional>

// The right-click trigger: a right click made anywhere while the chosen
// modifier is held pops up the menu of the application the user works in, or
// with Shift held as well the menu of all applications. Clicks without the
// modifier never reach the program.

// Turns the trigger on (taking the clicks made with the current modifier) or
// off. Turning it on while it is on changes nothing. When the desktop refuses
// the clicks, "invalid port" is logged and the trigger stays off.
void QXSetRightClickTriggerEnabled(bool enabled);
bool QXIsRightClickTriggerEnabled();

// What a taken click does: pops up a menu, of all applications or not, and
// answers whether it handled the click. The main controller sets it.
using QXRightClickTriggerAction = std::function<bool(bool allApplications)>;
void QXSetRightClickTriggerAction(QXRightClickTriggerAction action);

// Handles one event of the trigger; answers whether the event was taken.
bool QXRightClickTapCallback(const platform::Event& event);

// The process-wide modifier choice, a copy of "Enable Right Click Trigger:
// Modifier": 1 Option, 2 Control, 3 Function, anything else Command. While
// the trigger is on, a new choice takes effect at once; a change of the
// stored setting (by the preferences window or `trovix defaults write`) is
// followed by itself.
qint64 QXRightClickTriggerModifier();
void QXSetRightClickTriggerModifier(qint64 modifier);

// The modifier flag that a choice requires.
platform::ModifierFlags QXRequiredFlagForRightClickModifier(qint64 modifier);
