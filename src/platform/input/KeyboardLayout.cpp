#include "platform/input/KeyboardLayout.h"

#include "platform/input/x11/X11KeyboardLayout.h"

#include <QMutex>
#include <QMutexLocker>

namespace platform {
namespace {

QMutex& layoutMutex()
{
    static QMutex mutex;
    return mutex;
}

std::unique_ptr<KeyboardLayout>& installedLayout()
{
    static std::unique_ptr<KeyboardLayout> layout;
    return layout;
}

} // namespace

KeyboardLayout::~KeyboardLayout() = default;

KeyboardLayout& KeyboardLayout::current()
{
    QMutexLocker locker(&layoutMutex());
    std::unique_ptr<KeyboardLayout>& layout = installedLayout();
    if (!layout) {
        layout = std::make_unique<X11KeyboardLayout>();
    }
    return *layout;
}

void KeyboardLayout::setCurrent(std::unique_ptr<KeyboardLayout> layout)
{
    QMutexLocker locker(&layoutMutex());
    installedLayout() = std::move(layout);
}

} // namespace platform
