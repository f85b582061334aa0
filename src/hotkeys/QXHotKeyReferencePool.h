#pragma once

#include "platform/input/HotKeyService.h"

#include <QHash>
#include <optional>

// Counts how many hot key objects share one registration with the hot key
// service, so that the registration ends only with its last user.
class QXHotKeyReferencePool
{
public:
    // The process-wide pool, created on first use and never destroyed.
    static QXHotKeyReferencePool& defaultPool();

    // One more user of the registration; a null handle is ignored.
    void push(platform::HotKeyHandle reference);
    // One user less. Answers whether the registration has no user left and
    // should end: true for a handle the pool does not know, false for a null one.
    bool pop(platform::HotKeyHandle reference);

    // How many users the pool counts for the registration.
    int countForReference(platform::HotKeyHandle reference) const;

private:
    QXHotKeyReferencePool() = default;

    std::optional<QHash<platform::HotKeyHandle, int>> m_countersByReference;
};
