// Key bindings are text that other applications publish over accessibility,
// in GTK's or Qt's dialect, next to the item's title. The first byte picks the
// dialect; a NUL byte, where there is one, ends the title. Applications may
// publish texts of any length, so inputs reach a megabyte.
// fuzz-max-len: 1048576
#include "platform/accessibility/MenuKeyBinding.h"

#include <QString>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) {
        return 0;
    }
    const auto dialect = data[0] % 2 == 0 ? platform::MenuKeyBinding::Dialect::Gtk
                                          : platform::MenuKeyBinding::Dialect::Qt;
    const QByteArray rest(reinterpret_cast<const char*>(data + 1),
                          static_cast<qsizetype>(size - 1));
    const qsizetype split = rest.indexOf('\0');
    const QString title = split < 0 ? QString() : QString::fromUtf8(rest.left(split));
    const QString text = QString::fromUtf8(split < 0 ? rest : rest.mid(split + 1));
    (void)platform::MenuKeyBinding::fromKeyBindingText(text, dialect, title);
    return 0;
}
