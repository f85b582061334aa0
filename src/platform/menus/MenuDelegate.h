#pragma once

#include "platform/input/ModifierFlags.h"

#include <QString>

namespace platform {

class Menu;

// Takes part in a menu's life: fills it just before it opens and tells whether
// it claims a key equivalent. Both methods are optional; callers ask with the
// respondsTo... member before calling one.
class MenuDelegate
{
public:
    virtual ~MenuDelegate();

    // Whether menuNeedsUpdate() is implemented.
    virtual bool respondsToMenuNeedsUpdate() const { return true; }
    // Called just before the menu opens (and whenever its owner asks for an
    // update); the delegate may add, remove or change items, or rebuild the
    // menu from scratch.
    virtual void menuNeedsUpdate(Menu& menu);

    // Whether menuHasKeyEquivalent() is implemented.
    virtual bool respondsToMenuHasKeyEquivalent() const { return false; }
    // Whether the menu holds an item with the key equivalent key under the
    // modifiers; lets a lazily filled menu say no without being filled.
    virtual bool menuHasKeyEquivalent(Menu& menu, const QString& key, ModifierFlags modifiers);

protected:
    MenuDelegate() = default;
    MenuDelegate(const MenuDelegate&) = default;
    MenuDelegate& operator=(const MenuDelegate&) = default;
};

} // namespace platform
