#pragma once

#include <QString>
#include <functional>

// A notice the program shows once in a while (a session it only partly
// works in, a settings file it cannot open): a message box that does not
// block, titled and named for accessibility after its title.
namespace QXNotice {

// Tests take the notice here instead of a message box.
using Presenter = std::function<void(const QString& title, const QString& text)>;

enum class Kind
{
    Information,
    Warning
};

// Hands the notice to presenter when one is set; else opens the message box
// when the program has a user interface, and does nothing without one.
void present(Kind kind, const QString& title, const QString& text, const Presenter& presenter);

} // namespace QXNotice
