#include "hotkeys/QXHotKeyTextView.h"

#include "hotkeys/QXHotKey.h"
#include "hotkeys/QXHotKeyClearButton.h"
#include "hotkeys/QXHotKeyDelegate.h"
#include "hotkeys/QXHotKeyEvent.h"
#include "hotkeys/QXHotKeyHandlerApplication.h"
#include "platform/application/Activation.h"
#include "platform/defaults/UserDefaults.h"
#include "platform/input/VirtualKeyCodes.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFrame>

namespace {

// How long a field waits for a key before it stops recording.
constexpr int defaultRecordingTimeOutMilliseconds = 30 * 1000;
int recordingTimeOutMilliseconds = defaultRecordingTimeOutMilliseconds;
// The margin between the frame and the text, as a line edit has.
constexpr int verticalTextMargin = 1;
constexpr int horizontalTextMargin = 2;

const QString ignoreMetaKeysKey = QStringLiteral("QXHotKeyTextView: Ignore Meta Keys");
const QString flatUserInterfaceDrawingKey = QStringLiteral("QXFlatUserInterfaceDrawing");

QXHotKeyTextView::ReservedCombinationPrompt& reservedCombinationPrompt()
{
    static QXHotKeyTextView::ReservedCombinationPrompt prompt;
    return prompt;
}

// The grey of an empty field's text.
QColor placeholderColor()
{
    return QColor::fromRgbF(0.6f, 0.6f, 0.6f);
}

// The red of a hot key that does not work; readable on light and dark fields.
QColor problemColor()
{
    return QColor::fromRgb(0xD0, 0x30, 0x30);
}

// Modifier keys alone never make a hot key: they only change the next key.
bool isModifierKeyCode(quint16 keyCode)
{
    return keyCode >= platform::VirtualKey::RightCommand &&
           keyCode <= platform::VirtualKey::Function;
}

bool isModifierKey(int key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock:
        return true;
    default:
        return false;
    }
}

bool askToUseReservedCombination(QWidget* parent, const QString& text)
{
    if (reservedCombinationPrompt()) {
        return reservedCombinationPrompt()(text);
    }
    platform::Activation::current().activateIgnoringOtherApps();
    QMessageBox box(parent != nullptr ? parent->window() : nullptr);
    box.setIcon(QMessageBox::Warning);
    box.setWindowTitle(QStringLiteral("Trovix"));
    box.setText(QCoreApplication::translate("Trovix", "Use \"%1\"?").arg(text));
    box.setInformativeText(
        QCoreApplication::translate("Trovix",
                                    "Some applications might not respond properly to your input "
                                    "with the key combination \"%1\" being reserved as a hot key.")
            .arg(text));
    QPushButton* use = box.addButton(QCoreApplication::translate("Trovix", "Use \"%1\"").arg(text),
                                     QMessageBox::AcceptRole);
    QPushButton* cancel =
        box.addButton(QCoreApplication::translate("Trovix", "Cancel"), QMessageBox::RejectRole);
    box.setDefaultButton(use);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == use;
}

} // namespace

QXHotKeyTextView::QXHotKeyTextView(QWidget* parent) : QWidget(parent)
{
    // Only a click starts recording: keyboard navigation passes the field by.
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_recordingTimeOut.setSingleShot(true);
    connect(&m_recordingTimeOut, &QTimer::timeout, this, &QXHotKeyTextView::timeOutFirstResponder);
    updateText();
}

QXHotKeyTextView::~QXHotKeyTextView()
{
    if (QXHotKeyHandlerApplication::recordingHotKeyTextView() == this) {
        QXHotKeyHandlerApplication::setRecordingHotKeyTextView(nullptr);
    }
}

void QXHotKeyTextView::setHotKeyDelegate(QXHotKeyDelegate* delegate)
{
    m_hotKeyDelegate = delegate;
    applyFont();
}

void QXHotKeyTextView::setHotKey(const std::shared_ptr<QXHotKey>& hotKey)
{
    m_hotKey = hotKey;
    updateText();
    updateDeleteButton();
}

