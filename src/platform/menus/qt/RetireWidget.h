#pragma once

class QWidget;

namespace platform {

// Deletes a window that keys may have been typed into (a menu, the search)
// once no key held for it elsewhere can still arrive; takes the ownership of
// widget.
//
// While accessibility is on, Qt's bridge to it holds every key typed into
// the program until the accessibility registry has seen it (it waits at most
// 100 ms), then posts a copy of the key to the window it was typed into. A
// copy whose window is gone by then is never freed, so a window that closes
// on a key (Return, Escape) and is deleted at once loses the keys typed just
// after, and leaks them.
//
// The widget hides at once and ignores input from then on (a held key that
// comes back must not move in a menu that has closed, let alone choose an
// item), and is deleted two seconds later. A widget still waiting when the
// program ends stays reachable until the process exits: widgets cannot be
// deleted once the application object is gone.
void retireWidget(QWidget* widget);

// Retires instead of deleting: the deleter of a std::unique_ptr that owns
// such a widget.
struct RetiringDelete
{
    void operator()(QWidget* widget) const { retireWidget(widget); }
};

} // namespace platform
