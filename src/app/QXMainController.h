#pragma once

#include "hotkeys/QXApplicationDelegate.h"
#include "hotkeys/QXHotKeyDelegate.h"
#include "hotkeys/QXHotKeyHandler.h"
#include "menus/QXMenuReadAhead.h"
#include "platform/accessibility/AccessibilityElement.h"
#include "platform/menus/MenuDelegate.h"
#include "platform/menus/MenuItemValidator.h"
#include "platform/workspace/RunningApplication.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class QXHotKey;
class QXMainPreferencesWindow;

namespace platform {
class Menu;
class MenuItem;
class MenuPresenter;
class MenuTreeCache;
class RunningApplication;
} // namespace platform
class QXMenuReadAhead;

// The application's delegate and the one controller that owns the program's
// settings window, its triggers and its menus. There is exactly one, for the
// life of the process.
class QXMainController : public QObject,
                         public QXApplicationDelegate,
                         public QXHotKeyDelegate,
                         public QXHotKeyHandler,
                         public platform::MenuDelegate,
                         public platform::MenuItemValidator
{
    Q_OBJECT

public:
    static QXMainController& mainController();
    ~QXMainController() override;
    QXMainController(const QXMainController&) = delete;
    QXMainController& operator=(const QXMainController&) = delete;

    // Application life.
    void applicationWillFinishLaunching() override;
    void applicationDidFinishLaunching() override;
    void applicationDidResignActive() override;
    bool applicationShouldHandleReopen(bool hasVisibleWindows) override;
    TerminateReply applicationShouldTerminate() override;

    // Actions of the program's own menu.
    void showAbout();
    void checkForUpdates();
    void help();
    void showPreferences(const QString& section = {});
    void toggleWindowAnimation();
    void toggleDebugLogging();
    void terminate();

    // Shows the preferences window on the section (the default one when
    // empty).
    void showPreferencesTab(const QString& identifier);

    // Fills menu with the program's own items. With a title, the items go
    // into a new menu with that title, attached as the submenu of an item
    // appended to menu; that item is answered. Without, they are appended to
    // menu and nothing is answered.
    platform::MenuItem* populateContextMenu(platform::Menu& menu, const QString& submenuTitle = {});

    // Menu delegate: rebuilds the status item's menu, once per event.
    void menuNeedsUpdate(platform::Menu& menu) override;
    bool respondsToMenuHasKeyEquivalent() const override { return true; }
    bool menuHasKeyEquivalent(platform::Menu& menu, const QString& key,
                              platform::ModifierFlags modifiers) override;
    // Retitles and marks the items whose text depends on settings; all items
    // stay enabled.
    bool validateMenuItem(platform::MenuItem& item) override;

    // Status item and application mode.
    void updateStatusItem();
    // Starts reading menu bars ahead of pop-ups (once accessibility is there).
    void startMenuReadAhead();
    // Switches "Application Mode" to newMode, refusing faceless mode when no
    // trigger would be left. Answers whether the mode is now newMode.
    bool changeApplicationMode(qint64 newMode);
    // The image the status item shows: the program glyph at 14 x 17 points.
    static QImage statusItemImage(qreal devicePixelRatio);

    // What start-up decided: whether a trigger is usable.
    bool hasUsableTrigger() const { return m_hasUsableTrigger; }
    // Whether the controller holds registered hot keys.
    bool hasHotKeys() const;
    // Tries again the stored hot keys the desktop refused (at start-up or
    // since); called whenever the keyboard mapping changes. Logs the ones that
    // work now, and the ones refused for another reason than before.
    void retryRefusedHotKeys();

    // The hot keys (QXMainControllerHotKeys.cpp). The owner of the two hot
    // keys "Menu Trigger" and "Menu Trigger: All Applications".
    QList<std::shared_ptr<QXHotKey>> hotKeys() const override;
    quint32 hotKeySignature() const override;
    QString identifierForHotKeyTextView(const QXHotKeyTextView* textView) const override;
    bool shouldSetHotKey(const std::shared_ptr<QXHotKey>& hotKey,
                         const QString& identifier) override;
    bool respondsToDidSetHotKey() const override { return true; }
    void didSetHotKey(const std::shared_ptr<QXHotKey>& hotKey, const QString& identifier) override;
    // Pops up the menu of the hot key pressed; a press within 0.1 seconds
    // after a pop-up menu closed is swallowed.
    bool handleKeyDownEvent(const platform::Event& event, bool* repeat) override;
    // The hot key held for a settings key (none for other keys), and taking
    // one (or none): what the hot key recorders show and set.
    std::shared_ptr<QXHotKey> hotKeyForIdentifier(const QString& identifier) const;
    void setHotKeyForIdentifier(const std::shared_ptr<QXHotKey>& hotKey, const QString& identifier);
    // The recorder of the all-applications hot key, once the preferences
    // window has one.
    void setAllApplicationsTriggerHotKeyTextView(const QXHotKeyTextView* textView)
    {
        m_allApplicationsTriggerHotKeyTextView = textView;
    }

    // Seconds since the epoch at which the last pop-up menu closed.
    double menuEndTimestamp() const { return m_menuEndTimestamp; }
    // The clock that times menus and presses, in seconds since the epoch;
    // none is the system clock. Tests set one they move forward themselves.
    void setClockForTesting(std::function<double()> clock) { m_clock = std::move(clock); }

    QXMainPreferencesWindow* preferencesWindow();

    // The preferences window's controls (QXMainControllerPreferences.cpp).
    // Fills them from the settings and connects them, once per window.
    void fillPreferencesControls();
    // Writes the setting of a check box or pop-up button; other senders are
    // ignored.
    void changeSetting(QObject* sender);
    // Writes the setting of a list field after an edit.
    void controlTextDidChange(QObject* sender);
    // Shows the stored "Application Mode" in the mode pop-up button, without
    // writing anything back.
    void selectStoredApplicationMode();
    // Appends the preferences window's own items ("Animate Window Resizing")
    // to menu.
    void populateWindowMenu(platform::Menu& menu);
    // Fits the window's height to the selected section.
    void updatePreferencesWindowFrameWithAnimation(bool animate);
    void updatePreferencesWindowFrame() { updatePreferencesWindowFrameWithAnimation(true); }
    void updatePreferencesWindowFrameWithoutAnimation()
    {
        updatePreferencesWindowFrameWithAnimation(false);
    }

    // Whether the log window can be shown here.
    static bool canDisplayLog();

    // The process-wide right-click modifier, a copy of
    // "Enable Right Click Trigger: Modifier".
    static qint64 rightClickModifier();

    // The pop-up menus (QXMainControllerPopUp.cpp). Builds the menu of the
    // application the user works in, or of all applications, shows it at the
    // pointer and blocks until it closes. Answers true in every case, also
    // when nothing could be shown.
    bool popUpMenuForAllApplications(bool allApplications);
    // The menu popUpMenuForAllApplications shows, built without showing it;
    // none when accessibility is not available. A given application stands
    // in for the frontmost one and the menu bar's owner. Freshness says how
    // the menus of its applications kept from a read ahead are shown.
    std::unique_ptr<platform::Menu>
    buildPopUpMenu(bool allApplications, const platform::RunningApplication& application = {},
                   QXMenuReadAhead::Freshness freshness = QXMenuReadAhead::Freshness::AskedAgain);
    // Builds an open pop-up's items again from the menus as read just now,
    // after a check found them changed (see QXMenuReadAhead::menusChecked).
    // False when the pop-up would show the same, and is left as it is.
    bool rebuildPopUpMenu(platform::Menu& menu, bool allApplications);
    // Appends one proxy item per menu bar item; the system menu item (index
    // 0) goes into the slot when one is given and still empty, else it is
    // dropped.
    void populateMenu(platform::Menu& menu,
                      const std::optional<platform::AccessibilityElementList>& menuBarItems,
                      std::shared_ptr<platform::MenuItem>* appleMenuItem,
                      const std::optional<QStringList>& fastTrack);
    // The "Fast Track" menu titles of an application (lower-cased); an empty
    // list means all its menus, nothing means none.
    std::optional<QStringList> fastTrackMenuTitlesForApplicationName(const QString& name);
    // Drops the parsed "Fast Track" setting; the next use parses it again.
    void resetFastTrackMenuTitles();
    // A trigger found accessibility unavailable: the first time in a run an
    // alert says what is missing and how to get it (and the log keeps it),
    // later times only beep.
    void reportAccessibilityUnavailable();
    // The action of the application items of the all-applications menu.
    void activateApplicationViaMenuItem(platform::MenuItem& item);

    // Forgets the state of a run (tests drive several launches in one process).
    void resetForTesting();

Q_SIGNALS:
    // The preferences window was shown on a section.
    void preferencesShown(const QString& section);

private:
    QXMainController();

    double secondsNow() const;
    bool registerStoredHotKeys();
    // Shows the recorders the state of the hot keys they hold.
    void refreshHotKeyRecorders();
    // Shows in the preferences how the desktop brings the hot keys to Trovix
    // and, where the user binds them by hand, the line to add.
    void refreshHotKeyMechanism();
    void setRightClickTriggerEnabled(bool enabled);
    void setUpPreferencesToolbar();
    void updateUpdateControls();
    void showHiddenLoginItemWarningAfterDelay();
    // In dock mode the preferences window carries the application menu.
    void updateMainMenuBar();
    // The all-applications menu's items, and the filling of one lazy
    // application submenu.
    void addApplicationItems(platform::Menu& menu, const platform::RunningApplication& target,
                             const platform::RunningApplication& menuBarOwner,
                             std::shared_ptr<platform::MenuItem>* appleMenuItem,
                             QXMenuReadAhead::Freshness freshness);
    void populateApplicationMenu(platform::Menu& menu);
    // Turns the open pop-up into a search over the menus of the applications
    // it shows, starting with typed. Answers true when the menu should
    // open again (the user went back to it).
    bool searchPopUpMenu(const platform::Menu& menu, const QPoint& position, const QString& typed);

    // The preferences window's context menu; outlives the window.
    std::unique_ptr<platform::Menu> m_windowMenu;
    std::unique_ptr<QXMainPreferencesWindow> m_preferencesWindow;
    std::unique_ptr<platform::Menu> m_mainMenu;
    std::unique_ptr<platform::MenuPresenter> m_mainMenuPresenter;
    quint64 m_lastStatusItemMenuUpdateEvent = 0;
    bool m_hasStatusItemMenuUpdateEvent = false;
    double m_menuEndTimestamp = 0;
    std::function<double()> m_clock;
    bool m_hasUsableTrigger = false;
    // "Fast Track" parsed, keyed by lower-cased application name, and the
    // text it was parsed from.
    std::optional<QHash<QString, QStringList>> m_fastTrackMenuTitlesByApplicationName;
    QString m_fastTrackSource;
    bool m_popUpMenuOpen = false;
    // The applications whose menus the open pop-up shows, for its search.
    QList<platform::RunningApplication> m_popUpApplications;
    // Whole menu trees searched before, kept until their menus change.
    std::unique_ptr<platform::MenuTreeCache> m_menuTreeCache;
    // Menu bars read as applications come to the front, and what tells of it.
    std::unique_ptr<QXMenuReadAhead> m_menuReadAhead;
    std::shared_ptr<void> m_frontApplicationObservation;
    bool m_toldAccessibilityUnavailable = false;
    std::shared_ptr<QXHotKey> m_frontmostApplicationTriggerHotKey;
    std::shared_ptr<QXHotKey> m_allApplicationsTriggerHotKey;
    const QXHotKeyTextView* m_allApplicationsTriggerHotKeyTextView = nullptr;
};
