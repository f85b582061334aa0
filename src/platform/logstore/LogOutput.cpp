#include "platform/logstore/LogOutput.h"

#include <cerrno>
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
        const ssize_t written = ::write(m_fd, data, std::size_t(left));
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
