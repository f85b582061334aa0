#include "app/QXMainController.h"

#include "app/QXActivationPolicy.h"
#include "app/QXAlert.h"
#include "app/QXDefaultsRegistration.h"
#include "app/QXHelpLinkSettings.h"
#include "app/QXMainPreferencesWindow.h"
#include "app/QXSettingsKeys.h"
#include "app/QXStatusItemController.h"
#include "foundation/QXLocalized.h"
#include "foundation/QXProgramGlyph.h"
#include "foundation/QXRunningApplication.h"
#include "help/QXAboutPanelManager.h"
#include "help/QXHelpManager.h"
#include "hotkeys/QXHotKeyHandlerApplication.h"
#include "logreader/ILRIntegratedLogReader.h"
#include "menus/QXAccessibility.h"
#include "menus/QXMenuKeyboardNavigationWorkaround.h"
#include "menus/QXMenuReadAhead.h"
#include "menus/QXRightClickTrigger.h"
#include "platform/accessibility/MenuTreeCache.h"
#include "platform/application/Activation.h"
#include "platform/bundle/Bundle.h"
#include "platform/defaults/UserDefaults.h"
#include "platform/input/HotKeyService.h"
#include "platform/log/SystemLog.h"
#include "platform/menus/Menu.h"
#include "platform/menus/MenuItem.h"
#include "platform/menus/qt/MenuPresenter.h"
#include "platform/statusbar/StatusBar.h"
#include "platform/workspace/Workspace.h"
#include "services/QXSparkleWrapper.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QGuiApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <QTimer>

namespace {

platform::UserDefaults& defaults()
{
    return platform::UserDefaults::standard();
}

const QString toggleWindowAnimationAction = QStringLiteral("toggleWindowAnimation:");
const QString toggleDebugLoggingAction = QStringLiteral("toggleDebugLogging:");

} // namespace

QXMainController& QXMainController::mainController()
{
    static QXMainController* controller = new QXMainController();
    return *controller;
}

QXMainController::QXMainController() = default;

QXMainController::~QXMainController() = default;

qint64 QXMainController::rightClickModifier()
{
    return QXRightClickTriggerModifier();
}

void QXMainController::resetForTesting()
{
    QXStatusItemController::defaultController().reset();
    m_mainMenuPresenter.reset();
    m_preferencesWindow.reset();
    m_mainMenu.reset();
    m_hasStatusItemMenuUpdateEvent = false;
    m_lastStatusItemMenuUpdateEvent = 0;
    m_menuEndTimestamp = 0;
    m_clock = nullptr;
    m_hasUsableTrigger = false;
    m_toldAccessibilityUnavailable = false;
    // Trees kept for the search belong to the accessibility backend of the
    // run that read them.
    m_menuTreeCache.reset();
    m_frontApplicationObservation.reset();
    m_menuReadAhead.reset();
    QXSetRightClickTriggerEnabled(false);
    QXSetRightClickTriggerModifier(0);
    platform::HotKeyService::setKeyboardMappingHandler({});
    platform::HotKeyService::setMechanismHandler({});
    m_frontmostApplicationTriggerHotKey.reset();
    m_allApplicationsTriggerHotKey.reset();
}

// Application life ---------------------------------------------------------

void QXMainController::applicationWillFinishLaunching()
{
    QXDefaultsRegistration::registerDefaults(defaults());
    QXHelpManager& helpManager = QXHelpManager::helpManager();
    helpManager.setAcceptableUserDefaults(QXHelpLinkSettings());
    helpManager.openStartupPageIfRequested();
    const bool accessory = defaults().integerForKey(QXSettingsKeys::ApplicationMode) >= 1;
    QXSetActivationPolicy(accessory, false);
}

