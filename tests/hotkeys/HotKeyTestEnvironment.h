#pragma once

#include "hotkeys/QXHotKey.h"
#include "hotkeys/QXHotKeyDelegate.h"
#include "platform/input/KeyboardLayout.h"
#include "platform/input/memory/MemoryHotKeyService.h"
#include "platform/input/memory/MemoryKeyboardLayout.h"
#include "support/LogCapture.h"
#include "support/TemporaryDefaults.h"

#include <QList>
#include <memory>

namespace HotKeyTest {

using namespace platform::ModifierFlag;

inline constexpr quint16 KeyM = 0x2E;
inline constexpr quint16 KeyP = 0x23;

// Settings on a temporary file, a US keyboard and the memory hot key service.
class Environment
{
public:
    Environment() : service(new platform::MemoryHotKeyService())
    {
        platform::HotKeyService::setCurrent(std::unique_ptr<platform::HotKeyService>(service));
        platform::KeyboardLayout::setCurrent(std::make_unique<platform::MemoryKeyboardLayout>(
            platform::MemoryKeyboardLayout::usLetterKeys()));
    }
    ~Environment()
    {
        platform::KeyboardLayout::setCurrent(nullptr);
        platform::HotKeyService::setCurrent(nullptr);
    }
    Environment(const Environment&) = delete;
    Environment& operator=(const Environment&) = delete;

    platform::UserDefaults& settings() { return defaults.defaults(); }

    TemporaryDefaults defaults;
    platform::MemoryHotKeyService* service; // owned by HotKeyService::current()
    LogCapture log;
};

// An owner of hot keys that holds what the test gives it.
class Owner : public QXHotKeyDelegate
{
public:
    QList<std::shared_ptr<QXHotKey>> hotKeys() const override { return held; }
    quint32 hotKeySignature() const override { return 0x54586B6B; }
    QString identifierForHotKeyTextView(const QXHotKeyTextView*) const override { return {}; }
    bool shouldSetHotKey(const std::shared_ptr<QXHotKey>&, const QString&) override { return true; }

    QList<std::shared_ptr<QXHotKey>> held;
};

inline std::shared_ptr<QXHotKey> hotKey(quint16 keyCode, platform::ModifierFlags flags,
                                        const QString& identifier = QStringLiteral("Menu Trigger"),
                                        const QString& shown = QStringLiteral("⌃⌥M"))
{
    return QXHotKey::hotKeyWithIdentifer(identifier, shown, keyCode, flags);
}

} // namespace HotKeyTest
