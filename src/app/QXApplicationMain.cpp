#include "app/QXApplicationMain.h"

#include "app/QXDebugLogging.h"
#include "app/QXDisplaySessionNotice.h"
#include "app/QXMainController.h"
#include "app/QXSettingsFileNotice.h"
#include "app/QXStatusItemController.h"
#include "app/QXTranslations.h"
#include "app/ShowCommand.h"
#include "hotkeys/QXHotKeyHandlerApplication.h"
#include "platform/bundle/Bundle.h"
#include "platform/defaults/UserDefaults.h"
#include "platform/instance/ProgramInstance.h"
#include "platform/log/SystemLog.h"
#include "platform/process/TerminationSignals.h"
#include "platform/session/DisplaySession.h"

#include <QIcon>

int QXApplicationMain(int& argc, char** argv)
{
    // Trovix is an X11 client: in a Wayland session Qt must use XWayland,
    // not its Wayland plugin.
    const platform::DisplaySession session = platform::DisplaySession::fromEnvironment();
    if (session.unusable()) {
        // Said before Qt would stop the program with a less helpful message.
        platform::systemLog(session.limitations());
        return 1;
    }
    if (const QString platformName = session.requiredQtPlatform(); !platformName.isEmpty()) {
        qputenv("QT_QPA_PLATFORM", platformName.toLatin1());
    }
    QXHotKeyHandlerApplication application(argc, argv);
    QXHotKeyHandlerApplication::setApplicationName(QStringLiteral("Trovix"));
    QXHotKeyHandlerApplication::setDesktopFileName(QStringLiteral("trovix"));
    QXHotKeyHandlerApplication::setWindowIcon(QIcon::fromTheme(
        QStringLiteral("trovix"), QIcon(platform::Bundle::main().pathForResource(
                                      QStringLiteral("trovix"), QStringLiteral("svg")))));

    // User-visible texts are keyed by their English wording; a translation
    // for the user's language replaces them when the bundle has one.
    QXInstallTranslations();

    platform::ProgramInstance instance;
    if (instance.claim() == platform::ProgramInstance::Claim::AlreadyRunning) {
        QString error;
        if (!platform::ProgramInstance::requestReopen(&error)) {
            platform::systemLog(QStringLiteral("cannot reach the running Trovix: %1").arg(error));
            return 1;
        }
        return 0;
    }

    QXDisplaySessionNotice::announce(session, platform::UserDefaults::standard());
    QXSettingsFileNotice::announce(platform::UserDefaults::standard());
    QXFollowDebugLogSetting(platform::UserDefaults::standard());
    QXMainController& controller = QXMainController::mainController();
    application.setDelegate(&controller);
    QObject::connect(&instance, &platform::ProgramInstance::reopenRequested, &application,
                     [&application] { application.handleReopen(); });
    QObject::connect(&instance, &platform::ProgramInstance::popUpRequested, &controller,
                     [&controller](bool allApplications) {
                         controller.popUpMenuForAllApplications(allApplications);
                     });

    QObject::connect(&instance, &platform::ProgramInstance::showRequested, &controller,
                     [](const QString& window) { QXShowWindow(window); });
    instance.setHelpPageHandler([](const QString& page, std::function<void(bool)> answer) {
        QXShowHelpPage(page, std::move(answer));
    });

    // A request to stop from outside takes the same road as "Quit".
    platform::TerminationSignals terminationSignals;
    QObject::connect(&terminationSignals, &platform::TerminationSignals::terminationRequested,
                     &application, [&controller] { controller.terminate(); });

    const int status = application.run();
    application.setDelegate(nullptr);
    // The tray menu is a widget: it must go while the application object
    // still exists, not with the controller's static storage after it.
    QXStatusItemController::defaultController().reset();
    return status;
}
