#include "app/QXDisplaySessionNotice.h"

#include "app/QXNotice.h"
#include "app/QXSettingsKeys.h"
#include "platform/defaults/UserDefaults.h"
#include "platform/log/SystemLog.h"

#include <QCoreApplication>

namespace QXDisplaySessionNotice {
namespace {

Presenter& presenterForTesting()
{
    static Presenter presenter;
    return presenter;
}

void present(const QString& title, const QString& text)
{
    QXNotice::present(QXNotice::Kind::Information, title, text, presenterForTesting());
}

} // namespace

bool announce(const platform::DisplaySession& session, platform::UserDefaults& defaults)
{
    const QString text = session.limitations();
    if (text.isEmpty()) {
        return false;
    }
    platform::systemLog(text);
    if (defaults.boolForKey(QXSettingsKeys::WaylandNoticeShown)) {
        return false;
    }
    defaults.setBool(true, QXSettingsKeys::WaylandNoticeShown);
    present(QCoreApplication::translate("Trovix", "Trovix in a Wayland Session"), text);
    return true;
}

void setPresenterForTesting(Presenter presenter)
{
    presenterForTesting() = std::move(presenter);
}

} // namespace QXDisplaySessionNotice
