#pragma once

#include "platform/accessibility/AccessibilityElement.h"

#include <QObject>
#include <QStringList>
#include <memory>
#include <optional>

namespace platform {

// Which menus a menu bar read ahead reads beyond the menu bar's own items:
// none (nothing), all of them (an empty list) or those whose titles are
// listed (lower case). Menus not read are read when they are first opened.
using MenuBarReadDepth = std::optional<QStringList>;

// An application's menu bar read while the caller's event loop goes on, kept
// to be shown later without asking the application again: the titles,
// roles, states, marks and key equivalents of the menu bar's items, and of
// the items of the menus the depth names, answer from memory. Anything else
// is asked of the application when it is first read, and pressing an item
// presses the application's own. The read finishes once; destroying it
// stops it.
class MenuBarRead : public QObject
{
    Q_OBJECT

public:
    // A read that has already finished with menuBar (a null one: none).
    static std::unique_ptr<MenuBarRead> finishedWith(AccessibilityElement menuBar);

    bool isFinished() const { return m_finished; }
    // The menu bar, with the window menu as its first child like
    // "AXMenuBar"; null until the read finished, and when the application
    // has none, did not answer in time or published more than is read.
    const AccessibilityElement& menuBar() const { return m_menuBar; }
    // The menu bar for one pop-up. Where the application does not tell
    // about changes to its menus, this one asks for its entries again when
    // they are first read (still saving the search for the menu bar and
    // every request for what the application keeps the same).
    virtual AccessibilityElement menuBarForPopUp() const { return m_menuBar; }
    // The menu bar for one pop-up that shows what was read as it was read,
    // even where the application does not tell about changes (the caller
    // then checks it with another read). What the pop-up reads beyond it is
    // asked for again by every such pop-up.
    virtual AccessibilityElement menuBarAsRead() const { return m_menuBar; }
    // Whether pop-ups show what was read as it is, asking nothing again:
    // the application tells about every change to its menus.
    virtual bool isShownAsRead() const { return true; }
    // Whether this read and an earlier one of the same application found
    // the same menus: the same entries in the same order, with the same
    // titles, roles, enabled, visible and check states and key bindings.
    // False when either found no menu bar, or when the backend cannot tell.
    virtual bool readSameMenusAs(const MenuBarRead& earlier) const
    {
        Q_UNUSED(earlier);
        return false;
    }

Q_SIGNALS:
    void finished();

protected:
    MenuBarRead() = default;
    // Finishes (once) with menuBar and tells about it.
    void finish(AccessibilityElement menuBar);

private:
    AccessibilityElement m_menuBar;
    bool m_finished = false;
};

} // namespace platform
