// The preferences window's side of the main controller: filling the controls
// from the settings, writing every change straight back with its side
// effects, and keeping the window's height fitted to the shown section.

#include "app/QXHotKeyPurposes.h"
#include "app/QXListTextField.h"
#include "app/QXMainController.h"
#include "app/QXMainPreferencesWindow.h"
#include "app/QXSettingsKeys.h"
#include "hotkeys/QXHotKey.h"
#include "hotkeys/QXHotKeyTextView.h"
#include "menus/QXRightClickTrigger.h"
#include "platform/defaults/UserDefaults.h"
#include "platform/input/HotKeyService.h"
#include "platform/menus/Menu.h"
#include "platform/menus/MenuItem.h"
#include "platform/session/DisplaySession.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QSignalBlocker>
#include <algorithm>

namespace {

platform::UserDefaults& defaults()
{
    return platform::UserDefaults::standard();
}

constexpr int smallestFontSize = QXSettingsKeys::SmallestMenuFontSize;
constexpr int largestFontSize = QXSettingsKeys::LargestMenuFontSize;

// The check boxes that write their state as it is, with their keys.
QList<std::pair<QCheckBox*, QString>> plainSwitches(const QXMainPreferencesWindow& window)
{
    return {
        {window.keyEquivalentSwitch(), QXSettingsKeys::ShowKeyEquivalents},
        {window.promoteAlternatesSwitch(), QXSettingsKeys::PromoteAlternates},
        {window.supportAccessoryApplicationsSwitch(), QXSettingsKeys::SupportAccessoryApplications},
        {window.moveAppleMenuToEndSwitch(), QXSettingsKeys::MoveAppleMenuToEnd},
        {window.skipDisabledMenuItemsSwitch(), QXSettingsKeys::SkipDisabledMenuItems},
        {window.searchMenusWhileTypingSwitch(), QXSettingsKeys::SearchMenusWhileTyping}};
}

// The pop-up items that stand for stored values: a value no item carries
// selects the item whose choice has the same effect, so the window shows what
// is in effect without rewriting the setting.

// Modes below 1 are the dock mode; above 2 they ask for an accessory
// application without a tray icon, which is what "no icon" shows.
qint64 applicationModeTag(qint64 mode)
{
    return std::clamp<qint64>(mode, 0, 2);
}

// Sizes below the smallest are the standard font; above the largest, the
// largest is used.
qint64 fontSizeTag(qint64 size)
{
    return size < smallestFontSize ? 0 : std::min<qint64>(size, largestFontSize);
}

// Modifiers other than 1 to 3 (Alt, Control, Fn) are Super; appearances other
// than 1 and 2 (light, dark) follow the system.
qint64 modifierTag(qint64 modifier)
{
    return modifier >= 1 && modifier <= 3 ? modifier : 0;
}

qint64 appearanceTag(qint64 appearance)
{
    return appearance == 1 || appearance == 2 ? appearance : 0;
}

} // namespace

void QXMainController::selectStoredApplicationMode()
{
    if (!m_preferencesWindow) {
        return;
    }
    QComboBox* selector = m_preferencesWindow->applicationModeSelector();
    const QSignalBlocker blocker(selector);
    QXMainPreferencesWindow::selectItemWithTag(
        selector, applicationModeTag(defaults().integerForKey(QXSettingsKeys::ApplicationMode)));
}

void QXMainController::populateWindowMenu(platform::Menu& menu)
{
    platform::MenuItem* item =
        menu.addItem(QCoreApplication::translate("Trovix", "Animate Window Resizing"),
                     QStringLiteral("toggleWindowAnimation:"),
                     [this](platform::MenuItem&) { toggleWindowAnimation(); });
    // Validation puts the check mark on while animation is on.
    item->setTarget(this);
}

void QXMainController::refreshHotKeyRecorders()
{
    if (!m_preferencesWindow || !m_preferencesWindow->controlsFilled()) {
        return;
    }
    for (QXHotKeyTextView* recorder :
         {m_preferencesWindow->frontmostApplicationTriggerHotKeyTextView(),
          m_preferencesWindow->allApplicationsTriggerHotKeyTextView()}) {
        recorder->updateRegistrationState();
    }
}

