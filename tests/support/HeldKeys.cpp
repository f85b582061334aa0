#include "support/HeldKeys.h"

#include <QCoreApplication>
#include <algorithm>

HeldKeys::HeldKeys()
{
    QCoreApplication::instance()->installEventFilter(this);
}

HeldKeys::~HeldKeys()
{
    QCoreApplication::instance()->removeEventFilter(this);
}

void HeldKeys::handBack(int count)
{
    const size_t taken = count < 0 ? m_keys.size() : std::min(m_keys.size(), size_t(count));
    for (size_t i = 0; i < taken; ++i) {
        auto& [receiver, key] = m_keys[i];
        if (receiver) {
            QCoreApplication::postEvent(receiver, key.release());
        } else {
            ++m_lost;
        }
    }
    m_keys.erase(m_keys.begin(), m_keys.begin() + std::ptrdiff_t(taken));
    QCoreApplication::sendPostedEvents();
}

bool HeldKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (event->spontaneous() &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        m_keys.emplace_back(watched, std::make_unique<QKeyEvent>(
                                         key->type(), key->key(), key->modifiers(), key->text(),
                                         key->isAutoRepeat(), quint16(key->count())));
        return true;
    }
    return QObject::eventFilter(watched, event);
}
