#include "platform/updates/memory/MemoryUpdater.h"

namespace platform {

void MemoryUpdater::setAutomaticallyChecksForUpdates(bool automatic)
{
    m_automatic = automatic;
    resetUpdateCycle();
}

void MemoryUpdater::checkForUpdates()
{
    ++m_userInitiatedChecks;
    m_checking = true;
}

void MemoryUpdater::checkForUpdateInformation()
{
    ++m_informationChecks;
    m_checking = true;
}

bool MemoryUpdater::endCheck()
{
    if (!m_checking) {
        return false;
    }
    m_checking = false;
    return true;
}

bool MemoryUpdater::finishWithUpdate(const AppcastItem& item)
{
    if (!endCheck()) {
        return false;
    }
    if (delegate() != nullptr) {
        delegate()->updaterDidFinishLoadingAppcast(*this);
        delegate()->updaterDidFindValidUpdate(*this, item);
    }
    Q_EMIT checkFinished();
    return true;
}

bool MemoryUpdater::finishWithoutUpdate()
{
    if (!endCheck()) {
        return false;
    }
    if (delegate() != nullptr) {
        delegate()->updaterDidFinishLoadingAppcast(*this);
        delegate()->updaterDidNotFindUpdate(*this);
    }
    Q_EMIT checkFinished();
    return true;
}

bool MemoryUpdater::finishWithSkippedUpdate(const AppcastItem& item)
{
    if (!endCheck()) {
        return false;
    }
    if (delegate() != nullptr) {
        delegate()->updaterDidFinishLoadingAppcast(*this);
        delegate()->updaterDidFindSkippedUpdate(*this, item);
    }
    Q_EMIT checkFinished();
    return true;
}

bool MemoryUpdater::finishLoadingOnly()
{
    if (!endCheck()) {
        return false;
    }
    if (delegate() != nullptr) {
        delegate()->updaterDidFinishLoadingAppcast(*this);
    }
    Q_EMIT checkFinished();
    return true;
}

bool MemoryUpdater::finishWithFailure(const QString& message)
{
    if (!endCheck()) {
        return false;
    }
    if (delegate() != nullptr) {
        delegate()->updaterDidAbort(*this, message);
    }
    Q_EMIT checkFinished();
    return true;
}

} // namespace platform