void QXMainController::refreshHotKeyMechanism()
{
    if (!m_preferencesWindow || !m_preferencesWindow->controlsFilled()) {
        return;
    }
    QXMainPreferencesWindow* window = m_preferencesWindow.get();
    const platform::HotKeyService& service = platform::HotKeyService::current();
    const platform::HotKeyMechanism mechanism = service.mechanism();
    for (QXHotKeyTextView* recorder : {window->frontmostApplicationTriggerHotKeyTextView(),
                                       window->allApplicationsTriggerHotKeyTextView()}) {
        const QString identifier = identifierForHotKeyTextView(recorder);
        const std::shared_ptr<QXHotKey> hotKey = hotKeyForIdentifier(identifier);
        QString line;
        if (hotKey) {
            line = service.configurationLine(
                hotKey->keyCode(), hotKey->modifierFlags(),
                QXHotKeyPurposes::purposeForIdentifier(identifier).command);
        }
        window->setConfigurationLine(recorder, line);
    }
    QString text;
    switch (mechanism) {
    case platform::HotKeyMechanism::KeyGrabs:
        text = QXMainPreferencesWindow::tr("Hot keys work through the X server.");
        break;
    case platform::HotKeyMechanism::Portal:
        text = QXMainPreferencesWindow::tr(
            "Hot keys are set through the desktop's global shortcuts portal; the desktop may "
            "ask you to confirm them.");
        break;
    case platform::HotKeyMechanism::KdeService:
        text = QXMainPreferencesWindow::tr("Hot keys are set in KDE's global shortcuts.");
        break;
    case platform::HotKeyMechanism::GnomeSettings:
        text = service.needsPermission()
                   ? QXMainPreferencesWindow::tr(
                         "Hot keys are added to GNOME's keyboard settings once you allow it.")
                   : QXMainPreferencesWindow::tr(
                         "Hot keys are custom shortcuts in GNOME's keyboard settings.");
        break;
    case platform::HotKeyMechanism::ConfigurationLine:
        text = QXMainPreferencesWindow::tr(
            "This desktop binds keys itself: add the line under each hot key to its "
            "configuration (see Help).");
        break;
    case platform::HotKeyMechanism::Pending:
        text = QXMainPreferencesWindow::tr("Asking the desktop how to set hot keys…");
        break;
    case platform::HotKeyMechanism::None:
        text = QXMainPreferencesWindow::tr("This desktop offers no global hot keys.");
        break;
    }
    window->hotKeyMechanismView()->setText(text);
    window->hotKeyMechanismView()->setAccessibleDescription(text);
}

void QXMainController::fillPreferencesControls()
{
    QXMainPreferencesWindow* window = preferencesWindow();
    if (window->controlsFilled()) {
        return;
    }
    window->setControlsFilled();

    // Filled before anything is connected, so nothing is written back.
    const bool rightClickEnabled = defaults().boolForKey(QXSettingsKeys::EnableRightClickTrigger);
    window->rightClickTriggerSwitch()->setChecked(rightClickEnabled);
    QXMainPreferencesWindow::selectItemWithTag(
        window->rightClickTriggerModifierSelector(),
        modifierTag(defaults().integerForKey(QXSettingsKeys::EnableRightClickTriggerModifier)));
    window->rightClickTriggerModifierSelector()->setEnabled(rightClickEnabled);
    window->stealthModeSwitch()->setChecked(!defaults().boolForKey(QXSettingsKeys::StealthMode));
    if (platform::DisplaySession::fromEnvironment().wayland) {
        window->setRightClickUnavailable();
    }

    // The recorders show the hot keys registered at start-up and hand every
    // change to this controller, which registers and stores it.
    setAllApplicationsTriggerHotKeyTextView(window->allApplicationsTriggerHotKeyTextView());
    for (QXHotKeyTextView* recorder : {window->frontmostApplicationTriggerHotKeyTextView(),
                                       window->allApplicationsTriggerHotKeyTextView()}) {
        recorder->setHotKeyDelegate(this);
        recorder->setHotKey(hotKeyForIdentifier(identifierForHotKeyTextView(recorder)));
        QObject::connect(recorder, &QXHotKeyTextView::hotKeyChanged, recorder,
                         [this] { refreshHotKeyMechanism(); });
    }
    refreshHotKeyMechanism();

    const qint64 mode = defaults().integerForKey(QXSettingsKeys::ApplicationMode);
    QXMainPreferencesWindow::selectItemWithTag(window->applicationModeSelector(),
                                               applicationModeTag(mode));
    window->facelessApplicationModeExplanationView()->setVisible(mode == 2);

    for (const auto& [box, key] : plainSwitches(*window)) {
        box->setChecked(defaults().boolForKey(key));
    }
    window->blacklistField()->setPlainText(defaults().stringForKey(QXSettingsKeys::Blacklist));
    window->fastTrackField()->setPlainText(defaults().stringForKey(QXSettingsKeys::FastTrack));
    QXMainPreferencesWindow::selectItemWithTag(
        window->appearanceSelector(),
        appearanceTag(defaults().integerForKey(QXSettingsKeys::MenuAppearance)));
    QComboBox* fontSizes = window->fontSizeSelector();
    for (int size = smallestFontSize; size <= largestFontSize; ++size) {
        fontSizes->addItem(QString::number(size), size);
    }
    QXMainPreferencesWindow::selectItemWithTag(
        fontSizes, fontSizeTag(defaults().integerForKey(QXSettingsKeys::MenuFontSize)));

    for (QCheckBox* box : {window->rightClickTriggerSwitch(), window->stealthModeSwitch()}) {
        connect(box, &QCheckBox::toggled, this, [this, box] { changeSetting(box); });
    }
    for (const auto& entry : plainSwitches(*window)) {
        QCheckBox* box = entry.first;
        connect(box, &QCheckBox::toggled, this, [this, box] { changeSetting(box); });
    }
    for (QComboBox* selector :
         {window->rightClickTriggerModifierSelector(), window->applicationModeSelector(),
          window->appearanceSelector(), window->fontSizeSelector()}) {
        connect(selector, &QComboBox::currentIndexChanged, this,
                [this, selector] { changeSetting(selector); });
    }
    for (QXListTextField* field : {window->blacklistField(), window->fastTrackField()}) {
        connect(field, &QPlainTextEdit::textChanged, this,
                [this, field] { controlTextDidChange(field); });
        connect(field, &QXListTextField::didResize, this,
                [this] { updatePreferencesWindowFrame(); });
    }
    connect(window, &QXMainPreferencesWindow::sectionChosen, this,
            [this] { updatePreferencesWindowFrame(); });
}

