#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

// What one of trovix's commands (`runSearchCommand`, `runDefaultsCommand`, …)
// answered: its exit status and everything it wrote.
struct CommandResult
{
    int status = -1;
    QString out;
    QString err;
};

// Runs command (int(const QStringList&, QTextStream& out, QTextStream& err))
// in this process with arguments.
template <typename Command>
CommandResult runCommand(Command command, const QStringList& arguments)
{
    CommandResult result;
    QTextStream out(&result.out);
    QTextStream err(&result.err);
    result.status = command(arguments, out, err);
    out.flush();
    err.flush();
    return result;
}
