#include "platform/files/RegularFile.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

RegularFileRead readRegularFile(const QString& path, qint64 maximumSize)
{
    RegularFileRead result;
    const auto unavailable = [&result](const QString& why) {
        result.outcome = RegularFileRead::Outcome::Unavailable;
        result.error = why;
        return result;
    };
    // Opened without waiting, then checked on the open descriptor itself, so
    // that nothing can be swapped in between the check and the read.
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        const int error = errno;
        if (error == ENOENT) {
            return result;
        }
        return unavailable(QString::fromLocal8Bit(std::strerror(error)));
    }
    struct stat status = {};
    if (::fstat(fd, &status) != 0) {
        const int error = errno;
        ::close(fd);
        return unavailable(QString::fromLocal8Bit(std::strerror(error)));
    }
    if (!S_ISREG(status.st_mode)) {
        ::close(fd);
        return unavailable(S_ISDIR(status.st_mode) ? QStringLiteral("it is a folder, not a file")
                                                   : QStringLiteral("it is not a regular file"));
    }
    if (status.st_size > maximumSize) {
        ::close(fd);
        result.tooLarge = true;
        return unavailable(QStringLiteral("larger than %1 bytes").arg(maximumSize));
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return unavailable(file.errorString());
    }
    // A file that grows while it is read is read no further than the limit.
    QByteArray bytes;
    constexpr qint64 chunk = 64 * 1024;
    while (bytes.size() <= maximumSize) {
        const QByteArray part = file.read(chunk);
        if (part.isEmpty()) {
            break;
        }
        bytes += part;
    }
    if (file.error() != QFileDevice::NoError) {
        return unavailable(file.errorString());
    }
    if (bytes.size() > maximumSize) {
        result.tooLarge = true;
        return unavailable(QStringLiteral("larger than %1 bytes").arg(maximumSize));
    }
    result.outcome = RegularFileRead::Outcome::Read;
    result.bytes = std::move(bytes);
    return result;
}

} // namespace platform
