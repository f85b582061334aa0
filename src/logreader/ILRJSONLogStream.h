#pragma once

#include "logreader/ILRLogEntry.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

// Runs the log tool as a child process and hands its output, cut into
// batches of complete entries (ILRJSONLogSplitter), to an output handler.
// The child's standard output is read on a thread of the stream's own, so
// the handler runs there, never on the main thread; standard input is
// /dev/null. What the child writes to standard error is collected (its
// beginning) and handed, with how the child ended, to a finish handler.
//
// The reading thread holds what it needs, so releasing the stream never
// waits for it: terminate() ends the delivery, and the thread ends on its own
// once the child has gone.
class ILRJSONLogStream
{
public:
    // Called with a non-empty batch, in the tool's order. Its answer matters
    // only while someone waits for the stream (waitForStream): false then
    // stops the tool.
    using OutputHandler = std::function<bool(const QList<ILRLogEntry>&)>;
    // Called on the reading thread once the child has exited by itself, not
    // when the stream was terminated: its exit status (128 + N after signal
    // N) and the beginning of what it wrote to standard error.
    using FinishHandler = std::function<void(int status, const QString& errorOutput)>;
    // How much of the child's standard error is kept.
    static constexpr qsizetype ErrorOutputLimit = 4096;

    ~ILRJSONLogStream();
    ILRJSONLogStream(const ILRJSONLogStream&) = delete;
    ILRJSONLogStream& operator=(const ILRJSONLogStream&) = delete;

    // Launches toolPath with arguments; answers nothing when it cannot be
    // started (no such file, not executable, no resources).
    static std::shared_ptr<ILRJSONLogStream> start(const QString& toolPath,
                                                   const QStringList& arguments,
                                                   OutputHandler handler, bool stopOnRefusal,
                                                   FinishHandler finished = {});

    // Runs the tool to its end (or until the handler answers false) and
    // blocks the calling thread meanwhile. Answers whether it could start.
    static bool waitForStream(const QString& toolPath, const QStringList& arguments,
                              OutputHandler handler);

    // Blocks until the reading thread is done: the child closed its output
    // or the stream was terminated. Never call it from the handler.
    void waitUntilExit();

    // Asks the child to stop (SIGTERM) and stops the delivery: no batch is
    // handed over after this returns, except one whose handler call was
    // already under way. Safe to call more than once, from any thread, after
    // the child has exited.
    void terminate();

    // Whether the child is still there (not yet reaped).
    bool isRunning() const;

    struct State;

private:
    explicit ILRJSONLogStream(std::shared_ptr<State> state);
    std::shared_ptr<State> m_state;
};
