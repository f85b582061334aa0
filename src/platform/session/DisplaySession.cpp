#include "platform/session/DisplaySession.h"

#include <QCoreApplication>
#include <optional>

namespace platform {

namespace {

// Compositors built on wlroots, by the names they give XDG_CURRENT_DESKTOP.
const QStringList WlrootsDesktops = {QStringLiteral("sway"),    QStringLiteral("wlroots"),
                                     QStringLiteral("river"),   QStringLiteral("labwc"),
                                     QStringLiteral("wayfire"), QStringLiteral("dwl"),
                                     QStringLiteral("hikari")};

// The first desktop of a colon-separated list ("ubuntu:GNOME") that is known.
std::optional<DisplaySession::Desktop> desktopNamed(const QString& names)
{
    for (const QString& entry : names.split(u':', Qt::SkipEmptyParts)) {
        const QString name = entry.trimmed().toLower();
        if (name == QLatin1String("gnome") || name == QLatin1String("gnome-classic") ||
            name == QLatin1String("gnome-flashback")) {
            return DisplaySession::Desktop::Gnome;
        }
        if (name == QLatin1String("kde") || name == QLatin1String("plasma") ||
            name == QLatin1String("plasmawayland")) {
            return DisplaySession::Desktop::Kde;
        }
        if (WlrootsDesktops.contains(name)) {
            return DisplaySession::Desktop::Wlroots;
        }
    }
    return std::nullopt;
}

} // namespace

DisplaySession DisplaySession::fromEnvironment(const QProcessEnvironment& environment)
{
    DisplaySession session;
    const QString sessionType = environment.value(QStringLiteral("XDG_SESSION_TYPE")).trimmed();
    session.wayland = !environment.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty() ||
                      sessionType.compare(QLatin1String("wayland"), Qt::CaseInsensitive) == 0;
    session.x11Display = !environment.value(QStringLiteral("DISPLAY")).isEmpty();
    session.platformChosen = !environment.value(QStringLiteral("QT_QPA_PLATFORM")).isEmpty();
    std::optional<Desktop> desktop =
        desktopNamed(environment.value(QStringLiteral("XDG_CURRENT_DESKTOP")));
    if (!desktop) {
        desktop = desktopNamed(environment.value(QStringLiteral("XDG_SESSION_DESKTOP")));
    }
    if (!desktop && !environment.value(QStringLiteral("SWAYSOCK")).isEmpty()) {
        desktop = Desktop::Wlroots;
    }
    session.desktop = desktop.value_or(Desktop::Other);
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
    QString hotKeys;
    switch (desktop) {
    case Desktop::Gnome:
        hotKeys = QCoreApplication::translate(
            "Trovix", "Hot keys on GNOME: record them in the preferences. Where GNOME offers "
                      "global shortcuts (GNOME 48 and later) it asks you to allow them; on older "
                      "versions Trovix adds them, once you agree, as custom shortcuts in GNOME's "
                      "keyboard settings.");
        break;
    case Desktop::Kde:
        hotKeys = QCoreApplication::translate(
            "Trovix", "Hot keys on KDE Plasma: record them in the preferences. Plasma keeps them "
                      "as global shortcuts, which you find again in System Settings under "
                      "Shortcuts.");
        break;
    case Desktop::Wlroots:
        hotKeys = QCoreApplication::translate(
            "Trovix", "Hot keys on sway and other wlroots desktops belong to the compositor: add "
                      "the line the preferences show under each hot key (bindsym ... exec trovix "
                      "popup) to the compositor's configuration and reload it.");
        break;
    case Desktop::Other:
        hotKeys = QCoreApplication::translate(
            "Trovix", "Hot keys: record them in the preferences where the desktop offers global "
                      "shortcuts through its portal; elsewhere bind a key in the desktop's own "
                      "settings to the command trovix popup (trovix popup --all for all "
                      "applications).");
        break;
    }
    return QCoreApplication::translate(
               "Trovix",
               "Trovix runs in this Wayland session through XWayland. What works: the menus of "
               "the application in front, Wayland applications included, open at the pointer, "
               "and choosing an item runs it in the application.") +
           u' ' + hotKeys + u' ' +
           QCoreApplication::translate(
               "Trovix",
               "The right click trigger is not offered: under Wayland only the compositor sees "
               "clicks in other applications' windows.");
}

} // namespace platform
