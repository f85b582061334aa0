#include "platform/workspace/memory/MemoryActiveWindowSource.h"

namespace platform {

bool MemoryActiveWindowSource::listen(std::function<void(const Event&)> handler)
{
    if (m_listenFails) {
        return false;
    }
    m_handler = std::move(handler);
    return true;
}

void MemoryActiveWindowSource::send(const Event& event)
{
    QMetaObject::invokeMethod(
        &m_context,
        [this, event] {
            if (m_handler) {
                m_handler(event);
            }
        },
        Qt::QueuedConnection);
}

void MemoryActiveWindowSource::answerLater(std::function<void()> answer)
{
    if (m_hold) {
        m_held.append(std::move(answer));
        return;
    }
    QMetaObject::invokeMethod(&m_context, std::move(answer), Qt::QueuedConnection);
}

void MemoryActiveWindowSource::releaseAnswer(qsizetype index)
{
    if (index < 0 || index >= m_held.size()) {
        return;
    }
    QMetaObject::invokeMethod(&m_context, m_held.takeAt(index), Qt::QueuedConnection);
}

void MemoryActiveWindowSource::askProcess(const QString& application,
                                          std::function<void(std::optional<qint64>)> answer)
{
    ++m_processQuestions;
    const auto known = m_pids.constFind(application);
    const std::optional<qint64> pid =
        known != m_pids.cend() ? std::optional<qint64>(*known) : std::nullopt;
    answerLater([answer = std::move(answer), pid] { answer(pid); });
}

void MemoryActiveWindowSource::askIsWindow(const Window& window,
                                           std::function<void(std::optional<bool>)> answer)
{
    ++m_windowQuestions;
    const auto known = m_windows.constFind(window.path);
    const std::optional<bool> isWindow =
        known != m_windows.cend() ? std::optional<bool>(*known) : std::nullopt;
    answerLater([answer = std::move(answer), isWindow] { answer(isWindow); });
}

std::optional<ActiveWindowSource::ActiveWindow> MemoryActiveWindowSource::scan()
{
    ++m_scans;
    return m_scanResult;
}

} // namespace platform
