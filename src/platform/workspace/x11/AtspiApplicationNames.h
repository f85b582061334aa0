#pragma once

#include <QHash>
#include <QString>

namespace platform {

// The applications on the accessibility bus by process identifier, with the
// name each gives itself. Names are asked once per process and kept, so that
// an application that stops answering costs at most one timeout.
class AtspiApplicationNames
{
public:
    // Process identifiers of the applications now on the bus, with their names.
    QHash<qint64, QString> applications();

private:
    bool m_initialized = false;
    QHash<qint64, QString> m_names;
};

} // namespace platform
