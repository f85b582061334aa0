#pragma once

#include <QStringList>
#include <QTextStream>

// `trovix key-label [--follow] CODE...`: prints the label of each virtual key
// code, one line each, as menus and hot key fields show it in the current
// keyboard layout (an empty line for a key without one). With --follow it
// then reads lines of codes from standard input and answers each the same
// way, following layout changes, until the input ends. arguments are the words
// after "key-label"; a running QGuiApplication is needed. Answers the exit
// status: 0, or 1 when a word is not a key code or nothing was asked.
int runKeyLabelCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);

// The command as the program's entry point runs it: on the X display named by
// DISPLAY, whatever platform the environment asks Qt for.
int keyLabelCommandMain(int argc, char** argv);
