#include "app/QXDefaultsRegistration.h"

#include "app/QXSettingsKeys.h"
#include "platform/defaults/UserDefaults.h"

namespace QXDefaultsRegistration {

QVariantMap registeredDefaults()
{
    using namespace QXSettingsKeys;
    return {
        {ApplicationMode, qint64(1)},
        {ApplicationMenuItemsReopen, true},
        {ApplicationMenuItemsEmphasizeFrontmostApplication, true},
        {EnableRightClickTrigger, true},
        {SkipHiddenMenuItems, true},
        {MoveAppleMenuToEnd, true},
        {ShowKeyEquivalents, true},
        {SearchMenusWhileTyping, true},
        {FastTrack, QStringLiteral("BBEdit > Text\nEagleFiler > Format")},
    };
}

void registerDefaults(platform::UserDefaults& defaults)
{
    defaults.registerDefaults(registeredDefaults());
}

bool flatUserInterfaceDrawing(platform::UserDefaults& defaults)
{
    if (!defaults.registeredDefaults().contains(QXSettingsKeys::FlatUserInterfaceDrawing)) {
        defaults.registerDefaults({{QXSettingsKeys::FlatUserInterfaceDrawing, true}});
    }
    return defaults.boolForKey(QXSettingsKeys::FlatUserInterfaceDrawing);
}

} // namespace QXDefaultsRegistration
