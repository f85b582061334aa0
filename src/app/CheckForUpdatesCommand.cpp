#include "app/CheckForUpdatesCommand.h"

#include "foundation/QXLocalized.h"
#include "platform/defaults/UserDefaults.h"
#include "platform/session/DisplaySession.h"
#include "platform/updates/Updater.h"
#include "services/QXSparkleWrapper.h"

#include <QApplication>
#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

int runCheck(bool print)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    QXSparkleWrapper& wrapper = QXSparkleWrapper::sharedSparkleWrapper();
    platform::Updater& updater = QXSparkleWrapper::sharedSparkleUpdater();
    int status = 0;
    QString failure;
    QObject::connect(&wrapper, &QXSparkleWrapper::checkAborted,
                     [&failure](const QString& message) { failure = message; });
    // The check has ended once every window it opened is closed; a result
    // recorded through the fallback comes one pass of the event loop after
    // the feed loaded, so the command waits for the record when it prints.
    bool finished = false;
    bool recorded = false;
    auto quitWhenDone = [&] {
        if (finished && (recorded || !failure.isEmpty())) {
            QCoreApplication::quit();
        }
    };
    QObject::connect(&updater, &platform::Updater::checkFinished, [&] {
        finished = true;
        quitWhenDone();
    });
    QObject::connect(&wrapper, &QXSparkleWrapper::statusRecorded, [&] {
        recorded = true;
        quitWhenDone();
    });
    if (print) {
        wrapper.checkForUpdateInformation();
    } else {
        wrapper.checkForUpdates();
    }
    QCoreApplication::exec();
    if (!failure.isEmpty()) {
        err << QXLocalized::tr("trovix: the update check failed: %1").arg(failure) << Qt::endl;
        status = 1;
    } else if (print) {
        const QString sentence = wrapper.statusDescription();
        out << (sentence.isEmpty() ? QXLocalized::tr("The update check gave no result.") : sentence)
            << Qt::endl;
    }
    // The record and the updater's settings are on disk before the process
    // ends.
    platform::UserDefaults::standard().synchronize();
    wrapper.disconnect();
    updater.disconnect();
    // The updater's network and windows end with the application object.
    platform::Updater::setCurrent(nullptr);
    return status;
}

} // namespace

int runCheckForUpdatesCommand(int argc, char** argv)
{
    bool print = false;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--print") == 0) {
            print = true;
        } else {
            std::fputs("usage: trovix check-for-updates [--print]\n", stderr);
            return 1;
        }
    }
    // Printing needs no display; the windows do.
    if (!print && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        std::fputs("trovix: there is no display to show the update check on; "
                   "use check-for-updates --print\n",
                   stderr);
        return 1;
    }
    std::unique_ptr<QCoreApplication> application;
    if (print) {
        application = std::make_unique<QCoreApplication>(argc, argv);
    } else {
        // The update window is an X11 window like Trovix's others: in a
        // Wayland session on XWayland, not Qt's Wayland plugin.
        const QString platformName =
            platform::DisplaySession::fromEnvironment().requiredQtPlatform();
        if (!platformName.isEmpty()) {
            qputenv("QT_QPA_PLATFORM", platformName.toLatin1());
        }
        application = std::make_unique<QApplication>(argc, argv);
    }
    return runCheck(print);
}