void QXMainController::changeSetting(QObject* sender)
{
    QXMainPreferencesWindow* window = m_preferencesWindow.get();
    if (window == nullptr || sender == nullptr) {
        return;
    }
    if (sender == window->rightClickTriggerSwitch()) {
        const bool enabled = window->rightClickTriggerSwitch()->isChecked();
        defaults().setBool(enabled, QXSettingsKeys::EnableRightClickTrigger);
        setRightClickTriggerEnabled(enabled);
        window->rightClickTriggerModifierSelector()->setEnabled(enabled);
    } else if (sender == window->rightClickTriggerModifierSelector()) {
        const qint64 modifier =
            QXMainPreferencesWindow::selectedTag(window->rightClickTriggerModifierSelector());
        defaults().setInteger(modifier, QXSettingsKeys::EnableRightClickTriggerModifier);
        QXSetRightClickTriggerModifier(modifier);
    } else if (sender == window->stealthModeSwitch()) {
        // The box asks "open at launch", the setting says the opposite.
        defaults().setBool(!window->stealthModeSwitch()->isChecked(), QXSettingsKeys::StealthMode);
    } else if (sender == window->applicationModeSelector()) {
        QComboBox* selector = window->applicationModeSelector();
        if (!changeApplicationMode(QXMainPreferencesWindow::selectedTag(selector))) {
            // Refused: show the mode that stays.
            selectStoredApplicationMode();
        }
        window->facelessApplicationModeExplanationView()->setVisible(
            defaults().integerForKey(QXSettingsKeys::ApplicationMode) == 2);
        updatePreferencesWindowFrame();
    } else if (sender == window->appearanceSelector()) {
        const qint64 appearance =
            QXMainPreferencesWindow::selectedTag(window->appearanceSelector());
        if (appearance < 1) {
            defaults().removeObjectForKey(QXSettingsKeys::MenuAppearance);
        } else {
            defaults().setInteger(appearance, QXSettingsKeys::MenuAppearance);
        }
    } else if (sender == window->fontSizeSelector()) {
        const qint64 size = QXMainPreferencesWindow::selectedTag(window->fontSizeSelector());
        if (size < smallestFontSize) {
            defaults().removeObjectForKey(QXSettingsKeys::MenuFontSize);
        } else {
            defaults().setInteger(size, QXSettingsKeys::MenuFontSize);
        }
    } else {
        for (const auto& [box, key] : plainSwitches(*window)) {
            if (sender == box) {
                defaults().setBool(box->isChecked(), key);
                return;
            }
        }
    }
}

void QXMainController::controlTextDidChange(QObject* sender)
{
    QXMainPreferencesWindow* window = m_preferencesWindow.get();
    if (window == nullptr || sender == nullptr) {
        return;
    }
    if (sender == window->blacklistField()) {
        const QString text = window->blacklistField()->toPlainText();
        if (text.trimmed().isEmpty()) {
            defaults().removeObjectForKey(QXSettingsKeys::Blacklist);
        } else {
            defaults().setObject(text, QXSettingsKeys::Blacklist);
        }
    } else if (sender == window->fastTrackField()) {
        // Stored also when empty, so that the registered entries no longer
        // apply.
        defaults().setObject(window->fastTrackField()->toPlainText(), QXSettingsKeys::FastTrack);
        resetFastTrackMenuTitles();
    }
}

void QXMainController::updatePreferencesWindowFrameWithAnimation(bool animate)
{
    if (!m_preferencesWindow) {
        return;
    }
    const bool animationDisabled =
        defaults().boolForKey(QXSettingsKeys::DisableSettingsWindowAnimation);
    m_preferencesWindow->fitHeightToSelectedSection(animate && !animationDisabled);
}
