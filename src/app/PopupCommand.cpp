#include "app/PopupCommand.h"

#include "app/QXDefaultsRegistration.h"
#include "app/QXMainController.h"
#include "app/QXTranslations.h"
#include "foundation/QXLocalized.h"
#include "menus/QXAccessibility.h"
#include "platform/defaults/UserDefaults.h"
#include "platform/instance/ProgramInstance.h"
#include "platform/menus/KeyEquivalentText.h"
#include "platform/menus/Menu.h"
#include "platform/menus/MenuItem.h"
#include "platform/workspace/Workspace.h"
#include "search/SearchText.h"

#include <QApplication>
#include <QCoreApplication>
#include <QStringList>
#include <optional>

using platform::Menu;
using platform::MenuItem;

namespace {

// Menus nest; a foreign tree that loops must still end.
constexpr int DepthLimit = 16;

struct Options
{
    bool allApplications = false;
    bool print = false;
    int depth = 1;
    // The application whose menu is printed in place of the frontmost one.
    qint64 pid = 0;
};

std::optional<Options> parseOptions(const QStringList& arguments)
{
    Options options;
    bool depthGiven = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == u"--all") {
            options.allApplications = true;
        } else if (argument == u"--print") {
            options.print = true;
        } else if (argument == u"--depth" && i + 1 < arguments.size()) {
            bool ok = false;
            options.depth = arguments.at(++i).toInt(&ok);
            if (!ok || options.depth < 0) {
                return std::nullopt;
            }
            options.depth = std::min(options.depth, DepthLimit);
            depthGiven = true;
        } else if (argument == u"--pid" && i + 1 < arguments.size()) {
            bool ok = false;
            options.pid = arguments.at(++i).toLongLong(&ok);
            if (!ok || options.pid <= 0) {
                return std::nullopt;
            }
        } else {
            return std::nullopt;
        }
    }
    if ((depthGiven || options.pid > 0) && !options.print) {
        return std::nullopt;
    }
    return options;
}

// A lazy submenu that has not been filled yet: empty, or holding only the
// placeholder of an application's menu.
bool isUnfilled(const Menu& menu)
{
    if (!menu.delegate()) {
        return false;
    }
    return menu.isEmpty() || (menu.numberOfItems() == 1 && !menu.itemAtIndex(0)->hasAction() &&
                              menu.itemAtIndex(0)->tag() == MenuItem::MaxTag);
}

// Titles and keys come from the applications: printed on one line with their
// control characters replaced, so none reaches the terminal.
void printItems(Menu& menu, int level, int depth, QTextStream& out)
{
    menu.update();
    const QString indent(level * 2, u' ');
    const std::vector<std::shared_ptr<MenuItem>> items = menu.items();
    for (const auto& item : items) {
        if (item->isSeparatorItem()) {
            out << indent << "----" << (item->isHidden() ? "  [hidden]" : "") << '\n';
            continue;
        }
        QStringList notes;
        if (item->hasAttributedTitle() && item->titleAttributes().bold) {
            notes << QStringLiteral("bold");
        }
        if (!item->isEnabled()) {
            notes << QStringLiteral("disabled");
        }
        // Hidden: the application hides the item (GTK: no VISIBLE state; Qt:
        // no place in its menu), so the pop-up leaves it out. Items of
        // closed menus are not showing, which is no reason to hide them.
        if (item->isHidden()) {
            notes << QStringLiteral("hidden");
        }
        if (item->isAlternate()) {
            notes << QStringLiteral("alternate");
        }
        if (item->state() == MenuItem::State::On) {
            notes << QStringLiteral("on");
        } else if (item->state() == MenuItem::State::Mixed) {
            notes << QStringLiteral("mixed");
        }
        if (!item->image().isNull()) {
            notes << QStringLiteral("image");
        }
        Menu* submenu = item->submenu();
        if (submenu) {
            notes << (isUnfilled(*submenu) ? QStringLiteral("lazy submenu")
                                           : QStringLiteral("submenu"));
        }
        out << indent << SearchText::sanitizedTitle(item->title());
        const QString key = SearchText::sanitizedTitle(platform::KeyEquivalentText::displayText(
            item->keyEquivalent(), item->keyEquivalentModifierMask()));
        if (!key.isEmpty()) {
            out << "  " << key;
        }
        if (!notes.isEmpty()) {
            out << "  [" << notes.join(QStringLiteral(", ")) << ']';
        }
        out << '\n';
        if (submenu && depth > 0) {
            printItems(*submenu, level + 1, depth - 1, out);
        }
    }
}

