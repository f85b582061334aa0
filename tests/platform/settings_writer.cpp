// A second process that changes settings while a test's other process does:
//   settings_writer FILE PREFIX COUNT command|application
// For i from 0 to COUNT - 1 it sets "PREFIX i" to i, and after every tenth
// change removes the key it set five changes before ("PREFIX 4", "PREFIX 14",
// ...). "command" makes a fresh store for every change and writes it at once,
// as `trovix defaults write` does; "application" keeps one store and makes
// every change from the event loop, the store writing on its own, as the
// running program does. Exits 0 when every change was written.
#include "platform/defaults/UserDefaults.h"

#include <QCoreApplication>
#include <QTimer>
#include <cstdio>
#include <functional>

using platform::UserDefaults;

namespace {

QString keyFor(const QString& prefix, int i)
{
    return prefix + u' ' + QString::number(i);
}

// The change number i makes: its own key, and every tenth a removal.
void change(UserDefaults& defaults, const QString& prefix, int i)
{
    defaults.setInteger(i, keyFor(prefix, i));
    if (i % 10 == 9) {
        defaults.removeObjectForKey(keyFor(prefix, i - 5));
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() != 5) {
        std::fputs("usage: settings_writer FILE PREFIX COUNT command|application\n", stderr);
        return 2;
    }
    const QString path = arguments.at(1);
    const QString prefix = arguments.at(2);
    const int count = arguments.at(3).toInt();
    if (arguments.at(4) == QLatin1String("command")) {
        for (int i = 0; i < count; ++i) {
            UserDefaults defaults(path);
            change(defaults, prefix, i);
            if (!defaults.synchronize()) {
                std::fprintf(stderr, "change %d was not written\n", i);
                return 1;
            }
        }
        return 0;
    }

    UserDefaults defaults(path);
    int next = 0;
    std::function<void()> step;
    step = [&] {
        if (next == count) {
            application.exit(defaults.synchronize() ? 0 : 1);
            return;
        }
        change(defaults, prefix, next++);
        QTimer::singleShot(0, &application, step);
    };
    QTimer::singleShot(0, &application, step);
    return application.exec();
}
