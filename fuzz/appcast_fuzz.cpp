// Update feeds come from the network. Every input is read as an appcast, and
// whatever items it yields are compared and chosen from.
// fuzz-max-len: 1114112
#include "platform/updates/Appcast.h"
#include "platform/updates/VersionComparison.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QString error;
    const auto items = platform::parseAppcast(input, &error);
    if (items) {
        for (const platform::AppcastItem& item : *items) {
            (void)platform::compareVersions(item.version, item.shortVersionString);
            (void)item.downloadUrl();
        }
        (void)platform::availableUpdate(*items, QStringLiteral("1.0"));
    }
    // The raw text as two versions, split at the first newline.
    const qsizetype newline = input.indexOf('\n');
    const QString text = QString::fromUtf8(input);
    if (newline >= 0) {
        (void)platform::compareVersions(QString::fromUtf8(input.left(newline)),
                                        QString::fromUtf8(input.mid(newline + 1)));
    } else {
        (void)platform::compareVersions(text, text);
    }
    return 0;
}
