#include "app/DemoMenuCommand.h"

#include "foundation/QXProgramGlyph.h"
#include "platform/menus/Menu.h"
#include "platform/menus/MenuDelegate.h"
#include "platform/menus/qt/MenuPresenter.h"

#include <QApplication>
#include <QCursor>
#include <QStringList>
#include <QTextStream>
#include <QtMath>
#include <cstdio>
#include <optional>

using platform::Menu;
using platform::MenuItem;
namespace ModifierFlag = platform::ModifierFlag;

namespace {

struct Options
{
    int fontSize = 0;
    Menu::Appearance appearance = Menu::Appearance::System;
    std::optional<QPoint> position;
};

std::optional<Options> parseOptions(const QStringList& arguments, QTextStream& err)
{
    Options options;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        const QString value = arguments.value(i + 1);
        bool ok = true;
        if (argument == u"--font-size") {
            options.fontSize = value.toInt(&ok);
            ok = ok && options.fontSize >= 0;
        } else if (argument == u"--appearance") {
            if (value == u"light") {
                options.appearance = Menu::Appearance::Light;
            } else if (value == u"dark") {
                options.appearance = Menu::Appearance::Dark;
            } else {
                ok = value == u"system";
            }
        } else if (argument == u"--at") {
            const QStringList xy = value.split(u',');
            bool okY = false;
            options.position = QPoint(xy.value(0).toInt(&ok), xy.value(1).toInt(&okY));
            ok = ok && okY && xy.size() == 2;
        } else {
            ok = false;
        }
        if (!ok) {
            err << QCoreApplication::translate(
                       "Trovix",
                       "usage: trovix demo-menu [--font-size N] [--appearance system|light|dark] "
                       "[--at X,Y]")
                << Qt::endl;
            return std::nullopt;
        }
        ++i;
    }
    return options;
}

// Fills "Open Recent" when it first opens, as proxy items fill their submenus.
class RecentItemsDelegate : public platform::MenuDelegate
{
public:
    void menuNeedsUpdate(Menu& menu) override
    {
        if (!menu.isEmpty()) {
            return;
        }
        for (const char* name : {"report.txt", "notes.md", "Fish & Chips.csv"}) {
            addCommand(menu, QString::fromUtf8(name));
        }
        menu.addSeparator();
        addCommand(menu, QStringLiteral("Clear Menu"));
    }

    static MenuItem* addCommand(Menu& menu, const QString& title, const QString& key = {},
                                platform::ModifierFlags mask = ModifierFlag::Command)
    {
        MenuItem* item = menu.addItem(
            title, QStringLiteral("choose:"), [](MenuItem&) {}, key);
        item->setKeyEquivalentModifierMask(mask);
        item->setTag(MenuItem::MaxTag);
        return item;
    }
};

void buildSampleMenu(Menu& menu, RecentItemsDelegate& recentDelegate, int fontSize)
{
    using Delegate = RecentItemsDelegate;

    MenuItem* application = menu.addItem(QStringLiteral("Demo"));
    application->setAttributedTitle(QStringLiteral("Demo"), {true, fontSize});
    application->setTag(1);
    application->setSubmenu(std::make_unique<Menu>(QStringLiteral("Demo")));
    Delegate::addCommand(*application->submenu(), QStringLiteral("About Demo"));
    Delegate::addCommand(*application->submenu(), QStringLiteral("Quit Demo"), QStringLiteral("q"));

    MenuItem* program = menu.addItem(QStringLiteral("Trovix"));
    program->setImage(QXProgramGlyph::menuItemImage(fontSize, qApp->devicePixelRatio()), true);
    program->setSubmenu(std::make_unique<Menu>(QStringLiteral("Trovix")));
    Menu& programMenu = *program->submenu();
    Delegate::addCommand(programMenu, QStringLiteral("About Trovix"));
    Delegate::addCommand(programMenu, QStringLiteral("Help"));
    programMenu.addSeparator();
    Delegate::addCommand(programMenu, QStringLiteral("Preferences..."));
    Delegate::addCommand(programMenu, QStringLiteral("Enable Debug Logging"), {},
                         ModifierFlag::Option)
        ->setAlternate(true);
    programMenu.addSeparator();
    Delegate::addCommand(programMenu, QStringLiteral("Quit"));

    menu.addSeparator();
    Delegate::addCommand(menu, QStringLiteral("New Window"), QStringLiteral("n"));
    Delegate::addCommand(menu, QStringLiteral("Save As…"), QStringLiteral("S"));
    Delegate::addCommand(menu, QStringLiteral("Close"), QStringLiteral("w"));
    Delegate::addCommand(menu, QStringLiteral("Close All"), QStringLiteral("w"),
                         ModifierFlag::Option | ModifierFlag::Command)
        ->setAlternate(true);
    Delegate::addCommand(menu, QStringLiteral("Find & Replace…"), QStringLiteral("f"),
                         ModifierFlag::Control | ModifierFlag::Option);
    menu.addSeparator();
    Delegate::addCommand(menu, QStringLiteral("Show Toolbar"))->setState(MenuItem::State::On);
    Delegate::addCommand(menu, QStringLiteral("Smart Quotes"))->setState(MenuItem::State::Mixed);
    menu.addItem(QStringLiteral("Revert to Saved"))->setKeyEquivalent(QStringLiteral("r"));
    Delegate::addCommand(menu, QStringLiteral("Hidden Item"))->setHidden(true);
    Delegate::addCommand(menu, QStringLiteral("Full Screen"), QString(QChar(0xF70E)),
                         ModifierFlag::Control | ModifierFlag::Command);
    menu.addSeparator();
    MenuItem* recent = menu.addItem(QStringLiteral("Open Recent"));
    recent->setSubmenu(std::make_unique<Menu>(QStringLiteral("Open Recent")));
    recent->submenu()->setDelegate(&recentDelegate);
}

} // namespace

int runDemoMenuCommand(int& argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Trovix"));
    QTextStream out(stdout);
    QTextStream err(stderr);

    QStringList arguments = QApplication::arguments().mid(2);
    const std::optional<Options> options = parseOptions(arguments, err);
    if (!options) {
        return 2;
    }

    Menu menu(QStringLiteral("Trovix Proxy"));
    const int fontSize = options->fontSize < 10 ? 0 : qMin(options->fontSize, 30);
    menu.setFontPointSize(fontSize);
    menu.setAppearance(options->appearance);
    RecentItemsDelegate recentDelegate;
    buildSampleMenu(menu, recentDelegate, fontSize);

    platform::MenuPresenter presenter(menu);
    const std::shared_ptr<MenuItem> chosen =
        presenter.popUp(options->position.value_or(QCursor::pos()));
    out << "chosen: " << (chosen ? chosen->title() : QStringLiteral("(none)")) << Qt::endl;
    return 0;
}
