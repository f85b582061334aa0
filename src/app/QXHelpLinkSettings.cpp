#include "app/QXHelpLinkSettings.h"

#include "app/QXSettingsKeys.h"

QHash<QString, QXHelpManager::SettingRule> QXHelpLinkSettings()
{
    using namespace QXSettingsKeys;
    using Rule = QXHelpManager::SettingRule;
    using Type = Rule::Type;
    const Rule boolean{Type::Boolean, std::nullopt, std::nullopt};
    const Rule integer{Type::Integer, std::nullopt, std::nullopt};
    const Rule string{Type::String, std::nullopt, std::nullopt};

    QHash<QString, Rule> rules;
    for (const QString& key : helpLinkKeys()) {
        rules.insert(key, boolean);
    }
    // Pop-up buttons of the preferences window: their tags.
    rules.insert(EnableRightClickTriggerModifier, {Type::Integer, 0, 3});
    rules.insert(ApplicationMode, {Type::Integer, 0, 2});
    rules.insert(MenuAppearance, {Type::Integer, 0, 2});
    rules.insert(MenuFontSize, {Type::Integer, SmallestMenuFontSize, LargestMenuFontSize});
    // Numbers without a control.
    for (const QString& key :
         {StatusItemWidth, MetaMenuPriority, ActivationDelay, VisibleFrameExtraDockSpacing}) {
        rules.insert(key, integer);
    }
    rules.insert(AccessibilityAPITimeout, {Type::Number, std::nullopt, std::nullopt});
    // Texts.
    for (const QString& key :
         {Blacklist, FastTrack, CSVParserDefaultFieldSeparator, HelpManagerOpenRelativePath}) {
        rules.insert(key, string);
    }
    return rules;
}
