#pragma once

#include <QKeyEvent>
#include <QObject>
#include <QPointer>
#include <memory>
#include <utility>
#include <vector>

// Holds typed keys the way Qt's accessibility bridge does while
// accessibility is on: every key typed (a spontaneous key event; typed into
// a QWindow with QTest, it first reaches that window, as from the window
// system) is kept from the object it first reaches and handed back later,
// when handBack() is called, as a copy posted to that object. The bridge
// never frees a copy whose object is gone by then; this one counts it as
// lost.
class HeldKeys : public QObject
{
public:
    // Holds keys from now on, until destroyed.
    HeldKeys();
    ~HeldKeys() override;

    // Hands the count oldest keys back (all of them when count is negative)
    // and lets the event loop deliver them.
    void handBack(int count = -1);

    int held() const { return int(m_keys.size()); }
    // Keys whose object was gone when they were handed back.
    int lost() const { return m_lost; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::vector<std::pair<QPointer<QObject>, std::unique_ptr<QKeyEvent>>> m_keys;
    int m_lost = 0;
};
