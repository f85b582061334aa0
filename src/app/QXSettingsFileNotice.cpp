#include "app/QXSettingsFileNotice.h"

#include "app/QXNotice.h"
#include "platform/defaults/UserDefaults.h"

#include <QCoreApplication>

namespace QXSettingsFileNotice {
namespace {

Presenter& presenterForTesting()
{
    static Presenter presenter;
    return presenter;
}

bool& shown()
{
    static bool once = false;
    return once;
}

void present(const QString& title, const QString& text)
{
    QXNotice::present(QXNotice::Kind::Warning, title, text, presenterForTesting());
}

} // namespace

bool announce(const platform::UserDefaults& defaults)
{
    const QString reason = defaults.fileUnavailableReason();
    if (reason.isEmpty() || shown()) {
        return false;
    }
    shown() = true;
    present(QCoreApplication::translate("Trovix", "Settings Cannot Be Opened"),
            QCoreApplication::translate(
                "Trovix", "Trovix cannot open its settings file %1 (%2). Until Trovix is started "
                          "again it uses its default settings, and changes to settings are not "
                          "saved, so that the file stays as it is.")
                .arg(defaults.filePath(), reason));
    return true;
}

void setPresenterForTesting(Presenter presenter)
{
    presenterForTesting() = std::move(presenter);
}

} // namespace QXSettingsFileNotice
