#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

// What reading a file that must be a plain file came to.
struct RegularFileRead
{
    enum class Outcome
    {
        Read,       // bytes holds the whole file
        Missing,    // nothing at that path (a dangling link included)
        Unavailable // something is there, but it could not be read now
    };
    Outcome outcome = Outcome::Missing;
    QByteArray bytes;
    QString error; // why it is unavailable, for a log line
    // Whether the file is there but larger than the limit (then Unavailable).
    bool tooLarge = false;
};

// Reads a file that must be a regular file, such as a settings or history
// file. Whatever else stands at the path (a folder, a FIFO, a device, a
// socket) is refused without being read, and opening never waits: a FIFO
// without a writer cannot hold up the calling thread. Files larger than
// maximumSize are refused unread.
RegularFileRead readRegularFile(const QString& path, qint64 maximumSize);

} // namespace platform
