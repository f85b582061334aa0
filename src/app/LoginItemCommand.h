#pragma once

#include <QStringList>
#include <QTextStream>

// `trovix login-item on|off|status`: what the preferences window's "start at
// login" check box does, from a terminal. status prints "on" or "off" (and
// says so on err when Trovix cannot change it); on and off switch it. arguments
// are the words after "login-item". Answers the process exit status: 0 on
// success, 1 on bad input or when the switch failed or is not possible here.
int runLoginItemCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);
