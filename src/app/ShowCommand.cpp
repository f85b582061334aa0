#include "app/ShowCommand.h"

#include "app/QXMainController.h"
#include "platform/instance/ProgramInstance.h"
#include "platform/log/SystemLog.h"

#include <QCoreApplication>

QStringList showCommandWindows()
{
    return {QStringLiteral("log"), QStringLiteral("preferences"), QStringLiteral("about"),
            QStringLiteral("help")};
}

int runShowCommand(const QStringList& arguments, QTextStream&, QTextStream& err)
{
    if (arguments.size() != 1 || !showCommandWindows().contains(arguments.constFirst())) {
        err << QCoreApplication::translate("Trovix",
                                           "usage: trovix show log|preferences|about|help")
            << Qt::endl;
        return 2;
    }
    QString error;
    if (!platform::ProgramInstance::requestShow(arguments.constFirst(), &error)) {
        err << QCoreApplication::translate("Trovix", "trovix: %1").arg(error) << Qt::endl;
        return 1;
    }
    return 0;
}

void QXShowWindow(const QString& window)
{
    QXMainController& controller = QXMainController::mainController();
    if (window == u"log") {
        // The same road as the "Log" item: the window, or the switch where
        // the log cannot be read.
        controller.toggleDebugLogging();
    } else if (window == u"preferences") {
        controller.showPreferences();
    } else if (window == u"about") {
        controller.showAbout();
    } else if (window == u"help") {
        controller.help();
    } else {
        platform::systemLog(QStringLiteral("unknown window requested: %1").arg(window));
    }
}
