#pragma once

#include "platform/workspace/ActiveWindowSource.h"

#include <QHash>
#include <QList>
#include <QObject>

namespace platform {

// Scripted window activation for tests. Events are sent through the control
// surface; questions are answered from what was set, through the event
// queue, or held until released (in any order) to stand for a slow bus.
class MemoryActiveWindowSource : public ActiveWindowSource
{
public:
    bool listen(std::function<void(const Event&)> handler) override;
    void askProcess(const QString& application,
                    std::function<void(std::optional<qint64>)> answer) override;
    void askIsWindow(const Window& window,
                     std::function<void(std::optional<bool>)> answer) override;
    std::optional<ActiveWindow> scan() override;

    // --- Control surface for tests ---

    // Makes listening fail, as without an accessibility bus.
    void setListenFails(bool fails) { m_listenFails = fails; }
    // Delivers an event through the event queue.
    void send(const Event& event);
    // What the questions are answered with; unset ones get nothing.
    void setProcess(const QString& application, qint64 pid) { m_pids.insert(application, pid); }
    void setIsWindow(const QString& path, bool isWindow) { m_windows.insert(path, isWindow); }
    void setScanResult(std::optional<ActiveWindow> found) { m_scanResult = std::move(found); }
    // Holds answers back until they are released; held answers are numbered
    // in the order they were asked.
    void setHoldAnswers(bool hold) { m_hold = hold; }
    qsizetype heldAnswers() const { return m_held.size(); }
    void releaseAnswer(qsizetype index);
    int processQuestions() const { return m_processQuestions; }
    int windowQuestions() const { return m_windowQuestions; }
    int scans() const { return m_scans; }

private:
    void answerLater(std::function<void()> answer);

    QObject m_context;
    std::function<void(const Event&)> m_handler;
    QHash<QString, qint64> m_pids;
    QHash<QString, bool> m_windows;
    std::optional<ActiveWindow> m_scanResult;
    QList<std::function<void()>> m_held;
    bool m_listenFails = false;
    bool m_hold = false;
    int m_processQuestions = 0;
    int m_windowQuestions = 0;
    int m_scans = 0;
};

} // namespace platform
