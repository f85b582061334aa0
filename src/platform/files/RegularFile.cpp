#include "platform/files/RegularFile.h"

#include <QFile>
#include <QScopeGuard>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::RegularFile {

namespace {

struct Report
{
    QString* error;
    Failure* failure;

    std::nullopt_t operator()(Failure kind, const QString& text) const
    {
        if (error) {
            *error = text;
        }
        if (failure) {
            *failure = kind;
        }
        return std::nullopt;
    }
};

QString errnoText(int number)
{
    return QString::fromLocal8Bit(std::strerror(number));
}

} // namespace

bool isRegularFile(const QString& path)
{
    if (path.isEmpty()) {
        return false;
    }
    struct stat status = {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 && S_ISREG(status.st_mode);
}

std::optional<QByteArray> read(const QString& path, qint64 maximumSize, QString* error,
                               Failure* failure)
{
    const Report fail{error, failure};
    if (failure) {
        *failure = Failure::None;
    }
    if (path.isEmpty()) {
        return fail(Failure::Unreadable, QStringLiteral("no file name"));
    }
    const QByteArray name = QFile::encodeName(path);
    struct stat status = {};
    if (::stat(name.constData(), &status) != 0) {
        const int number = errno;
        return fail(number == ENOENT ? Failure::Missing : Failure::Unreadable, errnoText(number));
    }
    if (!S_ISREG(status.st_mode)) {
        return fail(Failure::NotRegular, QStringLiteral("not a regular file"));
    }
    // Non-blocking, in case a pipe took the file's place since the check.
    const int descriptor = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (descriptor < 0) {
        const int number = errno;
        return fail(number == ENOENT ? Failure::Missing : Failure::Unreadable, errnoText(number));
    }
    const auto closeDescriptor = qScopeGuard([descriptor] { ::close(descriptor); });
    if (::fstat(descriptor, &status) != 0) {
        return fail(Failure::Unreadable, errnoText(errno));
    }
    if (!S_ISREG(status.st_mode)) {
        return fail(Failure::NotRegular, QStringLiteral("not a regular file"));
    }
    const QString tooLarge = QStringLiteral("larger than %1 bytes").arg(maximumSize);
    if (status.st_size > maximumSize) {
        return fail(Failure::TooLarge, tooLarge);
    }
    QByteArray data;
    data.resize(qsizetype(status.st_size) + 1);
    qsizetype filled = 0;
    for (;;) {
        if (filled == data.size()) {
            if (filled > maximumSize) {
                return fail(Failure::TooLarge, tooLarge);
            }
            data.resize(std::min<qsizetype>(qsizetype(maximumSize) + 1, data.size() * 2 + 4096));
        }
        const ssize_t count =
            ::read(descriptor, data.data() + filled, size_t(data.size() - filled));
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            return fail(Failure::Unreadable, errnoText(errno));
        }
        if (count == 0) {
            break;
        }
        filled += count;
    }
    if (filled > maximumSize) {
        return fail(Failure::TooLarge, tooLarge);
    }
    data.truncate(filled);
    return data;
}

} // namespace platform::RegularFile
