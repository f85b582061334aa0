#include "app/LoginItemCommand.h"

#include "platform/loginitems/LoginItems.h"
#include "services/QXLoginItem.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

namespace {

QString usage()
{
    return QCoreApplication::translate("Trovix", "usage: trovix login-item on|off|status");
}

// A helper answers later (the desktop may ask the user first): waits for
// the state to follow, within a minute. The list answers at once.
bool stateFollows(bool on)
{
    if (!platform::LoginItems::current().hasHelper()) {
        return QXLoginItem::loginItemState().on == on;
    }
    const QDeadlineTimer deadline(60000);
    while (QXLoginItem::loginItemState().on != on) {
        if (deadline.hasExpired()) {
            return false;
        }
        QEventLoop loop;
        QTimer::singleShot(100, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

} // namespace

int runLoginItemCommand(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    if (arguments.size() != 1) {
        err << usage() << Qt::endl;
        return 1;
    }
    const QString& word = arguments.first();
    if (word != QLatin1String("on") && word != QLatin1String("off") &&
        word != QLatin1String("status")) {
        err << usage() << Qt::endl;
        return 1;
    }
    const QXLoginItem::State state = QXLoginItem::loginItemState();
    if (word == QLatin1String("status")) {
        out << (state.on ? "on" : "off") << Qt::endl;
        if (!state.changeable) {
            err << QCoreApplication::translate("Trovix", "Trovix cannot change this setting here.")
                << Qt::endl;
        }
        return 0;
    }
    const bool on = word == QLatin1String("on");
    if (!state.changeable) {
        err << QCoreApplication::translate("Trovix", "Trovix cannot change this setting here.")
            << Qt::endl;
        return 1;
    }
    if (!QXLoginItem::setLoginItemEnabled(on) || !stateFollows(on)) {
        err << (on ? QCoreApplication::translate(
                         "Trovix", "Trovix could not be set to start at login; the system log "
                                   "tells why.")
                   : QCoreApplication::translate(
                         "Trovix", "Trovix could not be kept from starting at login; the "
                                   "system log tells why."))
            << Qt::endl;
        return 1;
    }
    return 0;
}
