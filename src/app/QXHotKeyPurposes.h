#pragma once

#include "platform/input/HotKeyService.h"

#include <QString>
#include <functional>

class QWidget;

// What each of the program's hot keys is for, as a desktop that binds keys
// itself lists it: a name that stays the same, a description, and the
// `trovix popup` command that does the same as the hot key.
namespace QXHotKeyPurposes {

// The purpose of the hot key stored under the settings key identifier.
platform::HotKeyPurpose purposeForIdentifier(const QString& identifier);

// Asks the user whether Trovix may add its hot keys to the desktop's own
// keyboard settings; answers yes or no. Tests replace the question; an empty
// function restores it.
bool askToChangeDesktopSettings(QWidget* parent);
using Question = std::function<bool()>;
void setQuestionForTesting(Question question);

} // namespace QXHotKeyPurposes
