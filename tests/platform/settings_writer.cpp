// A second process that changes settings while a test's other process does:
//   settings_writer FILE PREFIX COUNT KEYS command|application
// For i from 0 to COUNT - 1 it sets "PREFIX i % KEYS" to i, and after every
// tenth change removes the key it set five changes before. "command" makes a fresh store for every
// change and writes it at once, as `trovix defaults write` does; "application" keeps one store and
// makes every change from the event loop, the store writing on its own, as the running program
// does. Exits 0 when every change was written.
#include "platform/defaults/UserDefaults.h"

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>

using platform::UserDefaults;

namespace {

int keys = 1;

QString keyFor(const QString& prefix, int i)
{
    return prefix + u' ' + QString::number(i % keys);
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
    if (argc != 6) {
        std::fputs("usage: settings_writer FILE PREFIX COUNT KEYS command|application\n", stderr);
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const QString prefix = QString::fromLocal8Bit(argv[2]);
    const int count = QByteArray(argv[3]).toInt();
    keys = std::max(QByteArray(argv[4]).toInt(), 1);
    if (QByteArray(argv[5]) == "command") {
        // Made before any application object, the stores neither watch the
        // file nor wait for an event loop: each change is read, merged and
        // written under the lock at once, as by the command, without the
        // tens of milliseconds that closing a file watcher costs each time.
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

    QCoreApplication application(argc, argv);
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
