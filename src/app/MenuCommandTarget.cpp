#include "app/MenuCommandTarget.h"

#include "app/AccessibilityExplanation.h"
#include "foundation/QXLocalized.h"
#include "menus/QXAccessibility.h"
#include "platform/accessibility/Accessibility.h"
#include "platform/workspace/Workspace.h"

bool prepareMenuCommandAccessibility(QTextStream& err)
{
    if (!QXAccessibilityIsTrusted(false)) {
        // A missing part (no session bus, no accessibility service) is named
        // as the pop-up's alert names it: turning accessibility on would not
        // help.
        const platform::AccessibilityUnavailability unavailability =
            QXAccessibilityUnavailability();
        if (unavailability.reason == platform::AccessibilityUnavailability::Reason::Missing) {
            err << QXLocalized::tr("trovix: %1")
                       .arg(accessibilityUnavailableExplanation(unavailability))
                << '\n';
            return false;
        }
        err << QXLocalized::tr(
                   "trovix: accessibility is off; turn it on for the session and restart the "
                   "application")
            << '\n';
        return false;
    }
    QXAccessibilityPrepare();
    return true;
}

platform::RunningApplication menuCommandApplication(qint64 pid, QTextStream& err)
{
    platform::Workspace& workspace = platform::Workspace::current();
    const platform::RunningApplication application =
        pid > 0 ? workspace.runningApplication(pid) : workspace.frontmostApplication();
    if (application.isNull()) {
        err << (pid > 0 ? QXLocalized::tr("trovix: no process %1").arg(pid)
                        : QXLocalized::tr("trovix: there is no frontmost application"))
            << '\n';
    }
    return application;
}

bool reportMissingAccessibilityBridge(qint64 pid, const QString& name, QTextStream& err)
{
    if (!platform::Accessibility::current().lacksAccessibilityBridge(pid)) {
        return false;
    }
    err << QXLocalized::tr("trovix: %1 (pid %2) is a GTK 2 application started without its "
                           "accessibility bridge; \"trovix show help troubleshooting\" says how "
                           "to load it")
               .arg(name)
               .arg(pid)
        << '\n';
    return true;
}
