#include "platform/menus/qt/MenuPalette.h"

#include <QColor>

namespace platform::MenuPalette {

namespace {

struct Colors
{
    QColor window, text, base, alternateBase, button, highlight, highlightedText;
    QColor light, midlight, mid, dark, shadow, disabledText;
};

QPalette paletteFrom(const Colors& c)
{
    QPalette palette;
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const QColor& text = group == QPalette::Disabled ? c.disabledText : c.text;
        palette.setColor(group, QPalette::Window, c.window);
        palette.setColor(group, QPalette::WindowText, text);
        palette.setColor(group, QPalette::Base, c.base);
        palette.setColor(group, QPalette::AlternateBase, c.alternateBase);
        palette.setColor(group, QPalette::Text, text);
        palette.setColor(group, QPalette::Button, c.button);
        palette.setColor(group, QPalette::ButtonText, text);
        palette.setColor(group, QPalette::BrightText, Qt::white);
        palette.setColor(group, QPalette::Highlight,
                         group == QPalette::Disabled ? c.mid : c.highlight);
        palette.setColor(group, QPalette::HighlightedText, c.highlightedText);
        palette.setColor(group, QPalette::Light, c.light);
        palette.setColor(group, QPalette::Midlight, c.midlight);
        palette.setColor(group, QPalette::Mid, c.mid);
        palette.setColor(group, QPalette::Dark, c.dark);
        palette.setColor(group, QPalette::Shadow, c.shadow);
        palette.setColor(group, QPalette::ToolTipBase, c.base);
        palette.setColor(group, QPalette::ToolTipText, text);
        palette.setColor(group, QPalette::PlaceholderText, c.disabledText);
    }
    return palette;
}

} // namespace

QPalette forAppearance(Menu::Appearance appearance)
{
    switch (appearance) {
    case Menu::Appearance::Light:
        return paletteFrom(
            {QColor(0xef, 0xef, 0xef), QColor(0x00, 0x00, 0x00), QColor(0xff, 0xff, 0xff),
             QColor(0xf7, 0xf7, 0xf7), QColor(0xef, 0xef, 0xef), QColor(0x30, 0x8c, 0xc6),
             QColor(0xff, 0xff, 0xff), QColor(0xff, 0xff, 0xff), QColor(0xca, 0xca, 0xca),
             QColor(0xb8, 0xb8, 0xb8), QColor(0x9f, 0x9f, 0x9f), QColor(0x76, 0x76, 0x76),
             QColor(0xa0, 0xa0, 0xa0)});
    case Menu::Appearance::Dark:
        return paletteFrom(
            {QColor(0x2d, 0x2d, 0x2d), QColor(0xee, 0xee, 0xee), QColor(0x24, 0x24, 0x24),
             QColor(0x33, 0x33, 0x33), QColor(0x38, 0x38, 0x38), QColor(0x2f, 0x6b, 0xc8),
             QColor(0xff, 0xff, 0xff), QColor(0x55, 0x55, 0x55), QColor(0x45, 0x45, 0x45),
             QColor(0x30, 0x30, 0x30), QColor(0x1e, 0x1e, 0x1e), QColor(0x00, 0x00, 0x00),
             QColor(0x80, 0x80, 0x80)});
    case Menu::Appearance::System:
        break;
    }
    return {};
}

} // namespace platform::MenuPalette
