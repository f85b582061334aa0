#include "app/DumpMenuCommand.h"

#include "app/ForeignItemPress.h"
#include "app/MenuCommandTarget.h"
#include "app/QXDefaultsRegistration.h"
#include "app/QXSettingsKeys.h"
#include "foundation/QXExtension.h"
#include "foundation/QXLocalized.h"
#include "foundation/QXRunningApplication.h"
#include "menus/QXAccessibility.h"
#include "platform/accessibility/Accessibility.h"
#include "platform/accessibility/AccessibilityNames.h"
#include "platform/accessibility/MenuWalkLimits.h"
#include "platform/defaults/UserDefaults.h"
#include "platform/input/ModifierFlags.h"
#include "platform/workspace/Workspace.h"
#include "search/SearchText.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <memory>

namespace {

using platform::AccessibilityElement;
using platform::AccessibilityElementList;

// Menus nest; a foreign tree that loops must still end.

struct Options
{
    qint64 pid = -1;
    int depth = platform::MenuWalkLimits::DepthLimit;
    bool json = false;
    // Read every entry with its own requests even where the application
    // answers a read of its whole tree (to compare both ways).
    bool itemByItem = false;
    QStringList press; // titles from the menu bar down to the item to press
};

struct KeyEquivalent
{
    QString character;
    int virtualKey = -1;
    int modifiers = -1;
    QString text; // glyphs and key, as a menu shows it
};

std::optional<QVariant> read(const AccessibilityElement& element, const char* attribute)
{
    return QXCopyAttribute(element, QString::fromLatin1(attribute));
}

KeyEquivalent keyEquivalent(const AccessibilityElement& element)
{
    KeyEquivalent key;
    key.character = read(element, "AXMenuItemCmdChar").value_or(QVariant()).toString();
    const std::optional<QVariant> virtualKey = read(element, "AXMenuItemCmdVirtualKey");
    if (virtualKey) {
        key.virtualKey = virtualKey->toInt();
    }
    const std::optional<QVariant> modifiers = read(element, "AXMenuItemCmdModifiers");
    if (modifiers) {
        key.modifiers = modifiers->toInt();
    }
    QString label = key.character;
    if (label.isEmpty() && key.virtualKey > 0) {
        label = QXExtension::stringRepresentingKeyCode(quint16(key.virtualKey), false)
                    .value_or(QString());
    } else {
        label = QXExtension::keyboardLabelString(label);
    }
    if (label.isEmpty()) {
        return key;
    }
    const int bits = std::max(key.modifiers, 0);
    platform::ModifierFlags flags = 0;
    if (bits & 1) {
        flags |= platform::ModifierFlag::Shift;
    }
    if (bits & 2) {
        flags |= platform::ModifierFlag::Option;
    }
    if (bits & 4) {
        flags |= platform::ModifierFlag::Control;
    }
    if (!(bits & 8)) {
        flags |= platform::ModifierFlag::Command;
    }
    key.text = QXExtension::stringRepresentingModifierFlags(flags, false) + label;
    return key;
}

// Whether the application's reads ran past its deadline: past it, every
// read answers nothing, so what is read then is not the application's.
bool pastDeadline(const AccessibilityElement& element)
{
    const QXAccessibilityStallGuard* reads = QXAccessibilityStallGuard::current();
    const std::optional<qint64> pid = element.pid();
    return pid && reads && reads->hasRunPastDeadline(*pid);
}

std::optional<QJsonObject> describe(const AccessibilityElement& element, int depth, bool skipHidden,
                                    platform::MenuWalkLimits& limits, int level = 1);

// The entries of a submenu, read a run at a time so that a long menu shows
// what was read before the deadline. Adds "omitted" for those left out.
void describeEntries(const AccessibilityElement& menu, int depth, bool skipHidden,
                     platform::MenuWalkLimits& limits, int level, QJsonObject& item)
{
    constexpr qint64 EntriesPerRun = 16;
    const QString children = QString(platform::accessibility::ChildrenAttribute);
    const qint64 reported = QXAttributeValueCount(menu, children).value_or(0);
    const qint64 count = std::min<qint64>(reported, platform::accessibility::MaximumMenuChildren);
    QJsonArray entries;
    qint64 read = 0;
    bool cut = false;
    while (read < count && !cut) {
        const qint64 wanted = std::min(EntriesPerRun, count - read);
        const AccessibilityElementList run = platform::accessibilityElementListFromVariant(
            QXCopyAttributeValues(menu, children, read, wanted).value_or(QVariant()));
        cut = pastDeadline(menu);
        for (qsizetype i = 0; i < run.size() && !cut; ++i) {
            const std::optional<QJsonObject> described =
                describe(run.at(i), depth, skipHidden, limits, level);
            if (!described) {
                cut = true;
                read += i;
                break;
            }
            // Items the application hides are left out, as in the pop-up.
            if (skipHidden && described->value("hidden").toBool()) {
                continue;
            }
            entries.append(*described);
        }
        if (!cut) {
            read += wanted;
        }
    }
    item.insert("items", entries);
    // A menu cut short (too many entries, or an application past its
    // deadline) says how many entries it left out. The backend knows its
    // own count without a request, so it is asked directly: past the
    // deadline the guarded reads answer nothing.
    const qint64 omitted =
        (reported - count) + (count - read) +
        std::max<qint64>(menu.copyAttribute(platform::accessibility::OmittedChildCountAttribute)
                             .value_or(QVariant())
                             .toLongLong(),
                         0);
    if (omitted > 0) {
        item.insert("omitted", omitted);
    }
}

// One menu item and, within the depth, the items of its submenu; nothing
// when the application's deadline passed before the item was read. A
// submenu the walk has been into already (a tree that loops) is listed
// empty. Items the application hides are left out, as in the pop-up,
// unless the settings include them.
std::optional<QJsonObject> describe(const AccessibilityElement& element, int depth, bool skipHidden,
                                    platform::MenuWalkLimits& limits, int level)
{
    QJsonObject item;
    const QString title = read(element, "AXTitle").value_or(QVariant()).toString();
    item.insert("title", title);
    item.insert("separator", title.isEmpty());
    item.insert("role", read(element, "AXRole").value_or(QVariant()).toString());
    if (title.isEmpty()) {
        return pastDeadline(element) ? std::nullopt : std::optional<QJsonObject>(item);
    }
    item.insert("enabled", read(element, "AXEnabled").value_or(false).toBool());
    item.insert("hidden", !read(element, "AXPosition").has_value());
    item.insert("mark", read(element, "AXMenuItemMarkChar").value_or(QVariant()).toString());
    const KeyEquivalent key = keyEquivalent(element);
    item.insert("key", key.text);
    if (!key.character.isEmpty()) {
        item.insert("character", key.character);
    }
    if (key.virtualKey >= 0) {
        item.insert("virtualKey", key.virtualKey);
    }
    if (key.modifiers >= 0) {
        item.insert("modifiers", key.modifiers);
    }
    const AccessibilityElementList children = platform::accessibilityElementListFromVariant(
        read(element, "AXChildren").value_or(QVariant()));
    if (pastDeadline(element)) {
        return std::nullopt;
    }
    for (const AccessibilityElement& child : children) {
        if (read(child, "AXRole").value_or(QVariant()).toString() != QStringLiteral("AXMenu")) {
            continue;
        }
        item.insert("submenu", true);
        if (depth > 1 && limits.enter(child, level)) {
            describeEntries(child, depth - 1, skipHidden, limits, level + 1, item);
        }
        break;
    }
    return item;
}

// The item at the end of a title path, walking down through submenus.
AccessibilityElement findItem(const AccessibilityElementList& topLevel, const QStringList& titles)
{
    AccessibilityElementList candidates = topLevel;
    AccessibilityElement found;
    for (const QString& title : titles) {
        found = AccessibilityElement();
        for (const AccessibilityElement& candidate : std::as_const(candidates)) {
            if (read(candidate, "AXTitle").value_or(QVariant()).toString() == title) {
                found = candidate;
                break;
            }
        }
        if (found.isNull()) {
            return found;
        }
        candidates.clear();
        const AccessibilityElementList children = platform::accessibilityElementListFromVariant(
            read(found, "AXChildren").value_or(QVariant()));
        for (const AccessibilityElement& child : children) {
            if (read(child, "AXRole").value_or(QVariant()).toString() == QStringLiteral("AXMenu")) {
                candidates = platform::accessibilityElementListFromVariant(
                    read(child, "AXChildren").value_or(QVariant()));
                break;
            }
        }
    }
    return found;
}

// The line that stands for the entries a menu left out.
void printOmitted(qint64 omitted, int level, QTextStream& out)
{
    if (omitted > 0) {
        out << QString(level * 2, u' ')
            << QCoreApplication::translate("Trovix", "%1 more items not shown").arg(omitted)
            << "  [disabled]\n";
    }
}

// Titles, marks and keys come from the application: printed on one line with
// their control characters replaced, so none reaches the terminal.
void printText(const QJsonArray& items, int level, QTextStream& out)
{
    const auto text = [](const QJsonObject& item, const char* field) {
        return SearchText::sanitizedTitle(item.value(QLatin1String(field)).toString());
    };
    const QString indent(level * 2, u' ');
    for (const QJsonValue& value : items) {
        const QJsonObject item = value.toObject();
        if (item.value("separator").toBool()) {
            out << indent << "----\n";
            continue;
        }
        out << indent << text(item, "title") << "  [" << text(item, "role");
        if (!item.value("enabled").toBool()) {
            out << " disabled";
        }
        if (item.value("hidden").toBool()) {
            out << " hidden";
        }
        if (!text(item, "mark").isEmpty()) {
            out << " mark=" << text(item, "mark");
        }
        if (!text(item, "key").isEmpty()) {
            out << " key=" << text(item, "key");
        }
        if (item.value("submenu").toBool()) {
            out << " submenu";
        }
        out << "]\n";
        printText(item.value("items").toArray(), level + 1, out);
        printOmitted(item.value("omitted").toInteger(), level + 1, out);
    }
}

std::optional<Options> parseOptions(const QStringList& arguments, QTextStream& err)
{
    Options options;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        bool ok = true;
        if (argument == QStringLiteral("--pid") && i + 1 < arguments.size()) {
            options.pid = arguments.at(++i).toLongLong(&ok);
            ok = ok && options.pid > 0;
        } else if (argument == QStringLiteral("--frontmost")) {
            options.pid = -1;
        } else if (argument == QStringLiteral("--depth") && i + 1 < arguments.size()) {
            options.depth = arguments.at(++i).toInt(&ok);
            ok = ok && options.depth > 0;
            options.depth = std::min(options.depth, platform::MenuWalkLimits::DepthLimit);
        } else if (argument == QStringLiteral("--json")) {
            options.json = true;
        } else if (argument == QStringLiteral("--item-by-item")) {
            options.itemByItem = true;
        } else if (argument == QStringLiteral("--press") && i + 1 < arguments.size()) {
            options.press = arguments.at(++i).split(QStringLiteral(" > "));
        } else {
            ok = false;
        }
        if (!ok) {
            err << QXLocalized::tr(
                       "usage: trovix dump-menu [--pid N | --frontmost] [--depth N] [--json] "
                       "[--item-by-item] [--press 'Menu > Item']")
                << '\n';
            return std::nullopt;
        }
    }
    return options;
}

} // namespace

