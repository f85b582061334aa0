#pragma once

#include <QString>
#include <QStringList>

// Every settings key of the program, spelled exactly as stored. The keys are
// stable identifiers of the user's data: never rename one.
namespace QXSettingsKeys {

// Shown in the preferences window.
inline const QString EnableRightClickTrigger = QStringLiteral("Enable Right Click Trigger");
inline const QString EnableRightClickTriggerModifier =
    QStringLiteral("Enable Right Click Trigger: Modifier");
inline const QString MenuTrigger = QStringLiteral("Menu Trigger");
inline const QString MenuTriggerAllApplications = QStringLiteral("Menu Trigger: All Applications");
inline const QString ApplicationMode = QStringLiteral("Application Mode");
inline const QString StealthMode = QStringLiteral("Stealth Mode");
inline const QString ShowKeyEquivalents = QStringLiteral("Show Key Equivalents");
inline const QString PromoteAlternates = QStringLiteral("Promote Alternates");
inline const QString SupportAccessoryApplications =
    QStringLiteral("Support Accessory Applications");
inline const QString MoveAppleMenuToEnd = QStringLiteral("Move Apple Menu To End");
inline const QString SkipDisabledMenuItems = QStringLiteral("Skip Disabled Menu Items");
inline const QString Blacklist = QStringLiteral("Blacklist");
inline const QString FastTrack = QStringLiteral("Fast Track");
inline const QString MenuAppearance = QStringLiteral("Menu Appearance");
inline const QString MenuFontSize = QStringLiteral("Menu Font Size");
// The sizes the preferences window offers; removing the key means the
// standard menu font.
inline constexpr int SmallestMenuFontSize = 10;
inline constexpr int LargestMenuFontSize = 30;
inline const QString SearchMenusWhileTyping = QStringLiteral("Search Menus While Typing");

// Toggled from the program's own menu.
inline const QString DisableSettingsWindowAnimation =
    QStringLiteral("Disable Settings Window Animation");
inline const QString DebugLog = QStringLiteral("QXDebugLog");

// The user's answer to whether Trovix may add its hot keys to the desktop's
// own keyboard settings (absent: not asked yet).
inline const QString HotKeysInDesktopSettings = QStringLiteral("QXHotKeysInDesktopSettings");

// Set once the user has been told what works in a Wayland session.
inline const QString WaylandNoticeShown = QStringLiteral("QXWaylandNoticeShown");
// Turns off reading menu bars ahead of pop-ups (to compare, or where an
// application suffers from being read): every pop-up then reads its menus.
inline const QString MenuReadAheadDisabled = QStringLiteral("QXMenuReadAheadDisabled");

// Hidden settings: read only, set with `trovix defaults` or from help links.
inline const QString ApplicationModeDockBackgroundLaunch =
    QStringLiteral("Application Mode: Dock: Background Launch");
inline const QString StatusItemWidth = QStringLiteral("QXStatusItemWidth");
inline const QString MetaMenuPriority = QStringLiteral("Meta Menu Priority");
inline const QString SupportAccessoryApplicationsAllApplications =
    QStringLiteral("Support Accessory Applications: All Applications");
inline const QString ApplicationMenuItemsReopen = QStringLiteral("Application Menu Items: Reopen");
inline const QString ApplicationMenuItemsRaiseAllWindows =
    QStringLiteral("Application Menu Items: Raise All Windows");
inline const QString ApplicationMenuItemsEmphasizeFrontmostApplication =
    QStringLiteral("Application Menu Items: Emphasize Frontmost Application");
inline const QString SkipHiddenMenuItems = QStringLiteral("Skip Hidden Menu Items");
inline const QString DisableMenuItemImages = QStringLiteral("Disable Menu Item Images");
inline const QString ActivationDelay = QStringLiteral("Activation Delay");
inline const QString AccessibilityAPITimeout = QStringLiteral("Accessibility API Timeout");
inline const QString HotKeysRequireExactModifierKeyMatches =
    QStringLiteral("Hot Keys Require Exact Modifier Key Matches");
inline const QString HotKeysAccountForCapsLockStatus =
    QStringLiteral("Hot Keys Account For Caps Lock Status");
inline const QString HotKeysAccountForFunctionKeyStatus =
    QStringLiteral("Hot Keys Account For Function Key Status");
inline const QString HotKeyTextViewIgnoreMetaKeys =
    QStringLiteral("QXHotKeyTextView: Ignore Meta Keys");
inline const QString FlatUserInterfaceDrawing = QStringLiteral("QXFlatUserInterfaceDrawing");
inline const QString VisibleFrameExtraDockSpacing =
    QStringLiteral("QXVisibleFrameExtraDockSpacing");
inline const QString CSVParserDefaultFieldSeparator =
    QStringLiteral("QXCSVParser: Default Field Separator");
inline const QString HelpManagerOpenRelativePath =
    QStringLiteral("QXHelpManager: Open Relative Path");
inline const QString HelpManagerListAnchorsInSubmenus =
    QStringLiteral("QXHelpManager: List Anchors In Submenus");
inline const QString HelpManagerCenterQuickAccess =
    QStringLiteral("QXHelpManager: Center Quick Access");
inline const QString LogReaderHideSender = QStringLiteral("ILRIntegratedLogReaderHideSender");
inline const QString LogReaderDisableCoalescing =
    QStringLiteral("ILRIntegratedLogReaderDisableCoalescing");

// State the program keeps for itself.
inline const QString PreferencesSection = QStringLiteral("Preferences Section");
inline const QString SparkleWrapperStatus = QStringLiteral("QXSparkleWrapper Status");

// The settings a help page may change through its links: every setting the
// user can see or set, but neither the hot keys (dictionaries a link cannot
// write) nor the state the program keeps for itself.
inline QStringList helpLinkKeys()
{
    return {EnableRightClickTrigger,
            EnableRightClickTriggerModifier,
            ApplicationMode,
            StealthMode,
            ShowKeyEquivalents,
            PromoteAlternates,
            SupportAccessoryApplications,
            MoveAppleMenuToEnd,
            SkipDisabledMenuItems,
            Blacklist,
            FastTrack,
            MenuAppearance,
            MenuFontSize,
            SearchMenusWhileTyping,
            DisableSettingsWindowAnimation,
            DebugLog,
            ApplicationModeDockBackgroundLaunch,
            StatusItemWidth,
            MetaMenuPriority,
            SupportAccessoryApplicationsAllApplications,
            ApplicationMenuItemsReopen,
            ApplicationMenuItemsRaiseAllWindows,
            ApplicationMenuItemsEmphasizeFrontmostApplication,
            SkipHiddenMenuItems,
            DisableMenuItemImages,
            ActivationDelay,
            AccessibilityAPITimeout,
            HotKeysRequireExactModifierKeyMatches,
            HotKeysAccountForCapsLockStatus,
            HotKeysAccountForFunctionKeyStatus,
            HotKeyTextViewIgnoreMetaKeys,
            FlatUserInterfaceDrawing,
            VisibleFrameExtraDockSpacing,
            CSVParserDefaultFieldSeparator,
            HelpManagerOpenRelativePath,
            HelpManagerListAnchorsInSubmenus,
            HelpManagerCenterQuickAccess,
            LogReaderHideSender,
            LogReaderDisableCoalescing};
}

} // namespace QXSettingsKeys
