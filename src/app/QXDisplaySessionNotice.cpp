#include "app/QXDisplaySessionNotice.h"

#include "app/QXSettingsKeys.h"
#include "platform/defaults/UserDefaults.h"
#include "platform/log/SystemLog.h"

#include <QApplication>
#include <QMessageBox>

namespace QXDisplaySessionNotice {
namespace {

Presenter& presenterForTesting()
{
    static Presenter presenter;
    return presenter;
}

void present(const QString& title, const QString& text)
{
    if (presenterForTesting()) {
        presenterForTesting()(title, text);
        return;
    }
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        return;
    }
    auto* box = new QMessageBox(QMessageBox::Information, title, text, QMessageBox::Ok);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setAccessibleName(title);
    box->open();
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