QXHotKeyClearButton* QXHotKeyTextView::deleteButton() const
{
    return m_deleteButton.data();
}

void QXHotKeyTextView::setDeleteButton(QXHotKeyClearButton* button)
{
    m_deleteButton = button;
    if (button != nullptr && isHidden() && !button->isWindow()) {
        button->hide();
    }
    updateDeleteButton();
}

bool QXHotKeyTextView::flatUserInterfaceDrawing()
{
    platform::UserDefaults& defaults = platform::UserDefaults::standard();
    if (!defaults.registeredDefaults().contains(flatUserInterfaceDrawingKey)) {
        defaults.registerDefaults({{flatUserInterfaceDrawingKey, true}});
    }
    return defaults.boolForKey(flatUserInterfaceDrawingKey);
}

void QXHotKeyTextView::setReservedCombinationPromptForTesting(ReservedCombinationPrompt prompt)
{
    reservedCombinationPrompt() = std::move(prompt);
}

void QXHotKeyTextView::setRecordingTimeOutForTesting(int milliseconds)
{
    recordingTimeOutMilliseconds =
        milliseconds > 0 ? milliseconds : defaultRecordingTimeOutMilliseconds;
}

QString QXHotKeyTextView::identifier() const
{
    return m_hotKeyDelegate != nullptr ? m_hotKeyDelegate->identifierForHotKeyTextView(this)
                                       : QString();
}

void QXHotKeyTextView::applyFont()
{
    QFont font = QApplication::font(this);
    if (m_hotKeyDelegate != nullptr && m_hotKeyDelegate->respondsToFontSizeForHotKeyTextView()) {
        const double size = m_hotKeyDelegate->fontSizeForHotKeyTextView(this);
        if (size > 0) {
            font.setPointSizeF(size);
        }
    }
    setFont(font);
    updateGeometry();
}

void QXHotKeyTextView::updateText()
{
    if (m_hotKey) {
        m_text = m_hotKey->visualRepresentation();
    } else if (m_recording) {
        m_text = QStringLiteral(" ");
    } else {
        m_text = tr("None");
    }
    QString problem;
    if (m_hotKey && !m_hotKey->isRegistered() && m_hotKey->refusal()) {
        problem = m_hotKey->refusal() == platform::HotKeyRefusal::NotInKeyboardMapping
                      ? tr("Not available with this keyboard")
                      : tr("In use by another program");
    }
    setToolTip(problem.isEmpty() ? (m_hotKey ? m_text : QString()) : m_text + u'\n' + problem);
    if (problem != m_registrationProblem) {
        m_registrationProblem = problem;
        setAccessibleDescription(problem);
        Q_EMIT registrationProblemChanged(problem);
    }
    update();
}

void QXHotKeyTextView::updateRegistrationState()
{
    updateText();
}

void QXHotKeyTextView::setRecording(bool recording)
{
    m_recording = recording;
    if (recording) {
        QXHotKeyHandlerApplication::setRecordingHotKeyTextView(this);
        m_recordingTimeOut.start(recordingTimeOutMilliseconds);
    } else {
        if (QXHotKeyHandlerApplication::recordingHotKeyTextView() == this) {
            QXHotKeyHandlerApplication::setRecordingHotKeyTextView(nullptr);
        }
        m_recordingTimeOut.stop();
    }
    updateText();
    updateDeleteButton();
}

void QXHotKeyTextView::updateDeleteButton()
{
    if (m_deleteButton == nullptr) {
        return;
    }
    m_deleteButton->setEnabled(m_hotKey != nullptr || m_recording || flatUserInterfaceDrawing());
    m_deleteButton->update();
}

void QXHotKeyTextView::startRecordingFromClearButton()
{
    if (hasFocus()) {
        setRecording(true);
    } else {
        setFocus(Qt::MouseFocusReason);
    }
}

void QXHotKeyTextView::activelyResignFirstResponder()
{
    if (hasFocus()) {
        clearFocus();
    }
    if (m_recording) {
        setRecording(false);
    }
}

