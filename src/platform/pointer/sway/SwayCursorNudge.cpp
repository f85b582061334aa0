#include "platform/pointer/sway/SwayCursorNudge.h"

#include <array>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <utility>

namespace platform {
namespace {

constexpr char Magic[] = "i3-ipc";
constexpr quint32 RunCommand = 0;

} // namespace

SwayCursorNudge::SwayCursorNudge(QString socketPath) : m_socketPath(std::move(socketPath)) {}

SwayCursorNudge::~SwayCursorNudge()
{
    close();
}

void SwayCursorNudge::close()
{
    if (m_socket >= 0) {
        ::close(m_socket);
    }
    m_socket = -1;
}

QByteArray SwayCursorNudge::commandMessage(const QByteArray& command)
{
    QByteArray message(Magic, sizeof Magic - 1);
    const quint32 header[] = {static_cast<quint32>(command.size()), RunCommand};
    message.append(reinterpret_cast<const char*>(header), sizeof header);
    message.append(command);
    return message;
}

bool SwayCursorNudge::nudge()
{
    if (m_socket < 0) {
        const QByteArray path = m_socketPath.toLocal8Bit();
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        if (path.isEmpty() || path.size() >= static_cast<qsizetype>(sizeof address.sun_path)) {
            return false;
        }
        std::memcpy(address.sun_path, path.constData(), static_cast<size_t>(path.size()));
        m_socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (m_socket < 0 ||
            ::connect(m_socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
            close();
            return false;
        }
    }
    // sway's answers are not needed; they are read away so that they never
    // fill the socket.
    std::array<char, 512> answers{};
    while (::recv(m_socket, answers.data(), answers.size(), MSG_DONTWAIT) > 0) {
    }
    static const QByteArray message = commandMessage("seat - cursor move 0 0");
    const ssize_t written =
        ::send(m_socket, message.constData(), static_cast<size_t>(message.size()),
               MSG_DONTWAIT | MSG_NOSIGNAL);
    if (written != message.size()) {
        close();
        return false;
    }
    return true;
}

} // namespace platform
