#include "app/DefaultsCommand.h"
#include "app/DemoMenuCommand.h"
#include "app/DumpMenuCommand.h"
#include "app/KeyLabelCommand.h"
#include "app/PopupCommand.h"
#include "app/QXApplicationMain.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

#include <cstdio>
#include <cstring>

namespace {

QStringList argumentsAfter(int argc, char** argv, int first)
{
    QStringList arguments;
    for (int i = first; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    return arguments;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "defaults") == 0) {
        QCoreApplication application(argc, argv);
        QTextStream out(stdout);
        QTextStream err(stderr);
        return runDefaultsCommand(argumentsAfter(argc, argv, 2), out, err);
    }
    if (argc > 1 && std::strcmp(argv[1], "dump-menu") == 0) {
        QCoreApplication application(argc, argv);
        QTextStream out(stdout);
        QTextStream err(stderr);
        return runDumpMenuCommand(argumentsAfter(argc, argv, 2), out, err);
    }
    if (argc > 1 && std::strcmp(argv[1], "key-label") == 0) {
        return keyLabelCommandMain(argc, argv);
    }

    if (argc > 1 && std::strcmp(argv[1], "popup") == 0) {
        return runPopupCommand(argc, argv);
    }

    if (argc > 1 && std::strcmp(argv[1], "demo-menu") == 0) {
        return runDemoMenuCommand(argc, argv);
    }

    return QXApplicationMain(argc, argv);
}
