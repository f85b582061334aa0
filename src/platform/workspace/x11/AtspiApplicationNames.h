#pragma once

#include <QDeadlineTimer>
#include <QHash>
#include <QSet>
#include <QString>
#include <functional>

namespace platform {

// The applications on the accessibility bus by process identifier, the name
// each gives itself, and whether one shows a window. Listing asks only the
// bus; a name is asked of the application once and kept, so one that stops
// answering costs at most one timeout. Windows are asked of the applications
// the caller picks; one that does not answer is left out of that question
// for a while, so that a hanging application does not slow every listing.
class AtspiApplicationNames
{
public:
    struct Listing
    {
        QSet<qint64> processIdentifiers;
        // Those of the picked applications that show a top-level window
        // (a frame, window or dialog that is visible).
        QSet<qint64> showingWindow;
    };

    // Every application on the bus; windows are asked of those whose
    // process askWindows answers true for.
    Listing list(const std::function<bool(qint64)>& askWindows);
    // Empty when the application is not on the bus or does not answer.
    QString name(qint64 pid);

private:
    bool initialize();

    bool m_initialized = false;
    QHash<qint64, QString> m_names;
    // The process of each application on the bus, by unique bus name.
    QHash<QString, qint64> m_processes;
    // Applications that did not answer whether they show a window, and until
    // when they are not asked again.
    QHash<qint64, QDeadlineTimer> m_silent;
};

} // namespace platform