int runDumpMenuCommand(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    const std::optional<Options> options = parseOptions(arguments, err);
    if (!options) {
        return 2;
    }
    if (!prepareMenuCommandAccessibility(err)) {
        return 1;
    }
    const float timeout = QXAccessibilityMessagingTimeout();

    const platform::RunningApplication application = menuCommandApplication(options->pid, err);
    if (application.isNull()) {
        return 1;
    }
    // The name is asked for only where the application has answered: asking
    // one that hangs would cost another timeout. It comes from the
    // application, and is printed: on one line, without control characters.
    const auto name = [&application] {
        return SearchText::sanitizedTitle(QXExtensions::localizedNameOrBundleName(application)
                                              .value_or(QXLocalized::tr("(unnamed)")));
    };
    const qint64 pid = application.processIdentifier();
    // A GTK 2 application publishes nothing until its accessibility bridge
    // is loaded: then the help tells how to load it.
    const auto reportMissingBridge = [&] {
        return reportMissingAccessibilityBridge(pid, name(), err);
    };
    if (platform::Accessibility::current().applicationElement(pid).isNull()) {
        if (!reportMissingBridge()) {
            err << QXLocalized::tr("trovix: %1 (pid %2) is not on the accessibility bus")
                       .arg(name())
                       .arg(pid)
                << '\n';
        }
        return 1;
    }

    // The application's reads together take at most its deadline; what was
    // read by then is printed.
    const QXAccessibilityStallGuard reads(QXAccessibilityStallGuard::Deadlines::Own);
    QElapsedTimer timer;
    timer.start();
    // Where the application answers one request with its whole tree, the
    // menus come from that: only the entries' key bindings are asked for,
    // a menu's together. An application that does not answer it is not
    // waited for a second time.
    std::optional<AccessibilityElementList> items;
    const char* source = "item-by-item";
    const quint64 timedOutBefore = platform::Accessibility::current().timedOutRequests();
    if (!options->itemByItem) {
        const std::optional<QVariant> menuBar =
            QXCopyAttribute(platform::Accessibility::current().applicationElement(pid),
                            platform::accessibility::WholeMenuBarAttribute);
        const std::optional<QVariant> children =
            menuBar ? QXCopyAttribute(platform::accessibilityElementFromVariant(*menuBar),
                                      platform::accessibility::ChildrenAttribute)
                    : std::nullopt;
        if (children) {
            items = platform::accessibilityElementListFromVariant(*children);
            source = "whole-tree";
        }
    }
    const bool answered = platform::Accessibility::current().timedOutRequests() == timedOutBefore;
    if (!items && answered) {
        items = QXMenuBarItemsForApplication(application);
    }
    if (!items) {
        if (timer.elapsed() >= qint64(timeout * 1000.0f * 0.9f)) {
            err << QXLocalized::tr(
                       "trovix: the application with pid %1 does not answer within %2 s")
                       .arg(pid)
                       .arg(double(timeout))
                << '\n';
        } else if (!reportMissingBridge()) {
            err << QXLocalized::tr("trovix: %1 (pid %2) has no menu bar").arg(name()).arg(pid)
                << '\n';
        }
        return 1;
    }

    if (!options->press.isEmpty()) {
        const AccessibilityElement item = findItem(*items, options->press);
        const QString path = options->press.join(QStringLiteral(" > "));
        if (item.isNull()) {
            err << QXLocalized::tr("trovix: no menu item %1").arg(path) << '\n';
            return 1;
        }
        const std::optional<platform::ActionReply> reply = pressForeignItem(item, timeout);
        // No answer is what an item that opened a modal dialog gets from an
        // application that answers nothing else meanwhile: the press was
        // delivered as long as the application still runs.
        const bool pressed =
            reply == platform::ActionReply::Done ||
            (reply == platform::ActionReply::NoReply && !application.isTerminated());
        if (!pressed) {
            err << QXLocalized::tr("trovix: %1 could not be pressed").arg(path) << '\n';
            return 1;
        }
        out << QXLocalized::tr("pressed %1").arg(path) << '\n';
        return 0;
    }

    QJsonArray menus;
    platform::MenuWalkLimits limits;
    QXDefaultsRegistration::registerDefaults(platform::UserDefaults::standard());
    const bool skipHidden =
        platform::UserDefaults::standard().boolForKey(QXSettingsKeys::SkipHiddenMenuItems);
    // Menus past the application's deadline are counted, not listed.
    qint64 omitted = 0;
    for (qsizetype i = 0; i < items->size(); ++i) {
        const std::optional<QJsonObject> menu =
            describe(items->at(i), options->depth, skipHidden, limits);
        if (!menu) {
            omitted = items->size() - i;
            break;
        }
        menus.append(*menu);
    }
    if (options->json) {
        QJsonObject document{
            {"application", name()}, {"pid", pid}, {"source", source}, {"menus", menus}};
        if (omitted > 0) {
            document.insert("omitted", omitted);
        }
        out << QJsonDocument(document).toJson(QJsonDocument::Indented);
    } else {
        out << name() << " (pid " << pid << ")\n";
        printText(menus, 1, out);
        printOmitted(omitted, 1, out);
    }
    return 0;
}