void QXHotKeyTextView::timeOutFirstResponder()
{
    if (m_recording) {
        activelyResignFirstResponder();
    }
}

void QXHotKeyTextView::beep()
{
    platform::Activation::current().beep();
}

void QXHotKeyTextView::keyDown(const platform::Event& event)
{
    if (!m_recording || isModifierKeyCode(event.keyCode)) {
        return;
    }
    using namespace platform::ModifierFlag;
    const platform::ModifierFlags flags = event.modifierFlags;
    if ((flags & StandardModifiersMask) == 0 && event.type == platform::Event::Type::KeyDown &&
        !platform::UserDefaults::standard().boolForKey(ignoreMetaKeysKey) &&
        event.characters.startsWith(QChar(27))) {
        activelyResignFirstResponder();
        return;
    }
    if (m_hotKeyDelegate == nullptr || event.keyCode == platform::Event::NoKeyCode) {
        beep();
        return;
    }
    const QString hotKeyIdentifier = identifier();
    std::shared_ptr<QXHotKey> hotKey = QXHotKey::hotKeyWithIdentifer(
        hotKeyIdentifier, QXHotKeyEvent::visualKeyboardEventRepresentation(event), event.keyCode,
        flags);
    if (!hotKey->testForDelegate(*m_hotKeyDelegate)) {
        // Taken by the other hot key, or refused by the desktop: try another.
        beep();
        return;
    }
    if ((flags & (Shift | Control | Option)) == 0) {
        const QPointer<QXHotKeyTextView> self(this);
        const bool use = askToUseReservedCombination(this, hotKey->visualRepresentation());
        if (self == nullptr) {
            return;
        }
        if (!use) {
            activelyResignFirstResponder();
            return;
        }
    }
    if (m_hotKeyDelegate->shouldSetHotKey(hotKey, hotKeyIdentifier)) {
        // The replaced hot key stops working now, whoever still holds it.
        if (m_hotKey && m_hotKey != hotKey) {
            m_hotKey->unregister();
        }
        setHotKey(hotKey);
        if (m_hotKeyDelegate->respondsToDidSetHotKey()) {
            m_hotKeyDelegate->didSetHotKey(hotKey, hotKeyIdentifier);
        }
        Q_EMIT hotKeyChanged();
    }
    activelyResignFirstResponder();
}

void QXHotKeyTextView::recordHotKeyPress(const platform::Event& systemDefinedEvent)
{
    if (!m_recording) {
        return;
    }
    if (m_hotKeyDelegate != nullptr) {
        for (const std::shared_ptr<QXHotKey>& held : m_hotKeyDelegate->hotKeys()) {
            if (held && held->hotKeyReference() != 0 &&
                qint64(held->hotKeyReference()) == systemDefinedEvent.data1) {
                platform::Event event;
                event.type = platform::Event::Type::KeyDown;
                event.keyCode = held->keyCode();
                event.modifierFlags = held->modifierFlags();
                event.timestamp = systemDefinedEvent.timestamp;
                keyDown(event);
                return;
            }
        }
    }
    beep();
}

void QXHotKeyTextView::deleteHotKey()
{
    if (flatUserInterfaceDrawing() && !m_hotKey && !m_recording) {
        startRecordingFromClearButton();
        return;
    }
    const QString hotKeyIdentifier = identifier();
    // The delegate is asked first, so a refused clear leaves the hot key
    // working as it is shown.
    if (m_hotKeyDelegate != nullptr &&
        m_hotKeyDelegate->shouldSetHotKey(nullptr, hotKeyIdentifier)) {
        if (m_hotKey) {
            m_hotKey->unregister();
        }
        setHotKey(nullptr);
        if (m_hotKeyDelegate->respondsToDidSetHotKey()) {
            m_hotKeyDelegate->didSetHotKey(nullptr, hotKeyIdentifier);
        }
        Q_EMIT hotKeyChanged();
    }
    if (m_recording) {
        activelyResignFirstResponder();
    } else {
        update();
    }
}

