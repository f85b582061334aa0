#pragma once

#include <QHash>
#include <QSet>
#include <QString>

namespace platform {

// The applications on the accessibility bus by process identifier, and the
// name each gives itself. Listing asks only the bus; a name is asked of the
// application once and kept, so one that stops answering costs at most one
// timeout.
class AtspiApplicationNames
{
public:
    QSet<qint64> processIdentifiers();
    // Empty when the application is not on the bus or does not answer.
    QString name(qint64 pid);

private:
    bool initialize();

    bool m_initialized = false;
    QHash<qint64, QString> m_names;
};

} // namespace platform
