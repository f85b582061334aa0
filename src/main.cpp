#include "app/CheckForUpdatesCommand.h"
#include "app/DefaultsCommand.h"
#include "app/DemoMenuCommand.h"
#include "app/DumpMenuCommand.h"
#include "app/KeyLabelCommand.h"
#include "app/LoginItemCommand.h"
#include "app/PopupCommand.h"
#include "app/QXApplicationMain.h"
#include "app/QXTranslations.h"
#include "app/SearchCommand.h"
#include "app/ShowCommand.h"

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

// Commands that work on text: no display needed.
int runTextCommand(int argc, char** argv,
                   int (*command)(const QStringList&, QTextStream&, QTextStream&))
{
    QCoreApplication application(argc, argv);
    QXInstallTranslations();
    QTextStream out(stdout);
    QTextStream err(stderr);
    return command(argumentsAfter(argc, argv, 2), out, err);
}

void printUsage(std::FILE* stream)
{
    std::fputs(
        "usage: trovix                 start Trovix (or reopen the running one)\n"
        "       trovix popup [--all] [--print [--depth N] [--pid N]]\n"
        "                              pop up the menu of the application in front\n"
        "       trovix defaults read [KEY] | write KEY [TYPE] VALUE | delete KEY\n"
        "                              read and change settings\n"
        "       trovix show log|preferences|about|help [PAGE[#ANCHOR]]\n"
        "                              bring a window of the running Trovix forward\n"
        "       trovix login-item on|off|status\n"
        "                              start Trovix at login, or not\n"
        "       trovix check-for-updates [--print]\n"
        "                              check for a new version of Trovix\n"
        "       trovix dump-menu [--pid N | --frontmost] [--depth N] [--json] [--item-by-item]\n"
        "                              print an application's menu bar as Trovix reads it\n"
        "       trovix search [--all | --pid N] [--json] [--press] [--limit N] QUERY\n"
        "                              search an application's menus, or press the best match\n"
        "       trovix search --clear-history\n"
        "                              forget the items pressed through search\n"
        "       trovix key-label CODE...\n"
        "                              print the labels of virtual key codes\n"
        "       trovix demo-menu [--font-size N] [--appearance system|light|dark]\n"
        "                              show a sample menu at the pointer\n",
        stream);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1) {
        const char* command = argv[1];
        if (std::strcmp(command, "defaults") == 0) {
            return runTextCommand(argc, argv, runDefaultsCommand);
        }
        if (std::strcmp(command, "show") == 0) {
            return runTextCommand(argc, argv, runShowCommand);
        }
        if (std::strcmp(command, "login-item") == 0) {
            return runTextCommand(argc, argv, runLoginItemCommand);
        }
        if (std::strcmp(command, "dump-menu") == 0) {
            return runTextCommand(argc, argv, runDumpMenuCommand);
        }
        if (std::strcmp(command, "search") == 0) {
            return runTextCommand(argc, argv, runSearchCommand);
        }
        if (std::strcmp(command, "key-label") == 0) {
            return keyLabelCommandMain(argc, argv);
        }
        if (std::strcmp(command, "popup") == 0) {
            return runPopupCommand(argc, argv);
        }
        if (std::strcmp(command, "check-for-updates") == 0) {
            return runCheckForUpdatesCommand(argc, argv);
        }
        if (std::strcmp(command, "demo-menu") == 0) {
            return runDemoMenuCommand(argc, argv);
        }
        if (std::strcmp(command, "help") == 0 || std::strcmp(command, "--help") == 0 ||
            std::strcmp(command, "-h") == 0) {
            printUsage(stdout);
            return 0;
        }
        if (std::strcmp(command, "--version") == 0) {
            std::printf("Trovix %s\n", TROVIX_VERSION);
            return 0;
        }
        // Options such as -platform or -display belong to Qt; a word is a
        // command Trovix does not know.
        if (command[0] != '-') {
            std::fprintf(stderr, "trovix: unknown command '%s'\n", command);
            printUsage(stderr);
            return 1;
        }
    }
    return QXApplicationMain(argc, argv);
}
