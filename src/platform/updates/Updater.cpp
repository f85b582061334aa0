#include "platform/updates/Updater.h"

#include "platform/InstalledInstance.h"
#include "platform/bundle/Bundle.h"
#include "platform/defaults/UserDefaults.h"
#include "platform/updates/appcast/AppcastUpdater.h"

namespace platform {

Updater::~Updater() = default;

Updater& Updater::current()
{
    return InstalledInstance<Updater>::get([]() -> std::unique_ptr<Updater> {
        const Bundle& bundle = Bundle::main();
        QString version = bundle.infoString(QStringLiteral("CFBundleVersion"));
        if (version.isEmpty()) {
            version = QStringLiteral(TROVIX_VERSION);
        }
        return std::make_unique<AppcastUpdater>(version);
    });
}

void Updater::setCurrent(std::unique_ptr<Updater> updater)
{
    InstalledInstance<Updater>::set(std::move(updater));
}

QUrl Updater::configuredFeedURL()
{
    QString address = UserDefaults::standard().stringForKey(UpdaterSettingsKeys::FeedURL).trimmed();
    if (address.isEmpty()) {
        address = Bundle::main().infoString(UpdaterSettingsKeys::FeedURL).trimmed();
    }
    return QUrl(address, QUrl::StrictMode);
}

} // namespace platform