int printMenu(const Options& options, QTextStream& out, QTextStream& err)
{
    QXDefaultsRegistration::registerDefaults(platform::UserDefaults::standard());
    if (!QXAccessibilityIsTrusted(false)) {
        err << QXLocalized::tr(
                   "trovix: accessibility is off; turn it on for the session and restart the "
                   "application")
            << Qt::endl;
        return 1;
    }
    platform::RunningApplication application;
    if (options.pid > 0) {
        application = platform::Workspace::current().runningApplication(options.pid);
        if (application.isNull()) {
            err << QXLocalized::tr("trovix: no process %1").arg(options.pid) << Qt::endl;
            return 1;
        }
    }
    const std::unique_ptr<Menu> menu =
        QXMainController::mainController().buildPopUpMenu(options.allApplications, application);
    if (!menu) {
        err << QXLocalized::tr("trovix: accessibility is off") << Qt::endl;
        return 1;
    }
    printPopUpMenu(*menu, options.depth, out);
    return 0;
}

} // namespace

void printPopUpMenu(Menu& menu, int depth, QTextStream& out)
{
    QStringList notes;
    if (menu.fontPointSize() > 0) {
        notes << QStringLiteral("font %1").arg(menu.fontPointSize());
    }
    if (menu.appearance() == Menu::Appearance::Light) {
        notes << QStringLiteral("light");
    } else if (menu.appearance() == Menu::Appearance::Dark) {
        notes << QStringLiteral("dark");
    }
    out << SearchText::sanitizedTitle(menu.title());
    if (!notes.isEmpty()) {
        out << "  [" << notes.join(QStringLiteral(", ")) << ']';
    }
    out << '\n';
    printItems(menu, 1, depth, out);
    out.flush();
}

int runPopupCommand(int& argc, char** argv)
{
    QStringList arguments;
    for (int i = 2; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    const std::optional<Options> options = parseOptions(arguments);
    if (!options) {
        QCoreApplication application(argc, argv);
        QXInstallTranslations();
        QTextStream err(stderr);
        err << QXLocalized::tr("usage: trovix popup [--all] [--print [--depth N] [--pid N]]")
            << Qt::endl;
        return 2;
    }

    if (!options->print) {
        QCoreApplication application(argc, argv);
        QXInstallTranslations();
        QTextStream err(stderr);
        if (!QXAccessibilityIsTrusted(false)) {
            err << QXLocalized::tr(
                       "trovix: accessibility is off; turn it on for the session and restart the "
                       "application")
                << Qt::endl;
            return 1;
        }
        QString error;
        if (!platform::ProgramInstance::requestPopUp(options->allApplications, &error)) {
            err << QXLocalized::tr("trovix: %1").arg(error) << Qt::endl;
            return 1;
        }
        return 0;
    }

    // The frontmost application is known only on an X display; one that
    // cannot be reached leaves Qt on the offscreen platform instead of
    // aborting.
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        QCoreApplication application(argc, argv);
        QXInstallTranslations();
        QTextStream err(stderr);
        err << QXLocalized::tr("trovix: no X display (DISPLAY is not set)") << Qt::endl;
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "xcb;offscreen");
    QApplication application(argc, argv);
    QXInstallTranslations();
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        err << QXLocalized::tr("trovix: cannot connect to the X display %1")
                   .arg(qEnvironmentVariable("DISPLAY"))
            << Qt::endl;
        return 1;
    }
    return printMenu(*options, out, err);
}