bool QXHotKeyTextView::event(QEvent* event)
{
    if (m_recording) {
        if (event->type() == QEvent::ShortcutOverride) {
            // Every combination reaches the field rather than the window's
            // shortcuts and menus.
            event->accept();
            return true;
        }
        if (event->type() == QEvent::KeyPress) {
            // Tab is recorded instead of moving the focus on.
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
                keyPressEvent(static_cast<QKeyEvent*>(event));
                return true;
            }
        }
    }
    return QWidget::event(event);
}

void QXHotKeyTextView::keyPressEvent(QKeyEvent* event)
{
    if (!m_recording) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    if (isModifierKey(event->key())) {
        return;
    }
    keyDown(QXHotKeyHandlerApplication::eventForKeyEvent(*event));
}

void QXHotKeyTextView::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    // A click into an inactive window gives the focus only once the window
    // is active, for the window's sake rather than the mouse's.
    const bool clicked = event->reason() == Qt::MouseFocusReason || m_clickedWhileInactive;
    m_clickedWhileInactive = false;
    if (clicked && !m_recording) {
        setRecording(true);
    }
}

void QXHotKeyTextView::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    m_clickedWhileInactive = false;
    if (m_recording) {
        setRecording(false);
    }
}

void QXHotKeyTextView::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() != Qt::LeftButton || m_recording) {
        return;
    }
    if (hasFocus()) {
        // The field got the focus some other way: the click starts recording.
        setRecording(true);
    } else if (!isActiveWindow()) {
        m_clickedWhileInactive = true;
        setFocus(Qt::MouseFocusReason);
        activateWindow();
    }
}

void QXHotKeyTextView::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange) {
        update();
        if (m_recording && !isActiveWindow()) {
            activelyResignFirstResponder();
        }
    } else if (event->type() == QEvent::FontChange) {
        updateGeometry();
    }
}

void QXHotKeyTextView::setVisible(bool visible)
{
    QWidget::setVisible(visible);
    if (m_deleteButton != nullptr && !m_deleteButton->isWindow()) {
        m_deleteButton->setVisible(visible);
    }
}

QSize QXHotKeyTextView::sizeHint() const
{
    const QFontMetrics metrics(font());
    QStyleOptionFrame option;
    option.initFrom(this);
    option.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this);
    const QSize contents(metrics.horizontalAdvance(QLatin1Char('x')) * 17 +
                             2 * horizontalTextMargin,
                         metrics.height() + 2 * verticalTextMargin);
    return style()->sizeFromContents(QStyle::CT_LineEdit, &option, contents, this);
}

QSize QXHotKeyTextView::minimumSizeHint() const
{
    const QSize hint = sizeHint();
    return {QFontMetrics(font()).horizontalAdvance(QLatin1Char('x')) * 6, hint.height()};
}

void QXHotKeyTextView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOptionFrame option;
    option.initFrom(this);
    option.rect = rect();
    option.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this);
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    if (m_recording) {
        option.state |= QStyle::State_HasFocus;
    }
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &painter, this);

    const int frame = option.lineWidth;
    const QRect inside = rect().adjusted(frame, frame, -frame, -frame);
    const bool windowActive = isActiveWindow();
    const QPalette::ColorGroup group = windowActive ? QPalette::Active : QPalette::Inactive;
    if (m_recording) {
        painter.fillRect(inside, palette().color(group, QPalette::Highlight));
    }
    QColor textColor = palette().color(group, QPalette::Text);
    if (!m_hotKey) {
        textColor = placeholderColor();
    } else if (m_recording) {
        textColor = palette().color(group, QPalette::HighlightedText);
    } else if (!m_registrationProblem.isEmpty()) {
        textColor = problemColor();
    }
    const QRect textRect = inside.adjusted(horizontalTextMargin, verticalTextMargin,
                                           -horizontalTextMargin, -verticalTextMargin);
    painter.setPen(textColor);
    painter.setFont(font());
    const QString shown = QFontMetrics(font()).elidedText(m_text, Qt::ElideRight, textRect.width());
    painter.drawText(textRect, Qt::AlignCenter | Qt::TextSingleLine, shown);
}
