#include "app/SearchCommand.h"

#include "app/ForeignItemPress.h"
#include "app/MenuCommandTarget.h"
#include "foundation/QXExtension.h"
#include "foundation/QXLocalized.h"
#include "foundation/QXRunningApplication.h"
#include "menus/QXAccessibility.h"
#include "menus/QXProxyMenuItem.h"
#include "platform/accessibility/Accessibility.h"
#include "platform/accessibility/MenuTree.h"
#include "platform/workspace/Workspace.h"
#include "search/MenuItemRanking.h"
#include "search/SearchHistory.h"
#include "search/SearchText.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

using platform::AccessibilityElement;

constexpr int DefaultLimit = 20;
const QString PathSeparator = QStringLiteral(" \u203a ");

struct Options
{
    qint64 pid = -1;
    bool all = false;
    bool json = false;
    bool press = false;
    bool clearHistory = false;
    int limit = DefaultLimit;
    QString query;
};

// One searchable item and where it comes from.
struct Candidate
{
    platform::MenuTreeItem item;
    QString application;
    qint64 pid = 0;
    QString source;
};

std::optional<Options> parseOptions(const QStringList& arguments, QTextStream& err)
{
    Options options;
    QStringList words;
    bool ok = true;
    for (qsizetype i = 0; i < arguments.size() && ok; ++i) {
        const QString& argument = arguments.at(i);
        if (argument == QStringLiteral("--pid") && i + 1 < arguments.size()) {
            options.pid = arguments.at(++i).toLongLong(&ok);
            ok = ok && options.pid > 0;
        } else if (argument == QStringLiteral("--limit") && i + 1 < arguments.size()) {
            options.limit = arguments.at(++i).toInt(&ok);
            ok = ok && options.limit > 0;
        } else if (argument == QStringLiteral("--all")) {
            options.all = true;
        } else if (argument == QStringLiteral("--json")) {
            options.json = true;
        } else if (argument == QStringLiteral("--press")) {
            options.press = true;
        } else if (argument == QStringLiteral("--clear-history")) {
            options.clearHistory = true;
        } else if (argument == QStringLiteral("--")) {
            words += arguments.mid(i + 1);
            break;
        } else if (argument.startsWith(QStringLiteral("--"))) {
            ok = false;
        } else {
            words.append(argument);
        }
    }
    options.query = words.join(u' ').simplified();
    // Clearing the history stands alone: it searches nothing.
    const bool clearAlone = options.clearHistory && arguments.size() == 1;
    if (!ok || (options.clearHistory && !clearAlone) ||
        (!options.clearHistory && options.query.isEmpty()) || (options.all && options.pid > 0)) {
        err << QXLocalized::tr(
                   "usage: trovix search [--all | --pid N] [--json] [--press] [--limit N] QUERY\n"
                   "       trovix search --clear-history")
            << '\n';
        return std::nullopt;
    }
    return options;
}

QString displayPath(const QStringList& path)
{
    QStringList clean;
    for (const QString& title : path) {
        clean.append(SearchText::sanitizedTitle(title));
    }
    return clean.join(PathSeparator);
}

// The name comes from the application and is printed: on one line, without
// control characters.
QString applicationName(const platform::RunningApplication& application)
{
    return SearchText::sanitizedTitle(QXExtensions::localizedNameOrBundleName(application)
                                          .value_or(QXLocalized::tr("(unnamed)")));
}

// Forgets every item pressed through search and says what was done.
int clearSearchHistory(QTextStream& out, QTextStream& err)
{
    const QString path = SearchHistory::defaultPath();
    SearchHistory history(path);
    const bool existed = QFileInfo::exists(path) || QFileInfo(path).isSymLink();
    if (!history.clear()) {
        err << QXLocalized::tr("trovix: cannot remove the search history %1").arg(path) << '\n';
        return 1;
    }
    out << (existed ? QXLocalized::tr("removed the search history %1").arg(path)
                    : QXLocalized::tr("the search history is already empty"))
        << '\n';
    return 0;
}

} // namespace

