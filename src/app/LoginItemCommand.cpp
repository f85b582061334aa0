#include "app/LoginItemCommand.h"

#include "services/QXLoginItem.h"

#include <QCoreApplication>

namespace {

QString usage()
{
    return QCoreApplication::translate("Trovix", "usage: trovix login-item on|off|status");
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
    if (!QXLoginItem::setLoginItemEnabled(on)) {
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
