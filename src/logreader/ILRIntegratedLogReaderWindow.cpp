// The window side of the log reader: showing the window, rendering the list,
// saving it and the view and debug-logging switches.
#include "logreader/ILRIntegratedLogReader.h"
#include "logreader/ILRIntegratedLogReaderDelegate.h"
#include "logreader/ILRIntegratedLogReaderState.h"
#include "logreader/ILRLogFindPlace.h"
#include "logreader/ILRLogWindow.h"
#include "logreader/ILRLogWindowFrame.h"
#include "platform/application/Activation.h"
#include "platform/bundle/Bundle.h"
#include "platform/defaults/UserDefaults.h"
#include "platform/log/SystemLog.h"
#include "platform/plist/PropertyList.h"
#include "platform/process/FreeMemory.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMutexLocker>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRecursiveMutex>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QTextBrowser>
#include <QTextDocument>
#include <QThread>
#include <QThreadPool>

namespace {

const QString HideSenderKey = QStringLiteral("ILRIntegratedLogReaderHideSender");
const QString DisableCoalescingKey = QStringLiteral("ILRIntegratedLogReaderDisableCoalescing");
const QString IdleFindEarlierTitle = QStringLiteral("\u2B06\uFE0E");

// Lists up to this long are built on the main thread at once; longer ones in
// the background, so that the window keeps answering.
constexpr qsizetype SynchronousRenderLimit = 2000;
// A replaced text at least this long is freed back to the system (about a
// megabyte and more, a few thousand entries).
constexpr int LargeTextCharacters = 1000000;

ILRIntegratedLogReader::AlertPresenter& alertPresenter()
{
    static ILRIntegratedLogReader::AlertPresenter presenter;
    return presenter;
}

ILRIntegratedLogReader::SavePanel& savePanel()
{
    static ILRIntegratedLogReader::SavePanel panel;
    return panel;
}

QThreadPool& renderPool()
{
    static QThreadPool* pool = [] {
        auto* threads = new QThreadPool;
        threads->setMaxThreadCount(1);
        return threads;
    }();
    return *pool;
}

void runAlert(const QString& message, const QString& text)
{
    if (alertPresenter()) {
        alertPresenter()(message, text);
        return;
    }
    QMessageBox box;
    box.setIcon(QMessageBox::Warning);
    box.setWindowTitle(QStringLiteral("Trovix"));
    box.setText(message);
    box.setInformativeText(text);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

QVariant propertyListValue(const QJsonValue& value)
{
    switch (value.type()) {
    case QJsonValue::Bool:
        return value.toBool();
    case QJsonValue::Double: {
        const double number = value.toDouble();
        const qint64 integer = value.toInteger(std::numeric_limits<qint64>::min());
        if (integer != std::numeric_limits<qint64>::min() ||
            number == static_cast<double>(integer)) {
            return integer;
        }
        return number;
    }
    case QJsonValue::String:
        return value.toString();
    case QJsonValue::Array: {
        QVariantList list;
        for (const QJsonValue& element : value.toArray()) {
            list.append(propertyListValue(element));
        }
        return list;
    }
    case QJsonValue::Object: {
        QVariantMap map;
        const QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it) {
            map.insert(it.key(), propertyListValue(it.value()));
        }
        return map;
    }
    case QJsonValue::Null:
    case QJsonValue::Undefined:
        break;
    }
    return QStringLiteral("<null>");
}

QIcon stopIcon(const QWidget* widget)
{
    return widget->style()->standardIcon(QStyle::SP_BrowserStop, nullptr, widget);
}

} // namespace

void ILRIntegratedLogReader::setAlertPresenterForTesting(AlertPresenter presenter)
{
    alertPresenter() = std::move(presenter);
}

void ILRIntegratedLogReader::setSavePanelForTesting(SavePanel panel)
{
    savePanel() = std::move(panel);
}

bool ILRIntegratedLogReader::displayLogActivating()
{
    // Where there is no log, the alert that says why comes with the program
    // in front; else the window first, so that activating the program brings
    // this window forward rather than the one that had the focus.
    if (!canDisplayLog()) {
        platform::Activation::current().activateIgnoringOtherApps();
        return displayLog();
    }
    const bool shown = displayLog();
    platform::Activation::current().activateIgnoringOtherApps();
    return shown;
}

bool ILRIntegratedLogReader::displayLog()
{
    if (QThread::currentThread() != thread()) {
        bool shown = false;
        QMetaObject::invokeMethod(
            this, [this, &shown] { shown = displayLog(); }, Qt::BlockingQueuedConnection);
        return shown;
    }
    if (!canDisplayLog()) {
        runAlert(tr("Log Not Supported"), logNotSupportedText());
        return false;
    }
    if (!m_window) {
        loadWindow();
    }
    const bool changed = updateQuerySettings();
    if (changed || !m_window->isVisible()) {
        updateLogAfterIncreasingNumberOfDays(false);
    }
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    return true;
}

