#pragma once

#include "platform/accessibility/atspi/GObjectRef.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <atspi/atspi.h>

namespace platform::atspi {

// The applications on the accessibility bus by process identifier. Finding
// one walks the desktop's children (a request per application); what was
// found is kept until its bus name leaves the bus, so that reading the same
// application again costs no request for finding it.
class AtspiApplicationDirectory : public QObject
{
    Q_OBJECT

public:
    struct Application
    {
        GObjectRef<AtspiAccessible> object;
        QString busName;
    };

    // The application with that process identifier; a null object when
    // none is on the bus. libatspi must have been initialised.
    Application find(qint64 pid);
    // How many applications are kept.
    qsizetype keptCount() const { return m_applications.size(); }

private Q_SLOTS:
    void nameOwnerChanged(const QString& name, const QString& oldOwner, const QString& newOwner);

private:
    Application walkDesktop(qint64 pid);
    void ensureListening();

    QHash<qint64, Application> m_applications;
    bool m_listening = false;
};

} // namespace platform::atspi
