#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace platform {

// Files that other programs or users may have put in place: a named pipe, a
// device or a huge file where a page or a feed is expected must neither block
// the caller nor fill its memory.
namespace RegularFile {

// Why a read failed.
enum class Failure
{
    None,
    Missing,    // nothing at that path (a dangling link included)
    Unreadable, // not permitted, or an I/O error
    NotRegular, // a folder, named pipe, socket or device
    TooLarge,   // more bytes than allowed
};

// Whether path names a regular file (symbolic links followed). Never opens it.
bool isRegularFile(const QString& path);

// The whole contents of the regular file at path, when it holds at most
// maximumSize bytes. The file is checked before it is opened and again once
// open, and opened without waiting, so a named pipe or device is refused at
// once; a file that grows past the limit while it is read is refused too.
// On failure the result is empty, error (when given) says why in words and
// failure (when given) which kind of failure it was.
std::optional<QByteArray> read(const QString& path, qint64 maximumSize, QString* error = nullptr,
                               Failure* failure = nullptr);

} // namespace RegularFile

} // namespace platform
