#include "platform/logstore/LogOutput.h"

#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <unistd.h>

namespace platform::logstore {

bool LogOutput::flush()
{
    if (m_fd < 0 || m_broken) {
        return !m_broken;
    }
    const char* data = m_buffer.constData();
    qsizetype left = m_buffer.size();
    while (left > 0) {
        qsizetype piece = left;
        if (m_stopFd >= 0) {
            // Wait until the reader takes more or a stop is asked for; a pipe
            // with room takes a page without blocking.
            pollfd fds[2] = {{m_fd, POLLOUT, 0}, {m_stopFd, POLLIN, 0}};
            if (::poll(fds, 2, -1) < 0) {
                if (errno == EINTR) {
                    continue;
                }
                m_broken = true;
                break;
            }
            if ((fds[0].revents & (POLLOUT | POLLERR | POLLHUP)) == 0) {
                m_broken = true; // stopped while the reader takes nothing
                break;
            }
            piece = std::min<qsizetype>(left, 4096);
        }
        const ssize_t written = ::write(m_fd, data, std::size_t(piece));
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            m_broken = true;
            break;
        }
        data += written;
        left -= written;
    }
    m_buffer.resize(0);
    return !m_broken;
}

} // namespace platform::logstore
