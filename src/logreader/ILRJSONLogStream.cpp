#include "logreader/ILRJSONLogStream.h"

#include "logreader/ILRJSONLogSplitter.h"

#include <QByteArray>
#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

struct ILRJSONLogStream::State
{
    OutputHandler handler;
    FinishHandler finishHandler;
    bool stopOnRefusal = false;
    pid_t pid = -1;
    int outputFd = -1;
    // The child's standard error (read end, non-blocking) and what was kept
    // of it.
    int errorFd = -1;
    QByteArray errorOutput;
    // Written to by terminate() so that a reader blocked in poll() wakes up
    // even when a grandchild keeps the output pipe open.
    int wakeReadFd = -1;
    int wakeWriteFd = -1;
    std::atomic<bool> terminated = false;

    mutable std::mutex mutex;
    std::condition_variable finishedCondition;
    bool finished = false;
    bool reaped = false;

    ~State()
    {
        for (int fd : {outputFd, errorFd, wakeReadFd, wakeWriteFd}) {
            if (fd >= 0) {
                ::close(fd);
            }
        }
    }

    void signalChild()
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (!reaped && pid > 0) {
            ::kill(pid, SIGTERM);
        }
    }

    void deliver(const QList<QJsonObject>& objects)
    {
        if (objects.isEmpty() || terminated.load()) {
            return;
        }
        QList<ILRLogEntry> entries;
        entries.reserve(objects.size());
        for (const QJsonObject& object : objects) {
            entries.append(ILRLogEntry(object));
        }
        if (!handler(entries) && stopOnRefusal) {
            terminated = true;
            signalChild();
        }
    }

    // Reads what standard error holds now; answers false once it is closed.
    // Bytes beyond the limit are read and dropped, so the child never blocks
    // on a full pipe.
    bool readErrorOutput()
    {
        std::array<char, 4096> chunk;
        for (;;) {
            const ssize_t count = ::read(errorFd, chunk.data(), chunk.size());
            if (count < 0 && errno == EINTR) {
                continue;
            }
            if (count < 0) {
                return errno == EAGAIN || errno == EWOULDBLOCK;
            }
            if (count == 0) {
                return false;
            }
            const qsizetype room = ErrorOutputLimit - errorOutput.size();
            if (room > 0) {
                errorOutput.append(chunk.data(), std::min<qsizetype>(room, count));
            }
        }
    }

    void read()
    {
        ILRJSONLogSplitter splitter;
        std::array<char, 64 * 1024> chunk;
        std::array<pollfd, 3> fds{pollfd{outputFd, POLLIN, 0}, pollfd{wakeReadFd, POLLIN, 0},
                                  pollfd{errorFd, POLLIN, 0}};
        while (!terminated.load()) {
            const int ready = ::poll(fds.data(), fds.size(), -1);
            if (ready < 0) {
                if (errno == EINTR) {
                    continue;
                }
                break;
            }
            if (fds[1].revents != 0) {
                break;
            }
            if (fds[2].revents != 0 && !readErrorOutput()) {
                fds[2].fd = -1;
            }
            if (fds[0].revents == 0) {
                continue;
            }
            const ssize_t count = ::read(outputFd, chunk.data(), chunk.size());
            if (count < 0 && errno == EINTR) {
                continue;
            }
            if (count <= 0) {
                break;
            }
            deliver(splitter.append(QByteArrayView(chunk.data(), count)));
        }
        // Wait for the exit without reaping, so that terminate() never
        // signals a process id the system has handed on.
        siginfo_t info{};
        while (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT) < 0 &&
               errno == EINTR) {
        }
        int status = 0;
        {
            std::lock_guard<std::mutex> lock(mutex);
            reaped = true;
            int raw = 0;
            while (::waitpid(pid, &raw, 0) < 0 && errno == EINTR) {
            }
            status = WIFEXITED(raw) ? WEXITSTATUS(raw) : WIFSIGNALED(raw) ? 128 + WTERMSIG(raw) : 0;
        }
        if (fds[2].fd >= 0) {
            readErrorOutput();
        }
        if (finishHandler && !terminated.load()) {
            finishHandler(status, QString::fromLocal8Bit(errorOutput));
        }
        {
            std::lock_guard<std::mutex> lock(mutex);
            finished = true;
        }
        finishedCondition.notify_all();
    }
};

ILRJSONLogStream::ILRJSONLogStream(std::shared_ptr<State> state) : m_state(std::move(state)) {}

ILRJSONLogStream::~ILRJSONLogStream()
{
    // Releasing does not stop the child by itself; owners call terminate().
}

std::shared_ptr<ILRJSONLogStream> ILRJSONLogStream::start(const QString& toolPath,
                                                          const QStringList& arguments,
                                                          OutputHandler handler, bool stopOnRefusal,
                                                          FinishHandler finished)
{
    auto state = std::make_shared<State>();
    state->handler = std::move(handler);
    state->finishHandler = std::move(finished);
    state->stopOnRefusal = stopOnRefusal;

    int output[2];
    int wake[2];
    if (::pipe2(output, O_CLOEXEC) != 0) {
        return nullptr;
    }
    state->outputFd = output[0];
    if (::pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        ::close(output[1]);
        return nullptr;
    }
    state->wakeReadFd = wake[0];
    state->wakeWriteFd = wake[1];
    int error[2];
    if (::pipe2(error, O_CLOEXEC) != 0) {
        ::close(output[1]);
        return nullptr;
    }
    state->errorFd = error[0];
    ::fcntl(error[0], F_SETFL, ::fcntl(error[0], F_GETFL) | O_NONBLOCK);

    const QByteArray path = toolPath.toLocal8Bit();
    std::vector<QByteArray> storage;
    storage.reserve(arguments.size() + 1);
    storage.push_back(path);
    for (const QString& argument : arguments) {
        storage.push_back(argument.toLocal8Bit());
    }
    std::vector<char*> argv;
    for (QByteArray& argument : storage) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, error[1], STDERR_FILENO);
    pid_t pid = -1;
    const int spawnError =
        ::posix_spawn(&pid, path.constData(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(output[1]);
    ::close(error[1]);
    if (spawnError != 0) {
        return nullptr;
    }
    state->pid = pid;

    std::thread([state] { state->read(); }).detach();
    return std::shared_ptr<ILRJSONLogStream>(new ILRJSONLogStream(state));
}

bool ILRJSONLogStream::waitForStream(const QString& toolPath, const QStringList& arguments,
                                     OutputHandler handler)
{
    const std::shared_ptr<ILRJSONLogStream> stream =
        start(toolPath, arguments, std::move(handler), true);
    if (!stream) {
        return false;
    }
    stream->waitUntilExit();
    stream->terminate();
    return true;
}

void ILRJSONLogStream::waitUntilExit()
{
    std::unique_lock<std::mutex> lock(m_state->mutex);
    m_state->finishedCondition.wait(lock, [this] { return m_state->finished; });
}

void ILRJSONLogStream::terminate()
{
    m_state->terminated = true;
    m_state->signalChild();
    const char byte = 0;
    [[maybe_unused]] const ssize_t written = ::write(m_state->wakeWriteFd, &byte, 1);
}

bool ILRJSONLogStream::isRunning() const
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    return !m_state->reaped;
}