void QXMainController::applicationDidFinishLaunching()
{
    // The application menu, shown as a menu bar in dock mode.
    m_mainMenu = std::make_unique<platform::Menu>();
    platform::MenuItem* applicationItem = m_mainMenu->addItem(platform::Bundle::main().name());
    applicationItem->setSubmenu(std::make_unique<platform::Menu>(platform::Bundle::main().name()));
    populateContextMenu(*applicationItem->submenu());
    // The program's own items already hold "Check for Updates..." in the
    // place the application menu wants it.
    // Beside it, the preferences window's own items.
    platform::MenuItem* windowItem = m_mainMenu->addItem(QXLocalized::tr("Window"));
    windowItem->setSubmenu(std::make_unique<platform::Menu>(QXLocalized::tr("Window")));
    populateWindowMenu(*windowItem->submenu());

    const bool rightClickEnabled = defaults().boolForKey(QXSettingsKeys::EnableRightClickTrigger);
    bool noTriggerUsable = !rightClickEnabled;
    // A combination refused now may be free after the next change of the
    // keyboard mapping (a new layout, the user's own reset of the keyboard).
    platform::HotKeyService::setKeyboardMappingHandler([this] { retryRefusedHotKeys(); });
    platform::HotKeyService::setMechanismHandler([this] { refreshHotKeyMechanism(); });
    if (registerStoredHotKeys()) {
        noTriggerUsable = false;
    }
    setRightClickTriggerEnabled(rightClickEnabled);
    QXSetRightClickTriggerModifier(
        defaults().integerForKey(QXSettingsKeys::EnableRightClickTriggerModifier));
    setUpPreferencesToolbar();
    updateUpdateControls();
    m_hasUsableTrigger = !noTriggerUsable;

    const bool stealthMode = defaults().boolForKey(QXSettingsKeys::StealthMode);
    const QString pendingSection = defaults().stringForKey(QXSettingsKeys::PreferencesSection);
    const bool menuBarModeWithoutTray =
        defaults().integerForKey(QXSettingsKeys::ApplicationMode) == 1 &&
        !platform::StatusBar::system().isAvailable();
    if (!pendingSection.isEmpty()) {
        QTimer::singleShot(QXSelfActivationDelayMilliseconds, this, [this, pendingSection] {
            platform::Activation::current().activateIgnoringOtherApps();
            showPreferencesTab(pendingSection);
            defaults().removeObjectForKey(QXSettingsKeys::PreferencesSection);
        });
    } else if (noTriggerUsable || (!stealthMode && !QXLaunchesInBackground()) ||
               menuBarModeWithoutTray) {
        // Without a tray the status item cannot show: the window is then the
        // only way in.
        showPreferencesTab(QString());
    }
    QTimer::singleShot(0, this, &QXMainController::updateStatusItem);
    showHiddenLoginItemWarningAfterDelay();
}

void QXMainController::applicationDidResignActive()
{
    QXRefreshMenuKeyboardNavigation();
}

bool QXMainController::applicationShouldHandleReopen(bool hasVisibleWindows)
{
    // Without a window on screen the preferences window is the only way back
    // in, whatever the mode: a desktop may have no taskbar or tray to show
    // the program otherwise. In dock mode a visible window is only brought
    // forward.
    if (!hasVisibleWindows || platform::Activation::current().activationPolicy() ==
                                  platform::ActivationPolicy::Accessory) {
        showPreferences();
    } else {
        platform::Activation::current().activateIgnoringOtherApps();
    }
    return false;
}

QXApplicationDelegate::TerminateReply QXMainController::applicationShouldTerminate()
{
    setRightClickTriggerEnabled(false);
    return TerminateReply::Now;
}

void QXMainController::setRightClickTriggerEnabled(bool enabled)
{
    QXSetRightClickTriggerAction(
        [this](bool allApplications) { return popUpMenuForAllApplications(allApplications); });
    // The clicks are taken for the stored modifier from the start.
    QXSetRightClickTriggerModifier(
        defaults().integerForKey(QXSettingsKeys::EnableRightClickTriggerModifier));
    QXSetRightClickTriggerEnabled(enabled);
}

// Hooks into the update checks and the login item.

void QXMainController::setUpPreferencesToolbar() {}

void QXMainController::updateUpdateControls()
{
    QXSparkleWrapper& wrapper = QXSparkleWrapper::sharedSparkleWrapper();
    // New status texts may need another window height.
    connect(&wrapper, &QXSparkleWrapper::controlsUpdated, this,
            &QXMainController::updatePreferencesWindowFrame, Qt::UniqueConnection);
    wrapper.updateControls();
}

// An autostart entry has no option that starts its program hidden, so a
// program started at login is never in the state this warning repairs.
void QXMainController::showHiddenLoginItemWarningAfterDelay() {}

// Actions ------------------------------------------------------------------

void QXMainController::showAbout()
{
    platform::Activation::current().activateIgnoringOtherApps();
    QXAboutPanelManager::aboutPanelManager().orderFrontStandardAboutPanel();
}

void QXMainController::checkForUpdates()
{
    QXSparkleWrapper::sharedSparkleWrapper().checkForUpdates(this);
}

void QXMainController::help()
{
    QXHelpManager::helpManager().help();
}

void QXMainController::showPreferences(const QString& section)
{
    if (section.isEmpty() && m_preferencesWindow) {
        // Keep the section last shown.
        showPreferencesTab(m_preferencesWindow->selectedSection());
        return;
    }
    showPreferencesTab(section);
}

void QXMainController::toggleWindowAnimation()
{
    const QString& key = QXSettingsKeys::DisableSettingsWindowAnimation;
    defaults().setBool(!defaults().boolForKey(key), key);
}

bool QXMainController::canDisplayLog()
{
    return ILRIntegratedLogReader::canDisplayLog();
}

