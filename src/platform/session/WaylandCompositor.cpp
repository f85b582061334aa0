#include "platform/session/WaylandCompositor.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {

std::optional<qint64> waylandCompositorProcess(const QProcessEnvironment& environment)
{
    const QString display = environment.value(QStringLiteral("WAYLAND_DISPLAY"));
    if (display.isEmpty()) {
        return std::nullopt;
    }
    const QString runtime = environment.value(QStringLiteral("XDG_RUNTIME_DIR"));
    if (!QDir::isAbsolutePath(display) && runtime.isEmpty()) {
        return std::nullopt;
    }
    const QByteArray path =
        QFile::encodeName(QDir::isAbsolutePath(display) ? display : runtime + u'/' + display);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= qsizetype(sizeof address.sun_path)) {
        return std::nullopt;
    }
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0) {
        return std::nullopt;
    }
    std::optional<qint64> pid;
    ucred credentials{};
    socklen_t length = sizeof credentials;
    // Connecting to a listening Unix socket does not wait for the server to
    // accept; the kernel knows the listener's credentials at once.
    if (::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockopt(socket, SOL_SOCKET, SO_PEERCRED, &credentials, &length) == 0 &&
        credentials.pid > 0) {
        pid = credentials.pid;
    }
    ::close(socket);
    return pid;
}

} // namespace platform
