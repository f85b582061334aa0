#pragma once

#include "app/QXPreferencesWindow.h"

#include <QHash>
#include <QStringList>
#include <memory>

class QAction;
class QCheckBox;
class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QScrollArea;
class QStackedWidget;
class QToolBar;
class QVariantAnimation;
class QXHotKeyClearButton;
class QXHotKeyTextView;
class QXListTextField;
class QXLoginItemSwitch;
class QXSearchHistoryButton;

namespace platform {
class Menu;
class MenuPresenter;
} // namespace platform

// The preferences window of the program: one toolbar section per page,
// "Menu", "Advanced" and "Updates", each scrolling when the window is smaller
// than the page. The window lays out the controls; the main controller fills
// them and writes their changes.
class QXMainPreferencesWindow : public QXPreferencesWindow
{
    Q_OBJECT

public:
    explicit QXMainPreferencesWindow(QWidget* parent = nullptr);
    ~QXMainPreferencesWindow() override;

    static QStringList sectionIdentifiers();

    // Shows the page of the section; answers false for an unknown identifier.
    bool selectSection(const QString& identifier);
    QString selectedSection() const;

    // The page of a section, for the controls that fill it.
    QWidget* sectionPage(const QString& identifier) const;
    // The toolbar button of a section.
    QAction* sectionAction(const QString& identifier) const;

    // The menu a context click in the window opens (none: no menu). The
    // model must outlive the window or be replaced first.
    void setWindowMenu(platform::Menu* menu);
    platform::Menu* windowMenu() const;

    // Fits the window's height to the selected page, keeping its top edge;
    // animated when asked for and the window is visible.
    void fitHeightToSelectedSection(bool animate);
    // The height the window needs for the selected page, at most the
    // screen's available height (the page scrolls in a smaller window).
    int fittingHeight() const;

    // Whether the controller has filled the controls (done once per window).
    bool controlsFilled() const { return m_controlsFilled; }
    void setControlsFilled() { m_controlsFilled = true; }

    // The controls. Pop-up items carry their tag as item data.
    QCheckBox* rightClickTriggerSwitch() const { return m_rightClickTriggerSwitch; }
    QComboBox* rightClickTriggerModifierSelector() const
    {
        return m_rightClickTriggerModifierSelector;
    }
    QCheckBox* stealthModeSwitch() const { return m_stealthModeSwitch; }
    QXLoginItemSwitch* loginItemSwitch() const { return m_loginItemSwitch; }
    QComboBox* applicationModeSelector() const { return m_applicationModeSelector; }
    QLabel* facelessApplicationModeExplanationView() const
    {
        return m_facelessApplicationModeExplanationView;
    }
    QCheckBox* keyEquivalentSwitch() const { return m_keyEquivalentSwitch; }
    QCheckBox* promoteAlternatesSwitch() const { return m_promoteAlternatesSwitch; }
    QCheckBox* supportAccessoryApplicationsSwitch() const
    {
        return m_supportAccessoryApplicationsSwitch;
    }
    QCheckBox* moveAppleMenuToEndSwitch() const { return m_moveAppleMenuToEndSwitch; }
    QCheckBox* skipDisabledMenuItemsSwitch() const { return m_skipDisabledMenuItemsSwitch; }
    QCheckBox* searchMenusWhileTypingSwitch() const { return m_searchMenusWhileTypingSwitch; }
    QXSearchHistoryButton* clearSearchHistoryButton() const { return m_clearSearchHistoryButton; }
    QComboBox* appearanceSelector() const { return m_appearanceSelector; }
    QComboBox* fontSizeSelector() const { return m_fontSizeSelector; }
    QXListTextField* blacklistField() const { return m_blacklistField; }
    QXListTextField* fastTrackField() const { return m_fastTrackField; }
    QXHotKeyTextView* frontmostApplicationTriggerHotKeyTextView() const
    {
        return m_frontmostApplicationTriggerHotKeyTextView;
    }
    QXHotKeyTextView* allApplicationsTriggerHotKeyTextView() const
    {
        return m_allApplicationsTriggerHotKeyTextView;
    }

