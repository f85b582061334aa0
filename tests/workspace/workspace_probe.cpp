// Asks the desktop's workspace what the program would see, for the
// integration tests: the frontmost application, the running applications, and
// activation through the program's own helpers.
//   trovix-workspace-probe frontmost            "pid<TAB>name"
//   trovix-workspace-probe list                 "pid<TAB>policy<TAB>hidden<TAB>name" each
//   trovix-workspace-probe activate PID [all]   exit 0 when the request went out
//   trovix-workspace-probe reopen PID           activates all windows, restores hidden ones
//   trovix-workspace-probe tracked              "pid" of the window the accessibility bus
//                                               calls active (found by a scan)
//   trovix-workspace-probe follow               "listening", then "pid" each time another
//                                               application comes to the front, until ended

#include "foundation/QXRunningApplication.h"
#include "platform/workspace/FrontApplicationTracker.h"
#include "platform/workspace/Workspace.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

namespace {

using platform::RunningApplication;

const char* policyName(RunningApplication::ActivationPolicy policy)
{
    switch (policy) {
    case RunningApplication::ActivationPolicy::Regular:
        return "regular";
    case RunningApplication::ActivationPolicy::Accessory:
        return "accessory";
    case RunningApplication::ActivationPolicy::Prohibited:
        return "prohibited";
    }
    return "?";
}

QByteArray nameOf(const RunningApplication& application)
{
    return QXExtensions::localizedNameOrBundleName(application).value_or(QString()).toUtf8();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    platform::Workspace& workspace = platform::Workspace::current();
    const QString command = arguments.value(0);
    if (command == QStringLiteral("frontmost")) {
        const RunningApplication frontmost = workspace.frontmostApplication();
        if (frontmost.isNull()) {
            return 1;
        }
        std::printf("%lld\t%s\n", static_cast<long long>(frontmost.processIdentifier()),
                    nameOf(frontmost).constData());
        return 0;
    }
    if (command == QStringLiteral("tracked")) {
        const std::optional<qint64> pid =
            platform::FrontApplicationTracker::current().frontApplication();
        if (!pid) {
            return 1;
        }
        std::printf("%lld\n", static_cast<long long>(*pid));
        return 0;
    }
    if (command == QStringLiteral("follow")) {
        platform::FrontApplicationTracker& tracker = platform::FrontApplicationTracker::current();
        if (!tracker.isListening()) {
            return 1;
        }
        QObject::connect(&tracker, &platform::FrontApplicationTracker::frontApplicationChanged,
                         [](qint64 pid) {
                             std::printf("%lld\n", static_cast<long long>(pid));
                             std::fflush(stdout);
                         });
        std::printf("listening\n");
        std::fflush(stdout);
        return QCoreApplication::exec();
    }
    if (command == QStringLiteral("list")) {
        for (const RunningApplication& running : workspace.runningApplications()) {
            std::printf("%lld\t%s\t%s\t%s\n", static_cast<long long>(running.processIdentifier()),
                        policyName(running.activationPolicy()),
                        running.isHidden() ? "hidden" : "shown", nameOf(running).constData());
        }
        return 0;
    }
    if ((command == QStringLiteral("activate") || command == QStringLiteral("reopen")) &&
        arguments.size() >= 2) {
        const RunningApplication target =
            workspace.runningApplication(arguments.at(1).toLongLong());
        if (target.isNull()) {
            return 1;
        }
        const bool activated = command == QStringLiteral("reopen")
                                   ? QXExtensions::activateByRaisingAllWindows(target, false, true)
                                   : QXExtensions::activateByRaisingAllWindows(
                                         target, arguments.value(2) == QStringLiteral("all"));
        return activated ? 0 : 1;
    }
    std::fprintf(stderr, "usage: trovix-workspace-probe frontmost | list | activate PID [all] | "
                         "reopen PID | tracked | follow\n");
    return 2;
}