// Opens the log window where the log can be read; elsewhere the item is the
// debug-logging switch itself.
void QXMainController::toggleDebugLogging()
{
    if (canDisplayLog()) {
        ILRIntegratedLogReader::QXLogReader().displayLogActivating();
        return;
    }
    defaults().setBool(!defaults().boolForKey(QXSettingsKeys::DebugLog), QXSettingsKeys::DebugLog);
}

void QXMainController::terminate()
{
    if (auto* application = QXHotKeyHandlerApplication::sharedApplication()) {
        application->terminate();
    } else if (applicationShouldTerminate() == TerminateReply::Now) {
        QCoreApplication::quit();
    }
}

QXMainPreferencesWindow* QXMainController::preferencesWindow()
{
    if (!m_preferencesWindow) {
        m_preferencesWindow = std::make_unique<QXMainPreferencesWindow>();
        if (!m_windowMenu) {
            m_windowMenu = std::make_unique<platform::Menu>();
            populateWindowMenu(*m_windowMenu);
        }
        m_preferencesWindow->setWindowMenu(m_windowMenu.get());
        connect(m_preferencesWindow.get(), &QXMainPreferencesWindow::sectionChosen, this,
                [this](const QString& identifier) { Q_EMIT preferencesShown(identifier); });
        updateMainMenuBar();
    }
    return m_preferencesWindow.get();
}

void QXMainController::updateMainMenuBar()
{
    if (!m_preferencesWindow || !m_mainMenu) {
        return;
    }
    if (!m_mainMenuPresenter) {
        m_mainMenuPresenter = std::make_unique<platform::MenuPresenter>(*m_mainMenu);
        m_mainMenuPresenter->showInMenuBar(m_preferencesWindow->menuBar());
    }
    const bool dockMode = defaults().integerForKey(QXSettingsKeys::ApplicationMode) < 1;
    m_preferencesWindow->menuBar()->setVisible(dockMode);
}

void QXMainController::showPreferencesTab(const QString& identifier)
{
    QXMainPreferencesWindow* window = preferencesWindow();
    const bool firstTime = !window->controlsFilled();
    fillPreferencesControls();
    if (firstTime || !identifier.isEmpty()) {
        const QString section = identifier.isEmpty() ? QStringLiteral("Menu") : identifier;
        if (!window->selectSection(section)) {
            window->selectSection(QStringLiteral("Menu"));
        }
    }
    const bool dockMode = defaults().integerForKey(QXSettingsKeys::ApplicationMode) < 1;
    window->setWindowTitle(dockMode ? QXLocalized::tr("Preferences") : QStringLiteral("Trovix"));
    updatePreferencesWindowFrame();
    window->makeKeyAndOrderFront();
    Q_EMIT preferencesShown(window->selectedSection());
}

// The program's own menu -----------------------------------------------------

platform::MenuItem* QXMainController::populateContextMenu(platform::Menu& menu,
                                                          const QString& submenuTitle)
{
    std::unique_ptr<platform::Menu> newMenu;
    platform::Menu* target = &menu;
    if (!submenuTitle.isEmpty()) {
        newMenu = std::make_unique<platform::Menu>(submenuTitle);
        target = newMenu.get();
    }

    auto addAction = [target, this](const QString& title, const QString& actionName,
                                    void (QXMainController::*action)()) {
        platform::MenuItem* item = target->addItem(
            title, actionName, [this, action](platform::MenuItem&) { (this->*action)(); });
        item->setTarget(this);
        return item;
    };
    addAction(QXLocalized::tr("About Trovix"), QStringLiteral("showAbout:"),
              &QXMainController::showAbout);
    addAction(QXLocalized::tr("Check for Updates..."), QStringLiteral("checkForUpdates:"),
              &QXMainController::checkForUpdates);
    addAction(QXLocalized::tr("Help"), QStringLiteral("help:"), &QXMainController::help);
    target->addSeparator();
    target->addItem(QXLocalized::tr("Preferences..."), QStringLiteral("showPreferences:"),
                    [this](platform::MenuItem&) { showPreferences(); });
    platform::MenuItem* logItem = addAction(QStringLiteral("<< Log >>"), toggleDebugLoggingAction,
                                            &QXMainController::toggleDebugLogging);
    logItem->setKeyEquivalentModifierMask(platform::ModifierFlag::Option);
    logItem->setAlternate(true);
    target->addSeparator();
    addAction(QXLocalized::tr("Quit"), QStringLiteral("terminate:"), &QXMainController::terminate);

    if (!newMenu) {
        return nullptr;
    }
    platform::MenuItem* item = menu.addItem(submenuTitle);
    item->setSubmenu(std::move(newMenu));
    return item;
}