void ILRIntegratedLogReader::loadWindow()
{
    m_window = new ILRLogWindow;
    m_windowTitle = tr("%1 Log").arg(platform::Bundle::main().name());
    m_window->setWindowTitle(m_windowTitle);
    m_window->setAccessibleName(m_windowTitle);
    (new ILRLogWindowFrame(m_window, windowFrameAutosaveName()))->restoreOrCenter();

    ILRLogWindow* window = m_window;
    connect(window->findEarlierResultsButton(), &QPushButton::clicked, this,
            &ILRIntegratedLogReader::findEarlierResults);
    connect(window->clearButton(), &QPushButton::clicked, this, &ILRIntegratedLogReader::clear);
    connect(window->saveButton(), &QPushButton::clicked, this, &ILRIntegratedLogReader::save);
    connect(window, &ILRLogWindow::returnPressed, this, [this] {
        QPushButton* button = m_window->saveButton();
        if (button->isEnabled() && !button->isHidden()) {
            button->click();
        }
    });
    // Toggled, not clicked: the switch's accessibility action ("Toggle")
    // changes it without a click.
    connect(window->debugLoggingSwitch(), &QCheckBox::toggled, this,
            &ILRIntegratedLogReader::toggleDebugLogging);
    connect(window, &ILRLogWindow::closing, this, &ILRIntegratedLogReader::windowWillClose);

    QMenu* menu = window->viewMenu();
    QAction* sender = menu->addAction(tr("Show Sender"));
    sender->setCheckable(true);
    connect(sender, &QAction::triggered, this, &ILRIntegratedLogReader::toggleMessageSender);
    QAction* coalescing = menu->addAction(tr("Coalesce Repeated Messages"));
    coalescing->setCheckable(true);
    connect(coalescing, &QAction::triggered, this,
            &ILRIntegratedLogReader::toggleMessageCoalescing);
    // The items are on while their settings are off.
    connect(menu, &QMenu::aboutToShow, this, [sender, coalescing] {
        const platform::UserDefaults& defaults = platform::UserDefaults::standard();
        sender->setChecked(!defaults.boolForKey(HideSenderKey));
        coalescing->setChecked(!defaults.boolForKey(DisableCoalescingKey));
    });
    menu->addSeparator();
    QAction* find = menu->addAction(tr("Find\u2026"));
    connect(find, &QAction::triggered, window, [window] {
        window->findField()->show();
        window->findField()->setFocus();
        window->findField()->selectAll();
    });
    connect(window->findField(), &QLineEdit::returnPressed, window, [window] {
        const QString text = window->findField()->text();
        QTextBrowser* view = window->logView();
        if (!text.isEmpty() && !view->find(text)) {
            view->moveCursor(QTextCursor::Start);
            if (!view->find(text)) {
                platform::Activation::current().beep();
            }
        }
    });

    ILRNotificationCenter& center = ILRNotificationCenter::defaultCenter();
    connect(&center, &ILRNotificationCenter::updateDisplayNotification, this, [this] {
        if (m_window && m_window->isVisible()) {
            updateDisplay();
        }
    });
    connect(&center, &ILRNotificationCenter::updateDebugLoggingSwitchNotification, this,
            &ILRIntegratedLogReader::updateDebugLoggingSwitch);
    // The settings may change elsewhere (the command line, another window).
    connect(&platform::UserDefaults::standard(), &platform::UserDefaults::didChange, this,
            [this] { updateDebugLoggingSwitch(nullptr); });
    updateDebugLoggingSwitch(nullptr);
    setBusy(false);
}

QString ILRIntegratedLogReader::windowFrameAutosaveName()
{
    if (m_delegate && m_delegate->respondsToWindowFrameAutosaveName()) {
        return m_delegate->windowFrameAutosaveNameForLogReader(*this).value_or(QString());
    }
    return QStringLiteral("%1.ILRLogWindow").arg(platform::Bundle::main().bundleIdentifier());
}

void ILRIntegratedLogReader::setBusy(bool busy)
{
    if (!m_window) {
        return;
    }
    QPushButton* findEarlier = m_window->findEarlierResultsButton();
    findEarlier->setEnabled(!busy);
    findEarlier->setText(busy ? QString() : IdleFindEarlierTitle);
    m_window->spinner()->setVisible(busy);
    m_window->setWindowTitle(busy ? tr("%1 \u2014 Finding Older Messages\u2026").arg(m_windowTitle)
                                  : m_windowTitle);
}

