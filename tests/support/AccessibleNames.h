#pragma once

#include <QStringList>

class QWidget;

// What a screen reader finds unnamed in window: every control on screen
// that a user reaches (one that takes the keyboard focus, a button, a list,
// a text view, a label showing text or a picture) must have a name: its own,
// the one Qt gives it from its text, or its label's. Answers each unnamed
// control as
// "class objectName"; a window that shows no control at all answers that
// too, so that a window not on screen never passes.
//   QCOMPARE(unnamedControls(window), QStringList());
QStringList unnamedControls(const QWidget* window);
