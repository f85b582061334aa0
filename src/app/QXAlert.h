#pragma once

#include <QString>
#include <functional>

// Modal alerts with a message, an informative text and one default button.
namespace QXAlert {

void runModal(const QString& message, const QString& informativeText);

// Replaces the dialog (tests record alerts instead of blocking on them); an
// empty function restores it.
using Presenter = std::function<void(const QString& message, const QString& informativeText)>;
void setPresenterForTesting(Presenter presenter);

} // namespace QXAlert
