#pragma once

#include "help/QXHelpManager.h"

#include <QHash>
#include <QString>

// The settings a help page may change through its links, each with the kind
// of value Trovix reads it as and, where the preferences window offers a list
// of numbers, the numbers it offers: a link cannot store what the window
// could not.
QHash<QString, QXHelpManager::SettingRule> QXHelpLinkSettings();
