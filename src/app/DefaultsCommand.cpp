#include "app/DefaultsCommand.h"

int runDefaultsCommand(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    Q_UNUSED(arguments);
    Q_UNUSED(out);
    err << "trovix defaults: not available yet\n";
    return 1;
}
