#pragma once

#include "platform/input/Event.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

class QKeyEvent;
class QXHotKey;
class QXHotKeyClearButton;
class QXHotKeyDelegate;

// A one-line field that records a key combination. A click puts it into
// recording; the next key press becomes a hot key that the delegate is asked
// to accept (the delegate registers and stores it). Escape, a click
// elsewhere, a change of the window's active state or 30 seconds without a
// key end recording without a change. The field itself stores nothing.
class QXHotKeyTextView : public QWidget
{
    Q_OBJECT

public:
    explicit QXHotKeyTextView(QWidget* parent = nullptr);
    ~QXHotKeyTextView() override;

    void setHotKeyDelegate(QXHotKeyDelegate* delegate);
    QXHotKeyDelegate* hotKeyDelegate() const { return m_hotKeyDelegate; }

    std::shared_ptr<QXHotKey> hotKey() const { return m_hotKey; }
    // Shows the hot key (or none); makes no delegate calls.
    void setHotKey(const std::shared_ptr<QXHotKey>& hotKey);

    // The clear action: removes the hot key after asking the delegate. In the
    // flat drawing style an empty idle field starts recording instead.
    void deleteHotKey();

    // The clear button beside the field (not owned); set by the button.
    QXHotKeyClearButton* deleteButton() const;
    void setDeleteButton(QXHotKeyClearButton* button);

    bool isRecording() const { return m_recording; }
    // The text shown now ("None" for an empty idle field).
    QString displayedText() const { return m_text; }
    // Why the hot key shown does not work ("In use by another program"), or
    // empty while it works or there is none. Also the field's accessible
    // description and tool tip.
    QString registrationProblem() const { return m_registrationProblem; }
    // Shows again whether the hot key works, after its owner registered it
    // or the desktop refused it.
    void updateRegistrationState();

    // Records a key press given as the program's key event: the key and
    // modifiers become the new hot key, or Escape ends recording. Does
    // nothing while not recording.
    void keyDown(const platform::Event& event);
    // A press of a registered hot key, which the desktop hands to the program
    // instead of the focused field: recorded like the same key press.
    void recordHotKeyPress(const platform::Event& systemDefinedEvent);

    // Whether the clear button and the field use the flat drawing style.
    static bool flatUserInterfaceDrawing();

    // The reserved-combination question; answers whether to use the
    // combination. Tests replace the dialog; an empty function restores it.
    using ReservedCombinationPrompt = std::function<bool(const QString& visualRepresentation)>;
    static void setReservedCombinationPromptForTesting(ReservedCombinationPrompt prompt);
    // How long a field waits for a key (30 seconds unless a test shortens it);
    // applies to recordings started afterwards.
    static void setRecordingTimeOutForTesting(int milliseconds);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    void setVisible(bool visible) override;

Q_SIGNALS:
    // The user recorded or cleared a hot key and the delegate took it.
    void hotKeyChanged();
    // What registrationProblem() answers changed.
    void registrationProblemChanged(const QString& problem);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    friend class QXHotKeyClearButton;

    QString identifier() const;
    void applyFont();
    void updateText();
    void setRecording(bool recording);
    // Takes the focus as if clicked: used by the clear button of an empty
    // field in the flat style.
    void startRecordingFromClearButton();
    void activelyResignFirstResponder();
    void timeOutFirstResponder();
    void updateDeleteButton();
    void beep();

    QPointer<QXHotKeyClearButton> m_deleteButton;
    QXHotKeyDelegate* m_hotKeyDelegate = nullptr;
    std::shared_ptr<QXHotKey> m_hotKey;
    bool m_recording = false;
    bool m_clickedWhileInactive = false;
    QString m_text;
    QString m_registrationProblem;
    QTimer m_recordingTimeOut;
};
