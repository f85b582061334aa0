// Key bindings are text that other applications publish over accessibility,
// in GTK's, Gecko's or Qt's form, next to the item's title. A NUL byte,
// where there is one, ends the title; the rest is the binding. Applications
// may publish texts of any length, so inputs reach a megabyte. The form a
// text is read in is decided from the text alone, and only texts within the
// length cap name a key.
// fuzz-max-len: 1048576
#include "platform/accessibility/MenuKeyBinding.h"

#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const qsizetype split = bytes.indexOf('\0');
    const QString title = split < 0 ? QString() : QString::fromUtf8(bytes.left(split));
    const QString text = QString::fromUtf8(split < 0 ? bytes : bytes.mid(split + 1));
    (void)platform::MenuKeyBinding::formOf(text);
    const std::optional<platform::MenuKeyBinding> binding =
        platform::MenuKeyBinding::fromKeyBindingText(text, title);
    if (binding && (text.size() > platform::MenuKeyBinding::MaximumTextLength ||
                    (binding->character().isEmpty() == !binding->virtualKey()))) {
        abort();
    }
    return 0;
}
