#pragma once

#include <QStringList>
#include <QTextStream>

// `trovix defaults read [KEY]`, `write KEY [-bool|-int|-float|-string|-dict] VALUE...`
// and `delete KEY` on the program's settings file. arguments are the words
// after "defaults". Answers the process exit status: 0 on success, 1 on a
// missing key or bad input (nothing is written then).
int runDefaultsCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);
