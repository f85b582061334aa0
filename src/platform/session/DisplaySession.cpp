#include "platform/session/DisplaySession.h"

#include <QCoreApplication>

namespace platform {

DisplaySession DisplaySession::fromEnvironment(const QProcessEnvironment& environment)
{
    DisplaySession session;
    const QString sessionType = environment.value(QStringLiteral("XDG_SESSION_TYPE")).trimmed();
    session.wayland = !environment.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty() ||
                      sessionType.compare(QLatin1String("wayland"), Qt::CaseInsensitive) == 0;
    session.x11Display = !environment.value(QStringLiteral("DISPLAY")).isEmpty();
    session.platformChosen = !environment.value(QStringLiteral("QT_QPA_PLATFORM")).isEmpty();
    return session;
}

QString DisplaySession::requiredQtPlatform() const
{
    return wayland && x11Display && !platformChosen ? QStringLiteral("xcb") : QString();
}

QString DisplaySession::limitations() const
{
    if (!wayland) {
        return {};
    }
    if (!x11Display) {
        return QCoreApplication::translate(
            "Trovix", "Trovix cannot run in this Wayland session: it needs XWayland, and "
                      "DISPLAY is not set. Turn XWayland on in the compositor, or log in to an "
                      "X11 session.");
    }
    return QCoreApplication::translate(
        "Trovix", "Trovix runs in a Wayland session through XWayland, where only part of it "
                  "works. What works: reading the menus of applications on the accessibility "
                  "bus, and the menu popping up over X11 applications. What does not: the right "
                  "click and the hot keys reach Trovix only while an X11 window has the keyboard "
                  "focus; the application in front is found only when it is an X11 application "
                  "and the compositor reports it; the pointer position is known only over X11 "
                  "windows. For all of Trovix, log in to an X11 session.");
}

} // namespace platform