void ILRIntegratedLogReader::showToolError(const QString& message)
{
    m_toolError = message;
    if (!m_window) {
        return;
    }
    QLabel* label = m_window->toolErrorLabel();
    label->setText(message.isEmpty() ? QString() : tr("The log cannot be read: %1").arg(message));
    label->setVisible(!message.isEmpty());
}

// Rendering ------------------------------------------------------------------------

void ILRIntegratedLogReader::updateDisplay()
{
    {
        QMutexLocker locker(&m_state->lock);
        m_state->renderPosted = false;
    }
    if (!m_window) {
        return;
    }
    if (m_building) {
        m_renderAgain = true;
        return;
    }
    renderOnMainThread();
}

void ILRIntegratedLogReader::renderOnMainThread()
{
    ILRLogSnapshot snap = snapshot();
    const platform::UserDefaults& defaults = platform::UserDefaults::standard();
    snap.hideSender = defaults.boolForKey(HideSenderKey);
    snap.disableCoalescing = defaults.boolForKey(DisableCoalescingKey);
    snap.todayPrefix = ILRLogRenderer::todayPrefix();
    snap.font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    const QPalette palette = m_window->logView()->palette();
    snap.dimColor = palette.color(QPalette::Disabled, QPalette::Text);
    snap.messageColor = palette.color(QPalette::Active, QPalette::Text);
    const bool hasEntries = !snap.entries.isEmpty();

    if (snap.entries.size() <= SynchronousRenderLimit) {
        installDocument(ILRLogRenderer::render(snap), hasEntries);
        return;
    }
    m_building = true;
    std::shared_ptr<State> shared = m_state;
    QThread* mainThread = thread();
    renderPool().start([shared, snap = std::move(snap), mainThread, hasEntries] {
        auto document =
            std::make_shared<std::unique_ptr<QTextDocument>>(ILRLogRenderer::render(snap));
        (*document)->moveToThread(mainThread);
        QMutexLocker locker(&shared->lock);
        shared->post([document, hasEntries](ILRIntegratedLogReader& reader) {
            reader.m_building = false;
            reader.installDocument(std::move(*document), hasEntries);
            if (reader.m_renderAgain) {
                reader.m_renderAgain = false;
                reader.updateDisplay();
            }
        });
    });
}

void ILRIntegratedLogReader::installDocument(std::unique_ptr<QTextDocument> document,
                                             bool hasEntries)
{
    ILRLogWindow* window = m_window;
    if (!window) {
        return;
    }
    const qsizetype insertion = archiveInsertionIndex();
    QPushButton* clearButton = window->clearButton();
    if (hasEntries) {
        clearButton->setText(QStringLiteral("\u2205"));
        clearButton->setToolTip(tr("Clear"));
        clearButton->setAccessibleName(tr("Clear"));
        clearButton->setIcon(QIcon());
        clearButton->show();
    } else {
        // Stopping is offered only while an archive query fills an empty
        // list.
        clearButton->setText(QString());
        clearButton->setToolTip(tr("Stop"));
        clearButton->setAccessibleName(tr("Stop"));
        clearButton->setIcon(stopIcon(clearButton));
        clearButton->setVisible(insertion >= 0);
    }
    window->saveButton()->setVisible(hasEntries);

    QTextBrowser* view = window->logView();
    QScrollBar* bar = view->verticalScrollBar();
    const bool follow = bar->maximum() - bar->value() < 5;
    const int position = bar->value();
    // Where the cursor was (read now: the replaced text goes below).
    const QTextCursor cursor = view->textCursor();
    const int anchor = cursor.anchor();
    const int cursorPosition = cursor.position();
    const QString selected = cursor.selectedText();
    // The view owns the documents it is given, but setDocument() deletes only
    // the view's own first one: a replaced text of ours is deleted here, or
    // every redraw would keep a whole copy of the log.
    QTextDocument* replaced = view->document();
    const bool replacesOurs = replaced && replaced->parent() == view;
    document->setParent(view);
    view->setDocument(document.release());
    if (replacesOurs) {
        // A long log's text takes megabytes, built on another thread and
        // freed here: without handing it back, the freed memory stays with
        // the process. A short text is not worth the trim on the main thread.
        const bool large = replaced->characterCount() > LargeTextCharacters;
        delete replaced;
        if (large) {
            platform::returnFreeMemoryToSystem();
        }
    }
    // Find goes on from where it was: the cursor, with its selection, is
    // taken up again in the new text.
    view->setTextCursor(
        ILRLogFindPlace::cursorAt(*view->document(), anchor, cursorPosition, selected));
    if (hasEntries) {
        bar->setValue(follow ? bar->maximum() : position);
    }
    ++m_renderCount;
    Q_EMIT displayUpdated();
}

// Saving ---------------------------------------------------------------------------

