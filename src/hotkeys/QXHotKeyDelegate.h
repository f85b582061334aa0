#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>
#include <memory>

class QXHotKey;
class QXHotKeyTextView;

// The owner of a set of hot keys takes part in their registration and their
// recording through this. The methods after the required ones are optional:
// callers ask with the respondsTo... member before calling one.
class QXHotKeyDelegate
{
public:
    virtual ~QXHotKeyDelegate() = default;

    // Every hot key the owner holds now; registration refuses a hot key equal
    // to one of them.
    virtual QList<std::shared_ptr<QXHotKey>> hotKeys() const = 0;
    // The four-character code put into every registration.
    virtual quint32 hotKeySignature() const = 0;
    // The settings key a recorder stores its hot key under.
    virtual QString identifierForHotKeyTextView(const QXHotKeyTextView* textView) const = 0;
    // Asked before a recorder takes a new hot key (or clears it, with none).
    virtual bool shouldSetHotKey(const std::shared_ptr<QXHotKey>& hotKey,
                                 const QString& identifier) = 0;

    // Allows a hot key to be local to the program.
    virtual bool respondsToHotKeyCanBeLocal() const { return false; }
    virtual bool hotKeyCanBeLocal(const QXHotKey& hotKey)
    {
        Q_UNUSED(hotKey);
        return false;
    }
    // Allows a hot key equal to existing ones; it then shares their registration.
    virtual bool respondsToAcceptNonUniqueHotKey() const { return false; }
    virtual bool acceptNonUniqueHotKey(const QXHotKey& hotKey,
                                       const QList<std::shared_ptr<QXHotKey>>& existingEquals)
    {
        Q_UNUSED(hotKey);
        Q_UNUSED(existingEquals);
        return false;
    }
    // Told after a recorder took a hot key (or cleared it).
    virtual bool respondsToDidSetHotKey() const { return false; }
    virtual void didSetHotKey(const std::shared_ptr<QXHotKey>& hotKey, const QString& identifier)
    {
        Q_UNUSED(hotKey);
        Q_UNUSED(identifier);
    }
    // The font size of a recorder's text.
    virtual bool respondsToFontSizeForHotKeyTextView() const { return false; }
    virtual double fontSizeForHotKeyTextView(const QXHotKeyTextView* textView)
    {
        Q_UNUSED(textView);
        return 0;
    }

protected:
    QXHotKeyDelegate() = default;
    QXHotKeyDelegate(const QXHotKeyDelegate&) = default;
    QXHotKeyDelegate& operator=(const QXHotKeyDelegate&) = default;
};
