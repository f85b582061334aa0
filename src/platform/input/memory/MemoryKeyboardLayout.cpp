#include "platform/input/memory/MemoryKeyboardLayout.h"

#include "platform/input/VirtualKeyCodes.h"

namespace platform {

MemoryKeyboardLayout::MemoryKeyboardLayout(QHash<quint16, QString> characters)
    : m_characters(std::move(characters))
{}

QHash<quint16, QString> MemoryKeyboardLayout::usLetterKeys()
{
    using namespace VirtualKey;
    return {
        {A, QStringLiteral("a")},      {B, QStringLiteral("b")},      {C, QStringLiteral("c")},
        {D, QStringLiteral("d")},      {E, QStringLiteral("e")},      {F, QStringLiteral("f")},
        {G, QStringLiteral("g")},      {H, QStringLiteral("h")},      {I, QStringLiteral("i")},
        {J, QStringLiteral("j")},      {K, QStringLiteral("k")},      {L, QStringLiteral("l")},
        {M, QStringLiteral("m")},      {N, QStringLiteral("n")},      {O, QStringLiteral("o")},
        {P, QStringLiteral("p")},      {Q, QStringLiteral("q")},      {R, QStringLiteral("r")},
        {S, QStringLiteral("s")},      {T, QStringLiteral("t")},      {U, QStringLiteral("u")},
        {V, QStringLiteral("v")},      {W, QStringLiteral("w")},      {X, QStringLiteral("x")},
        {Y, QStringLiteral("y")},      {Z, QStringLiteral("z")},      {Digit0, QStringLiteral("0")},
        {Digit1, QStringLiteral("1")}, {Digit2, QStringLiteral("2")}, {Digit3, QStringLiteral("3")},
        {Digit4, QStringLiteral("4")}, {Digit5, QStringLiteral("5")}, {Digit6, QStringLiteral("6")},
        {Digit7, QStringLiteral("7")}, {Digit8, QStringLiteral("8")}, {Digit9, QStringLiteral("9")},
    };
}

std::optional<QString> MemoryKeyboardLayout::characterForKeyCode(quint16 keyCode) const
{
    ++m_queryCount;
    const auto found = m_characters.constFind(keyCode);
    if (found == m_characters.constEnd()) {
        return std::nullopt;
    }
    return *found;
}

void MemoryKeyboardLayout::setCharacter(quint16 keyCode, const QString& character)
{
    m_characters.insert(keyCode, character);
}

void MemoryKeyboardLayout::removeCharacter(quint16 keyCode)
{
    m_characters.remove(keyCode);
}

} // namespace platform
