#pragma once

#include <QStringList>
#include <QTextStream>

// `trovix defaults read [KEY]`, `write KEY [-bool|-int|-float|-string] VALUE`,
// `write KEY -dict KEY [TYPE] VALUE ...`, `write KEY -array [TYPE] VALUE ...`
// and `delete KEY` on the standard settings store, written at once. arguments
// are the words after "defaults". Output goes to out, messages to err.
// Answers the process exit status: 0 on success, 1 on a missing key or bad
// input (nothing is written then).
int runDefaultsCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);
