// What the desktop's settings hold about shortcuts is outside input: the list
// of GNOME's custom shortcut paths as gsettings prints it (the user and other
// programs write it), and key combinations in the portal's, sway's and
// GNOME's texts. A list that reads is written back unchanged and reads the
// same again; a combination that reads writes back to a text that reads as
// the same combination. KWin's report of where its cursor is comes over the
// session bus, where any program can send it: one that reads is a point
// within the bounds of a layout, and stays within them scaled to any desktop. Settings values may
// be large, so inputs reach two megabytes (past the list's cap of one). fuzz-max-len: 2097152
#include "platform/input/KeyCombinationText.h"
#include "platform/input/gnome/GnomeShortcutList.h"
#include "platform/pointer/kde/KWinCursorQuery.h"

#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace platform;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (const std::optional<QStringList> paths = GnomeShortcutList::parse(text)) {
        if (GnomeShortcutList::parse(GnomeShortcutList::format(*paths)) != paths) {
            abort();
        }
    }
    namespace Text = KeyCombinationText;
    if (const auto combination = Text::fromPortalTrigger(text)) {
        if (Text::fromPortalTrigger(Text::portalTrigger(*combination)) != combination) {
            abort();
        }
    }
    if (const auto combination = Text::fromSwayBinding(text)) {
        if (Text::fromSwayBinding(Text::swayBinding(*combination)) != combination) {
            abort();
        }
    }
    if (const auto combination = Text::fromGnomeAccelerator(text)) {
        if (Text::fromGnomeAccelerator(Text::gnomeAccelerator(*combination)) != combination) {
            abort();
        }
    }
    if (const auto cursor = KWinCursorQuery::parseReport(text)) {
        constexpr int bound = 1 << 24;
        const QPoint scaled = KWinCursorQuery::scaledTo(*cursor, QSize(bound, bound));
        if (std::abs(cursor->position.x()) > bound || std::abs(cursor->position.y()) > bound ||
            cursor->layout.isEmpty() || std::abs(scaled.x()) > bound ||
            std::abs(scaled.y()) > bound) {
            abort();
        }
    }
    return 0;
}
