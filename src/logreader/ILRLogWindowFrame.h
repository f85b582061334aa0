#pragma once

#include <QObject>
#include <QRect>
#include <QString>

class QTimer;
class QWidget;

// Keeps the log window's frame in the settings under "Window Frame <name>"
// as "x y width height", as the program's other windows keep theirs: the
// frame is restored when the window is built (centred when none is saved,
// and kept inside the screen), and saved a moment after each move or resize
// and when the window closes. Without a name the window is only centred.
// Lives as a child of the window it watches.
class ILRLogWindowFrame : public QObject
{
    Q_OBJECT

public:
    ILRLogWindowFrame(QWidget* window, const QString& autosaveName);

    // The settings key of a frame saved under NAME.
    static QString settingsKey(const QString& name);
    // A saved frame moved and shrunk as little as needed to lie inside
    // AVAILABLE.
    static QRect clampedFrame(const QRect& saved, const QRect& available);

    // Puts the window where its saved frame was, or in the middle of the
    // screen.
    void restoreOrCenter();
    // Stores the frame now (while the window is shown).
    void save();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
    QString m_key;
    QTimer* m_saveTimer;
};
