#pragma once

#include <QByteArray>

namespace platform::logstore {

// The log tool's standard output: text collects in a buffer and goes out in
// large writes. Once the reading end has gone away (EPIPE), writing stops and
// the tool ends quietly. When STOP becomes readable (a signalfd) while the
// reader does not take more, the rest is dropped instead of waiting for it.
// Without a file descriptor everything stays in the buffer, for tests.
class LogOutput
{
public:
    explicit LogOutput(int fileDescriptor = -1, int stopFd = -1)
        : m_fd(fileDescriptor), m_stopFd(stopFd)
    {}

    QByteArray& buffer() { return m_buffer; }

    // Writes the buffer out once it has grown past a few pages.
    bool flushIfFull() { return m_buffer.size() < chunkSize || flush(); }

    // Writes out everything buffered; false once the reader has gone or
    // writing failed.
    bool flush();

    bool isBroken() const { return m_broken; }

private:
    static constexpr qsizetype chunkSize = 64 * 1024;

    int m_fd;
    int m_stopFd;
    QByteArray m_buffer;
    bool m_broken = false;
};

} // namespace platform::logstore
