#pragma once

#include "logreader/ILRLogEntry.h"
#include "logreader/ILRLogRenderer.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class ILRIntegratedLogReaderDelegate;
class ILRLogWindow;
class QTextDocument;

// Shows the program's own entries of the system log in a window. Three runs
// of the log tool fill one time-ordered list: an archive query for the recent
// past, a live stream of new entries, and a gap fill a few seconds after the
// archive query for what fell between the two. The user can look further back
// (find earlier), clear the list, save it as a property list and switch the
// program's debug logging.
//
// The list is guarded by the reader's lock. The identity of the list is the
// generation token: a fresh run installs a new list, and every background
// step checks that the list it was started for is still the current one
// before it touches it, so work that outlives a clear, reset or close does
// nothing. Renderings are coalesced: however many batches arrive, at most one
// rendering waits, and long lists are built off the main thread.
class ILRIntegratedLogReader : public QObject
{
    Q_OBJECT

public:
    explicit ILRIntegratedLogReader(QObject* parent = nullptr);
    ~ILRIntegratedLogReader() override;
    ILRIntegratedLogReader(const ILRIntegratedLogReader&) = delete;
    ILRIntegratedLogReader& operator=(const ILRIntegratedLogReader&) = delete;

    // The process-wide reader, with "QXDebugLog" as its debug-logging
    // setting. Main thread.
    static ILRIntegratedLogReader& QXLogReader();

    // Whether the log can be shown: the log tool is there and executable and
    // the system journal can be read (tried with one read). Worked out once
    // (again after the tool path changes).
    static bool canDisplayLog();
    // Why it cannot, as the "Log Not Supported" alert says it; empty when it
    // can.
    static QString logNotSupportedText();
    // The log tool: the bundle's Contents/MacOS/trovix-log unless set.
    static QString logToolPath();
    // Uses another tool (tests use fixture tools); empty restores the bundle's.
    static void setLogToolPath(const QString& path);
    // Overrides the journal check (tests); nothing restores the real check.
    static void setSystemLogReadableForTesting(std::optional<bool> readable);

    // Modal alerts (tests record them instead).
    using AlertPresenter = std::function<void(const QString& message, const QString& text)>;
    static void setAlertPresenterForTesting(AlertPresenter presenter);

    void setDelegate(ILRIntegratedLogReaderDelegate* delegate) { m_delegate = delegate; }

    // Query ----------------------------------------------------------------

    // The predicate that selects the program's own entries: everything
    // written by an executable inside the bundle, and, below level 2, plain
    // log events only.
    static QString defaultPredicate(qint64 level);
    // The same for an application bundle folder named BUNDLENAME.
    static QString defaultPredicate(qint64 level, const QString& bundleName);
    // TEXT as a double-quoted text of the tool's predicate language.
    static QString quotedPredicateText(const QString& text);
    // The argument lists of the live stream and of the archive query (the
    // latter without its "--last" pair) for the stored predicate and level.
    QStringList liveStreamArguments() const;
    QStringList archiveArguments() const;

    QString filteringPredicate() const { return m_filteringPredicate; }
    qint64 filteringLevel() const { return m_filteringLevel; }
    // Works out the level and predicate from the delegate or the defaults and
    // stores them; answers whether either changed.
    bool updateQuerySettings();

    // Starts a fresh run (false) or extends the current one to older entries
    // (true). Main thread.
    void updateLogAfterIncreasingNumberOfDays(bool increase);
    void findEarlierResults() { updateLogAfterIncreasingNumberOfDays(true); }
    // Empties the list; from then on only new entries arrive.
    void clear();
    // Stops every run and forgets the list.
    void reset();

    // -1 after a clear, 0 one hour, N days.
    qint64 numberOfDays() const;
    QDateTime updateDate() const;
    // A copy of the list, earliest first.
    QList<ILRLogEntry> logEntries() const;
    // Where the running archive query inserts, -1 when none runs.
    qsizetype archiveInsertionIndex() const;
    // Whether the list was installed (by a run) and not reset since.
    bool hasLogEntryList() const;
    // Whether LIST is the current list (the generation token).
    bool hasCurrentList(const void* list) const;

    // What the window says when the tool failed for the current list (its
    // message), or empty. A fresh run starts without one.
    QString toolError() const { return m_toolError; }
    void showToolError(const QString& message);

    // Window -----------------------------------------------------------------

    // Shows the window (building it on first use) and starts a fresh run
    // unless it is visible already with the same query. Answers whether it
    // was shown. Main thread.
    bool displayLog();
    // The same after bringing the program forward.
    bool displayLogActivating();

    ILRLogWindow* window() const;
    // The name under which the window's frame is kept: the delegate's, else
    // "<bundle identifier>.ILRLogWindow"; empty when it is not kept.
    QString windowFrameAutosaveName();
    // The base title, "Trovix Log".
    QString windowTitle() const { return m_windowTitle; }

    // Renders now, on the main thread (long lists are built in the
    // background and installed when ready).
    void updateDisplay();
    // How many times text was installed in the log view (tests check that
    // renderings are coalesced).
    int renderCount() const { return m_renderCount; }

    // Saving: the panel, then writeLogToFile(). Nothing to save or a file
    // that cannot be written is logged and beeped; the list stays as it is.
    void save();
    bool writeLogToFile(const QString& path);
    // The list as property-list values: strings, numbers and bools stay,
    // arrays and dictionaries are converted element by element, anything
    // else becomes its text.
    QVariantList propertyListEntries() const;
    // Replaces the save panel (tests answer with a path, or empty to cancel).
    using SavePanel = std::function<QString(QWidget* parent)>;
    static void setSavePanelForTesting(SavePanel panel);

    // The view settings and the debug-logging switch.
    void toggleMessageSender();
    void toggleMessageCoalescing();
    void toggleDisplayRelatedUserDefault(const QString& key);
    void toggleDebugLogging(bool enabled);
    void updateDebugLoggingSwitch(const QObject* sender);
    QString debugLoggingUserDefaultName() const { return m_debugLoggingUserDefaultName; }
    void setDebugLoggingUserDefaultName(const QString& name);
    QStringList hiddenPrefixes() const;
    void setHiddenPrefixes(const QStringList& prefixes);

    // Called when the reader's window closes: stops the runs and shows an
    // empty log.
    void windowWillClose();

    struct State;

Q_SIGNALS:
    // New text is in the log view.
    void displayUpdated();
    // An archive query (or gap fill) finished.
    void archiveQueryFinished();

private:
    void loadWindow();
    void setBusy(bool busy);
    void renderOnMainThread();
    void installDocument(std::unique_ptr<QTextDocument> document, bool hasEntries);
    ILRLogSnapshot snapshot() const;
    void runArchiveQuery(bool increasing);
    void scheduleGapFill();

    std::shared_ptr<State> m_state;
    ILRIntegratedLogReaderDelegate* m_delegate = nullptr;
    QPointer<ILRLogWindow> m_window;
    QString m_windowTitle;
    QString m_filteringPredicate;
    qint64 m_filteringLevel = 0;
    QString m_debugLoggingUserDefaultName;
    QString m_toolError;
    bool m_building = false;
    bool m_renderAgain = false;
    int m_renderCount = 0;
};

// The reader's notifications, posted to every reader.
class ILRNotificationCenter : public QObject
{
    Q_OBJECT

public:
    static ILRNotificationCenter& defaultCenter();

Q_SIGNALS:
    void updateDisplayNotification(const QObject* sender);
    void updateDebugLoggingSwitchNotification(const QObject* sender);
};