void QXMainController::menuNeedsUpdate(platform::Menu& menu)
{
    if (&menu != QXStatusItemController::defaultController().statusItemMenu()) {
        populateApplicationMenu(menu);
        return;
    }
    const auto* application = QXHotKeyHandlerApplication::sharedApplication();
    const quint64 event = application != nullptr ? application->currentEventSerial() : 0;
    if (m_hasStatusItemMenuUpdateEvent && event == m_lastStatusItemMenuUpdateEvent) {
        return;
    }
    m_hasStatusItemMenuUpdateEvent = true;
    m_lastStatusItemMenuUpdateEvent = event;
    menu.removeAllItems();
    populateContextMenu(menu);
}

bool QXMainController::menuHasKeyEquivalent(platform::Menu& menu, const QString& key,
                                            platform::ModifierFlags modifiers)
{
    Q_UNUSED(menu);
    Q_UNUSED(key);
    Q_UNUSED(modifiers);
    return false;
}

bool QXMainController::validateMenuItem(platform::MenuItem& item)
{
    if (item.actionName() == toggleWindowAnimationAction) {
        item.setState(defaults().boolForKey(QXSettingsKeys::DisableSettingsWindowAnimation)
                          ? platform::MenuItem::State::Off
                          : platform::MenuItem::State::On);
    } else if (item.actionName() == toggleDebugLoggingAction) {
        if (canDisplayLog()) {
            item.setTitle(QXLocalized::tr("Log"));
            item.setState(platform::MenuItem::State::Off);
        } else {
            item.setTitle(QXLocalized::tr("Enable Debug Logging"));
            item.setState(defaults().boolForKey(QXSettingsKeys::DebugLog)
                              ? platform::MenuItem::State::On
                              : platform::MenuItem::State::Off);
        }
    }
    return true;
}

// Status item and application mode -------------------------------------------

QImage QXMainController::statusItemImage(qreal devicePixelRatio)
{
    return QXProgramGlyph::templateImage(QSizeF(14, 17), devicePixelRatio, 0, 1);
}

void QXMainController::updateStatusItem()
{
    const qint64 mode = defaults().integerForKey(QXSettingsKeys::ApplicationMode);
    const qreal ratio = qGuiApp != nullptr ? qGuiApp->devicePixelRatio() : 1.0;
    QXStatusItemController::defaultController().setStatusItemEnabled(
        mode == 1, statusItemImage(std::max<qreal>(ratio, 2.0)), QImage(), this);
    // Asked early so that a desktop without accessibility prompts the user
    // before the first pop-up, not during it.
    if (QXAccessibilityPrepare()) {
        startMenuReadAhead();
    }
}

void QXMainController::startMenuReadAhead()
{
    if (m_menuReadAhead || defaults().boolForKey(QXSettingsKeys::MenuReadAheadDisabled)) {
        return;
    }
    m_menuReadAhead = std::make_unique<QXMenuReadAhead>([this](qint64 pid) {
        const platform::RunningApplication application =
            platform::Workspace::current().runningApplication(pid);
        return fastTrackMenuTitlesForApplicationName(
            QXExtensions::localizedNameOrBundleName(application).value_or(QString()));
    });
    platform::Workspace& workspace = platform::Workspace::current();
    m_frontApplicationObservation =
        workspace.observeFrontApplication([readAhead = m_menuReadAhead.get()](qint64 pid) {
            readAhead->applicationBecameFront(pid);
        });
    if (!m_frontApplicationObservation) {
        // Nothing would keep the kept menu bars current with the front.
        m_menuReadAhead.reset();
        return;
    }
    // The application already in front when the program starts.
    QTimer::singleShot(0, m_menuReadAhead.get(), [this] {
        const platform::RunningApplication front =
            platform::Workspace::current().menuBarOwningApplication();
        if (!front.isNull()) {
            m_menuReadAhead->applicationBecameFront(front.processIdentifier());
        }
    });
}

bool QXMainController::changeApplicationMode(qint64 newMode)
{
    const qint64 oldMode = defaults().integerForKey(QXSettingsKeys::ApplicationMode);
    if (newMode == oldMode) {
        return true;
    }
    if (newMode == 2 && !hasHotKeys() &&
        !defaults().boolForKey(QXSettingsKeys::EnableRightClickTrigger)) {
        // The pop-up button shows the mode that stays while the alert says why.
        selectStoredApplicationMode();
        QXAlert::runModal(
            QXLocalized::tr("No way to access menu"),
            QXLocalized::tr(
                "Enable the right click functionality or set a hot key before you put Trovix in "
                "faceless mode."));
        return false;
    }
    if (!QXSetActivationPolicy(newMode >= 1, true)) {
        return false;
    }
    defaults().setInteger(newMode, QXSettingsKeys::ApplicationMode);
    updateStatusItem();
    updateMainMenuBar();
    return true;
}