    // The line under each recorder: shown with its Copy button where the user
    // binds the hot key in the desktop's configuration, hidden when empty.
    QLineEdit* configurationLineField(const QXHotKeyTextView* recorder) const;
    void setConfigurationLine(const QXHotKeyTextView* recorder, const QString& line);
    // How the desktop brings the hot keys to Trovix, under the recorders.
    QLabel* hotKeyMechanismView() const { return m_hotKeyMechanismView; }
    // The right click cannot work on this desktop: its controls are disabled
    // and an explanation says why.
    void setRightClickUnavailable();
    QLabel* rightClickUnavailableView() const { return m_rightClickUnavailableView; }

    // Selects the pop-up item carrying tag, or the first item when none does.
    static void selectItemWithTag(QComboBox* selector, qint64 tag);
    static qint64 selectedTag(const QComboBox* selector);

Q_SIGNALS:
    void sectionChosen(const QString& identifier);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // Draws the toolbar's template images in the toolbar's text colour.
    void updateSectionImages();

    // The page of the selected section, inside its scroll area.
    QWidget* selectedPage() const;
    static QScrollArea* scrollAreaOf(const QWidget* page);
    // Puts the labels of the area's page above their fields, and stacks the
    // controls of its two-control rows, when the page is narrower than its
    // form needs side by side: a narrow window then scrolls sideways as
    // little as it can. Measured as if the vertical scroll bar showed, so
    // that its coming and going never switches the layout back and forth.
    void fitRowsToWidth(const QScrollArea& area);

    QWidget* createMenuPage();
    QWidget* createAdvancedPage();
    QWidget* createUpdatesPage();

    QToolBar* m_toolbar = nullptr;
    QStackedWidget* m_pages = nullptr;
    QVariantAnimation* m_heightAnimation = nullptr;
    QHash<QString, QAction*> m_sectionActions;
    std::unique_ptr<platform::MenuPresenter> m_windowMenuPresenter;
    QHash<QString, QWidget*> m_sectionPages;
    // Per page, the width its form needs with labels beside their fields.
    QHash<const QWidget*, int> m_sideBySideWidths;
    bool m_controlsFilled = false;

    QCheckBox* m_rightClickTriggerSwitch = nullptr;
    QComboBox* m_rightClickTriggerModifierSelector = nullptr;
    QLabel* m_rightClickUnavailableView = nullptr;
    QLabel* m_hotKeyMechanismView = nullptr;
    QHash<const QXHotKeyTextView*, QLineEdit*> m_configurationLineFields;
    QCheckBox* m_stealthModeSwitch = nullptr;
    QXLoginItemSwitch* m_loginItemSwitch = nullptr;
    QComboBox* m_applicationModeSelector = nullptr;
    QLabel* m_facelessApplicationModeExplanationView = nullptr;
    QCheckBox* m_keyEquivalentSwitch = nullptr;
    QCheckBox* m_promoteAlternatesSwitch = nullptr;
    QCheckBox* m_supportAccessoryApplicationsSwitch = nullptr;
    QCheckBox* m_moveAppleMenuToEndSwitch = nullptr;
    QCheckBox* m_skipDisabledMenuItemsSwitch = nullptr;
    QCheckBox* m_searchMenusWhileTypingSwitch = nullptr;
    QXSearchHistoryButton* m_clearSearchHistoryButton = nullptr;
    QComboBox* m_appearanceSelector = nullptr;
    QComboBox* m_fontSizeSelector = nullptr;
    QXListTextField* m_blacklistField = nullptr;
    QXListTextField* m_fastTrackField = nullptr;
    QXHotKeyTextView* m_frontmostApplicationTriggerHotKeyTextView = nullptr;
    QXHotKeyTextView* m_allApplicationsTriggerHotKeyTextView = nullptr;
};
