#include "platform/input/desktop/DesktopHotKeyChoice.h"

#include <QRegularExpression>

namespace platform::DesktopHotKeyChoice {

bool needsDesktop(const QProcessEnvironment& environment)
{
    return !environment.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty() ||
           environment.value(QStringLiteral("XDG_SESSION_TYPE"))
                   .trimmed()
                   .compare(QLatin1String("wayland"), Qt::CaseInsensitive) == 0;
}

namespace {

bool names(const QString& currentDesktop, QLatin1String desktop)
{
    const QStringList names = currentDesktop.split(u':', Qt::SkipEmptyParts);
    return std::any_of(names.cbegin(), names.cend(), [desktop](const QString& name) {
        return name.trimmed().compare(desktop, Qt::CaseInsensitive) == 0;
    });
}

} // namespace

bool isGnome(const QString& currentDesktop)
{
    return names(currentDesktop, QLatin1String("GNOME"));
}

bool isKde(const QString& currentDesktop)
{
    return names(currentDesktop, QLatin1String("KDE"));
}

HotKeyMechanism choose(const QString& currentDesktop, uint portalVersion, bool sandboxed)
{
    if (isKde(currentDesktop) && !sandboxed) {
        return HotKeyMechanism::KdeService;
    }
    if (portalVersion >= 1) {
        return HotKeyMechanism::Portal;
    }
    if (isGnome(currentDesktop)) {
        return HotKeyMechanism::GnomeSettings;
    }
    return HotKeyMechanism::ConfigurationLine;
}

QString commandLineText(const QStringList& command)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_@%+=:,./-]+$"));
    QStringList words;
    for (const QString& word : command) {
        if (plain.match(word).hasMatch()) {
            words.append(word);
        } else {
            QString quoted = word;
            quoted.replace(u'\'', QLatin1String("'\\''"));
            words.append(u'\'' + quoted + u'\'');
        }
    }
    return words.join(u' ');
}

} // namespace platform::DesktopHotKeyChoice
