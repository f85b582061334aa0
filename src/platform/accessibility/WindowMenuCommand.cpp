#include "platform/accessibility/WindowMenuCommand.h"

#include <QCoreApplication>

namespace platform {

QString windowMenuTitle()
{
    return QCoreApplication::translate("Trovix", "Window");
}

QString windowMenuCommandTitle(WindowMenuCommand command)
{
    switch (command) {
    case WindowMenuCommand::Minimize:
        return QCoreApplication::translate("Trovix", "Minimize");
    case WindowMenuCommand::Maximize:
        return QCoreApplication::translate("Trovix", "Maximize");
    case WindowMenuCommand::Restore:
        return QCoreApplication::translate("Trovix", "Restore");
    case WindowMenuCommand::KeepAbove:
        return QCoreApplication::translate("Trovix", "Keep Above Others");
    case WindowMenuCommand::Close:
        return QCoreApplication::translate("Trovix", "Close");
    }
    return QString();
}

} // namespace platform
