#include "app/ShowCommand.h"

#include "app/QXMainController.h"
#include "help/QXHelpManager.h"
#include "logreader/ILRIntegratedLogReader.h"
#include "platform/application/Activation.h"
#include "platform/instance/ProgramInstance.h"
#include "platform/log/SystemLog.h"

#include <QCoreApplication>

QStringList showCommandWindows()
{
    return {QStringLiteral("log"), QStringLiteral("preferences"), QStringLiteral("about"),
            QStringLiteral("help")};
}

namespace {

// A help page travels with the request as "help:PAGE#ANCHOR".
const QString HelpPagePrefix = QStringLiteral("help:");

// Longest page request passed on; help page names are short.
constexpr qsizetype MaximumHelpPageLength = 1024;
// How much of an unknown page's name the message repeats.
constexpr qsizetype MaximumShownPageLength = 200;

} // namespace

void QXShowHelpPage(const QString& request, std::function<void(bool exists)> answer)
{
    const QString page = request.left(MaximumHelpPageLength);
    const qsizetype hash = page.lastIndexOf(u'#');
    QString name = hash < 0 ? page : page.left(hash);
    const QString fragment = hash < 0 ? QString() : page.mid(hash);
    if (name.endsWith(QStringLiteral(".html"), Qt::CaseInsensitive)) {
        name.chop(5);
    }
    if (name.isEmpty()) {
        QXMainController::mainController().help();
        answer(true);
        return;
    }
    QXHelpManager::helpManager().openPage(name, fragment, true, std::move(answer));
}

int runShowCommand(const QStringList& arguments, QTextStream&, QTextStream& err)
{
    const bool helpPage = arguments.size() == 2 && arguments.constFirst() == u"help" &&
                          !arguments.at(1).isEmpty() &&
                          arguments.at(1).size() <= MaximumHelpPageLength;
    if (!helpPage &&
        (arguments.size() != 1 || !showCommandWindows().contains(arguments.constFirst()))) {
        err << QCoreApplication::translate(
                   "Trovix", "usage: trovix show log|preferences|about|help [PAGE[#ANCHOR]]")
            << Qt::endl;
        return 2;
    }
    QString error;
    if (helpPage) {
        const std::optional<bool> exists =
            platform::ProgramInstance::requestShowHelpPage(arguments.at(1), &error);
        if (exists && !*exists) {
            error = QCoreApplication::translate("Trovix", "no help page \"%1\"")
                        .arg(arguments.at(1).left(MaximumShownPageLength));
        }
        if (!exists || !*exists) {
            err << QCoreApplication::translate("Trovix", "trovix: %1").arg(error) << Qt::endl;
            return 1;
        }
        return 0;
    }
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
        // Only the window: where the log cannot be read the "Log" item
        // switches debug logging instead, which a request to show a window
        // must never do; the log window's alert says why there is none.
        if (controller.canDisplayLog()) {
            controller.toggleDebugLogging();
        } else {
            platform::systemLog(
                QStringLiteral("the log window was requested, but the system log cannot be read"));
            ILRIntegratedLogReader::QXLogReader().displayLogActivating();
        }
    } else if (window == u"preferences") {
        controller.showPreferences();
    } else if (window == u"about") {
        controller.showAbout();
    } else if (window == u"help") {
        controller.help();
    } else if (window.startsWith(HelpPagePrefix)) {
        QXShowHelpPage(window.mid(HelpPagePrefix.size()), [](bool) {});
    } else {
        platform::systemLog(QStringLiteral("unknown window requested: %1").arg(window));
    }
}
