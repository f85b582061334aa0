// Command links come from help pages anyone can drop into the per-user help
// folder: "x-quirkworks-help://message/..." and
// "x-quirkworks-help://default/<key>#<value>". Each input is one link's text.
// fuzz-max-len: 1048576
#include "help/QXHelpCommandLink.h"

#include <QString>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QXHelpCommandLink link = QXHelpCommandLink::parse(text);
    switch (link.kind) {
    case QXHelpCommandLink::Kind::Malformed:
        if (link.problem.isEmpty())
            __builtin_trap();
        break;
    case QXHelpCommandLink::Kind::Message:
        if (text.size() > QXHelpCommandLink::MaximumLength || link.message.size() >= text.size())
            __builtin_trap();
        break;
    case QXHelpCommandLink::Kind::Default:
        if (text.size() > QXHelpCommandLink::MaximumLength || link.key.trimmed().isEmpty())
            __builtin_trap();
        if (link.value && !link.value->isValid())
            __builtin_trap();
        (void)QXHelpCommandLink::describeValue(link.value);
        break;
    }
    // Decoding a bounded piece of any text either fails or yields text no
    // longer than its input.
    const QString piece = text.left(QXHelpCommandLink::MaximumLength);
    if (const std::optional<QString> decoded = QXHelpCommandLink::percentDecoded(piece)) {
        if (decoded->size() > piece.size())
            __builtin_trap();
    }
    return 0;
}
