#pragma once

#include "platform/accessibility/AccessibilityElement.h"

namespace platform {

// Keeps one walk through another application's menus finite, whatever
// shape the application publishes: menus nest at most DepthLimit deep, a
// menu the walk has been into already (a tree that loops, or lists the same
// submenu again) is not walked again, and at most MenuLimit menus are
// walked in all.
class MenuWalkLimits
{
public:
    // Deeper than any real menu; the menu bar's own menus are at depth 1.
    static constexpr int DepthLimit = 16;
    // More menus than any real application has.
    static constexpr int MenuLimit = 2000;

    // Whether the walk may go into menu at depth; when it may, the menu
    // counts as walked.
    bool enter(const AccessibilityElement& menu, int depth);
    // Counts menu as walked without going into it (the menus above the one
    // a walk starts in).
    void markWalked(const AccessibilityElement& menu);

    int menusWalked() const { return int(m_walked.size()); }

private:
    bool walked(const AccessibilityElement& menu) const;

    AccessibilityElementList m_walked;
};

} // namespace platform