int runSearchCommand(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    const std::optional<Options> options = parseOptions(arguments, err);
    if (!options) {
        return 2;
    }
    if (options->clearHistory) {
        return clearSearchHistory(out, err);
    }
    if (!prepareMenuCommandAccessibility(err)) {
        return 1;
    }
    const float timeout = QXAccessibilityMessagingTimeout();

    QList<platform::RunningApplication> applications;
    if (options->all) {
        applications = platform::Workspace::current().runningApplications();
    } else {
        const platform::RunningApplication application = menuCommandApplication(options->pid, err);
        if (application.isNull()) {
            return 1;
        }
        applications.append(application);
    }

    QList<Candidate> candidates;
    for (const platform::RunningApplication& application : std::as_const(applications)) {
        const qint64 pid = application.processIdentifier();
        const platform::MenuTree tree = platform::Accessibility::current().menuTree(
            pid, platform::MenuTree::MaximumSearchedItems);
        if (!tree.complete) {
            // Not named: asking an application that hangs would cost another timeout.
            err << QXLocalized::tr(
                       "trovix: the application with pid %1 stopped answering; searching what "
                       "was read")
                       .arg(pid)
                << '\n';
        } else if (tree.source == platform::MenuTree::Source::None && !options->all) {
            if (!reportMissingAccessibilityBridge(pid, applicationName(application), err)) {
                err << QXLocalized::tr("trovix: %1 (pid %2) has no menu bar that can be read")
                           .arg(applicationName(application))
                           .arg(pid)
                    << '\n';
            }
            return 1;
        }
        if (tree.items.isEmpty()) {
            continue;
        }
        const QString name =
            tree.complete ? applicationName(application) : QXLocalized::tr("pid %1").arg(pid);
        const QString source = platform::menuTreeSourceName(tree.source);
        for (const platform::MenuTreeItem& item : tree.items) {
            if (!item.hidden) {
                candidates.append({item, name, pid, source});
            }
        }
    }

    SearchHistory history;
    history.load();
    MenuItemRanking ranking;
    QList<QStringList> paths;
    paths.reserve(candidates.size());
    for (const Candidate& candidate : std::as_const(candidates)) {
        paths.append(candidate.item.path);
    }
    ranking.setItems(paths);
    for (qsizetype i = 0; i < candidates.size(); ++i) {
        ranking.setBoost(i, history.boost(candidates.at(i).application,
                                          displayPath(candidates.at(i).item.path)));
    }
    const QList<MenuItemRanking::Match> matches =
        ranking.rank(options->query, options->press ? candidates.size() : options->limit);
    if (matches.isEmpty()) {
        err << QXLocalized::tr("trovix: no menu item matches \"%1\"").arg(options->query) << '\n';
        return 1;
    }

    if (options->press) {
        const auto best = std::find_if(matches.begin(), matches.end(), [&](const auto& match) {
            return candidates.at(match.index).item.enabled;
        });
        if (best == matches.end()) {
            err << QXLocalized::tr("trovix: every menu item that matches \"%1\" is disabled")
                       .arg(options->query)
                << '\n';
            return 1;
        }
        const Candidate& chosen = candidates.at(best->index);
        const QString path = displayPath(chosen.item.path);
        const std::optional<platform::ActionReply> reply =
            pressForeignItem(chosen.item.element, timeout);
        const platform::RunningApplication application =
            platform::Workspace::current().runningApplication(chosen.pid);
        // No answer is what an item that opened a modal dialog gets from an
        // application that answers nothing else meanwhile: the press was
        // delivered as long as the application still runs.
        const bool running = !application.isNull() && !application.isTerminated();
        if (reply == platform::ActionReply::Done ||
            (reply == platform::ActionReply::NoReply && running)) {
            history.recordPress(chosen.application, path);
            history.save();
            out << QXLocalized::tr("pressed %1").arg(path) << '\n';
            return 0;
        }
        err << (running ? QXLocalized::tr("trovix: %1 could not be pressed").arg(path)
                        : QXLocalized::tr("trovix: %1 could not be pressed: %2 has quit")
                              .arg(path, chosen.application))
            << '\n';
        return 1;
    }

    QJsonArray results;
    for (const MenuItemRanking::Match& match : matches) {
        const Candidate& candidate = candidates.at(match.index);
        const QString key = SearchText::sanitizedTitle(
            QXProxyMenuItem::keyEquivalentDisplayText(candidate.item.element));
        if (options->json) {
            QJsonArray path;
            for (const QString& title : candidate.item.path) {
                path.append(SearchText::sanitizedTitle(title));
            }
            results.append(QJsonObject{{"application", candidate.application},
                                       {"pid", candidate.pid},
                                       {"path", path},
                                       {"key", key},
                                       {"enabled", candidate.item.enabled},
                                       {"mark", SearchText::sanitizedTitle(candidate.item.mark)},
                                       {"score", match.score},
                                       {"source", candidate.source}});
            continue;
        }
        if (options->all) {
            out << candidate.application << ": ";
        }
        out << displayPath(candidate.item.path);
        if (!key.isEmpty()) {
            out << '\t' << key;
        }
        out << '\n';
    }
    if (options->json) {
        out << QJsonDocument(results).toJson(QJsonDocument::Indented);
    }
    return 0;
}
