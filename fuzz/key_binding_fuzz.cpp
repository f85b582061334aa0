// Key bindings are text that other applications publish over accessibility,
// in GTK's or Qt's dialect.
#include "platform/accessibility/MenuKeyBinding.h"

#include <QString>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    (void)platform::MenuKeyBinding::fromKeyBindingText(text);
    return 0;
}
