#pragma once

#include "platform/updates/Updater.h"

namespace platform {

// What tests do to the in-memory updater: end the check under way with one
// of the outcomes the network one can reach, and count what was asked.
class MemoryUpdaterControl
{
public:
    virtual ~MemoryUpdaterControl() = default;

    // Ends the check under way (answers false when none is) as the appcast
    // updater would: loaded, then a result; or loaded without a result
    // callback; or failed, with nothing but the failure.
    virtual bool finishWithUpdate(const AppcastItem& item) = 0;
    virtual bool finishWithoutUpdate() = 0;
    // A scheduled check that found only the version the user skipped.
    virtual bool finishWithSkippedUpdate(const AppcastItem& item) = 0;
    virtual bool finishLoadingOnly() = 0;
    virtual bool finishWithFailure(const QString& message) = 0;

    // Checks asked for, by kind, and schedule restarts.
    virtual int userInitiatedCheckCount() const = 0;
    virtual int informationCheckCount() const = 0;
    virtual int resetCount() const = 0;
};

// An updater without network or windows. Keeps the appcast updater's
// contract: one check at a time (asking again while one runs starts no
// second), the delegate hears of every outcome, checkFinished() follows.
class MemoryUpdater : public Updater, public MemoryUpdaterControl
{
    Q_OBJECT

public:
    MemoryUpdater() = default;

    bool automaticallyChecksForUpdates() const override { return m_automatic; }
    void setAutomaticallyChecksForUpdates(bool automatic) override;
    void resetUpdateCycle() override { ++m_resetCount; }
    void checkForUpdates() override;
    void checkForUpdateInformation() override;
    bool isChecking() const override { return m_checking; }

    bool finishWithUpdate(const AppcastItem& item) override;
    bool finishWithoutUpdate() override;
    bool finishWithSkippedUpdate(const AppcastItem& item) override;
    bool finishLoadingOnly() override;
    bool finishWithFailure(const QString& message) override;
    int userInitiatedCheckCount() const override { return m_userInitiatedChecks; }
    int informationCheckCount() const override { return m_informationChecks; }
    int resetCount() const override { return m_resetCount; }

private:
    bool endCheck();

    bool m_automatic = false;
    bool m_checking = false;
    int m_userInitiatedChecks = 0;
    int m_informationChecks = 0;
    int m_resetCount = 0;
};

} // namespace platform
