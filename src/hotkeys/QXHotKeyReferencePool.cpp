#include "hotkeys/QXHotKeyReferencePool.h"

QXHotKeyReferencePool& QXHotKeyReferencePool::defaultPool()
{
    static QXHotKeyReferencePool* pool = new QXHotKeyReferencePool();
    return *pool;
}

void QXHotKeyReferencePool::push(platform::HotKeyHandle reference)
{
    if (reference == 0) {
        return;
    }
    if (!m_countersByReference) {
        m_countersByReference.emplace();
    }
    ++(*m_countersByReference)[reference];
}

bool QXHotKeyReferencePool::pop(platform::HotKeyHandle reference)
{
    if (reference == 0) {
        return false;
    }
    if (!m_countersByReference) {
        return true;
    }
    const int count = m_countersByReference->value(reference, 0);
    if (count < 2) {
        m_countersByReference->remove(reference);
        return true;
    }
    (*m_countersByReference)[reference] = count - 1;
    return false;
}

int QXHotKeyReferencePool::countForReference(platform::HotKeyHandle reference) const
{
    return m_countersByReference ? m_countersByReference->value(reference, 0) : 0;
}
