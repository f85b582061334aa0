#pragma once

#include <QObject>

namespace platform {

// Turns SIGTERM, SIGINT and SIGHUP into a Qt signal delivered on the thread
// that created the object, so that the program can quit through its normal
// path (and exit 0) instead of dying inside a signal handler.
class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

Q_SIGNALS:
    void terminationRequested(int signalNumber);

private:
    void readSignal();
};

} // namespace platform
