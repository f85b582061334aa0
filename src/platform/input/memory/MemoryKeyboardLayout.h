#pragma once

#include "platform/input/KeyboardLayout.h"

#include <QHash>
#include <atomic>

namespace platform {

// A keyboard layout that answers from a table the test fills in. Keys without
// an entry behave like dead or missing keys.
class MemoryKeyboardLayout : public KeyboardLayout
{
public:
    MemoryKeyboardLayout() = default;
    explicit MemoryKeyboardLayout(QHash<quint16, QString> characters);

    // The letters and digits of a US layout at their virtual key codes.
    static QHash<quint16, QString> usLetterKeys();

    std::optional<QString> characterForKeyCode(quint16 keyCode) const override;

    void setCharacter(quint16 keyCode, const QString& character);
    void removeCharacter(quint16 keyCode);
    // How many times the layout was asked.
    int queryCount() const { return m_queryCount.load(); }

private:
    QHash<quint16, QString> m_characters;
    mutable std::atomic<int> m_queryCount{0};
};

} // namespace platform