QVariantList ILRIntegratedLogReader::propertyListEntries() const
{
    QVariantList list;
    QMutexLocker locker(&m_state->lock);
    if (!m_state->entries) {
        return list;
    }
    list.reserve(m_state->entries->size());
    for (const ILRLogEntry& entry : std::as_const(*m_state->entries)) {
        list.append(propertyListValue(entry.object()));
    }
    return list;
}

void ILRIntegratedLogReader::save()
{
    const QVariantList entries = propertyListEntries();
    if (entries.isEmpty()) {
        platform::systemLog(QStringLiteral("[ILR] cannot save log: no entries"));
        platform::Activation::current().beep();
        return;
    }
    QString path;
    if (savePanel()) {
        path = savePanel()(m_window);
    } else {
        QFileDialog dialog(m_window, tr("Save Log"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setNameFilter(tr("Property Lists (*.plist)"));
        dialog.setDefaultSuffix(QStringLiteral("plist"));
        dialog.selectFile(QStringLiteral("Log.plist"));
        dialog.setWindowModality(Qt::WindowModal);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
            path = dialog.selectedFiles().constFirst();
        }
    }
    if (path.isEmpty()) {
        return;
    }
    QString error;
    if (!platform::plist::writeFile(path, entries, &error)) {
        platform::systemLog(QStringLiteral("[ILR] cannot save log: %1 (%2)").arg(path, error));
        platform::Activation::current().beep();
    }
}

bool ILRIntegratedLogReader::writeLogToFile(const QString& path)
{
    const QVariantList entries = propertyListEntries();
    if (entries.isEmpty()) {
        platform::systemLog(QStringLiteral("[ILR] cannot save log: no entries"));
        platform::Activation::current().beep();
        return false;
    }
    QString error;
    if (!platform::plist::writeFile(path, entries, &error)) {
        platform::systemLog(QStringLiteral("[ILR] cannot save log: %1 (%2)").arg(path, error));
        platform::Activation::current().beep();
        return false;
    }
    return true;
}

// Switches -------------------------------------------------------------------------

void ILRIntegratedLogReader::toggleMessageSender()
{
    toggleDisplayRelatedUserDefault(HideSenderKey);
}

void ILRIntegratedLogReader::toggleMessageCoalescing()
{
    toggleDisplayRelatedUserDefault(DisableCoalescingKey);
}

void ILRIntegratedLogReader::toggleDisplayRelatedUserDefault(const QString& key)
{
    {
        QMutexLocker locker(&m_state->lock);
        platform::UserDefaults& defaults = platform::UserDefaults::standard();
        // Off is the absence of the key, never a stored NO.
        if (defaults.boolForKey(key)) {
            defaults.removeObjectForKey(key);
        } else {
            defaults.setBool(true, key);
        }
    }
    Q_EMIT ILRNotificationCenter::defaultCenter().updateDisplayNotification(this);
}

void ILRIntegratedLogReader::toggleDebugLogging(bool enabled)
{
    if (m_delegate && m_delegate->respondsToIsDebugLoggingEnabled()) {
        if (m_delegate->respondsToSetDebugLoggingEnabled()) {
            m_delegate->setDebugLoggingEnabled(enabled, *this);
        }
    } else if (!m_debugLoggingUserDefaultName.isEmpty()) {
        platform::UserDefaults::standard().setBool(enabled, m_debugLoggingUserDefaultName);
    }
    Q_EMIT ILRNotificationCenter::defaultCenter().updateDebugLoggingSwitchNotification(this);
}

void ILRIntegratedLogReader::updateDebugLoggingSwitch(const QObject* sender)
{
    if (!m_window) {
        return;
    }
    QCheckBox* box = m_window->debugLoggingSwitch();
    bool value = false;
    bool changeable = false;
    if (m_delegate && m_delegate->respondsToIsDebugLoggingEnabled()) {
        value = m_delegate->isDebugLoggingEnabledForLogReader(*this);
        changeable = m_delegate->respondsToSetDebugLoggingEnabled();
    } else if (!m_debugLoggingUserDefaultName.isEmpty()) {
        value = platform::UserDefaults::standard().boolForKey(m_debugLoggingUserDefaultName);
        changeable = true;
    }
    if (box->isChecked() != value) {
        if (sender == this) {
            platform::systemLog(QStringLiteral("[ILR] unexpected debug logging state change"));
        }
        // Showing the setting is no request to change it.
        const QSignalBlocker blocker(box);
        box->setChecked(value);
    }
    box->setEnabled(changeable);
    box->setVisible(value || changeable);
}

void ILRIntegratedLogReader::setDebugLoggingUserDefaultName(const QString& name)
{
    m_debugLoggingUserDefaultName = name;
    QMetaObject::invokeMethod(
        this, [this] { updateDebugLoggingSwitch(nullptr); }, Qt::QueuedConnection);
}

ILRLogWindow* ILRIntegratedLogReader::window() const
{
    return m_window;
}
