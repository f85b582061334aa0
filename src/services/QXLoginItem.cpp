#include "services/QXLoginItem.h"

#include "platform/bundle/Bundle.h"
#include "platform/log/SystemLog.h"
#include "platform/loginitems/LoginItems.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace QXLoginItem {

namespace {

using platform::LoginItem;
using platform::LoginItems;

bool isHelperEnabled(LoginItems& loginItems)
{
    if (!loginItems.hasHelper()) {
        return false;
    }
    const std::optional<bool> enabled = loginItems.isHelperEnabled();
    if (!enabled) {
        platform::systemLog(QStringLiteral("[QXLoginItem] cannot access launch jobs"));
        return false;
    }
    return *enabled;
}

// Paths of the list are compared exactly: two names that differ only in case
// are two different files here.
bool isListed(LoginItems& loginItems, const QString& path)
{
    const std::optional<QList<LoginItem>> items = loginItems.snapshot();
    if (!items) {
        platform::systemLog(QStringLiteral(
            "[QXLoginItem] cannot access login items while determining login item status"));
        return false;
    }
    for (const LoginItem& item : *items) {
        if (item.path.isEmpty()) {
            platform::systemLog(QStringLiteral(
                "[QXLoginItem] cannot resolve login item while determining login item status"));
            continue;
        }
        if (item.path == path) {
            return true;
        }
    }
    return false;
}

QString lastPathComponent(const QString& path)
{
    return QFileInfo(path).fileName();
}

bool setListed(LoginItems& loginItems, const QString& path, bool on)
{
    const QString applicationName = lastPathComponent(path).toLower();
    bool found = false;
    bool ownEntryStays = false;
    const std::optional<QList<LoginItem>> items = loginItems.snapshot();
    if (!items) {
        platform::systemLog(QStringLiteral("[QXLoginItem] cannot access login items"));
    }
    for (const LoginItem& item : items.value_or(QList<LoginItem>())) {
        if (item.path.isEmpty()) {
            continue;
        }
        const bool samePath = item.path == path;
        if (samePath && on) {
            found = true;
            continue;
        }
        // The entry itself when switching off, and entries of other copies
        // of the program always.
        if (!samePath && lastPathComponent(item.path).toLower() != applicationName) {
            continue;
        }
        if (!loginItems.remove(item)) {
            platform::systemLog(
                QStringLiteral("[QXLoginItem] cannot remove login item: %1").arg(item.path));
            ownEntryStays = ownEntryStays || samePath;
            continue;
        }
        found = found || samePath;
    }
    if (!on) {
        // Off also holds when there was no entry to remove.
        return items.has_value() && !ownEntryStays;
    }
    if (found) {
        return true;
    }
    if (!loginItems.insert(path)) {
        platform::systemLog(QStringLiteral("[QXLoginItem] cannot insert login item"));
        return false;
    }
    return true;
}

} // namespace

QString helperIdentifier()
{
    static const QString identifier =
        platform::Bundle::main().bundleIdentifier() + QStringLiteral(".LoginItemHelper");
    return identifier;
}

QString applicationPath()
{
    const QString path = QCoreApplication::applicationFilePath();
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
}

State loginItemState()
{
    LoginItems& loginItems = LoginItems::current();
    const bool helper = loginItems.hasHelper();
    const bool helperEnabled = helper && isHelperEnabled(loginItems);
    State state;
    state.on = helperEnabled || isListed(loginItems, applicationPath());
    if (state.on) {
        state.changeable = helperEnabled || !helper;
    } else {
        state.changeable = !helper || loginItems.canEnableHelper();
    }
    return state;
}

bool setLoginItemEnabled(bool on)
{
    LoginItems& loginItems = LoginItems::current();
    if (loginItems.hasHelper()) {
        if (isHelperEnabled(loginItems) == on) {
            return true;
        }
        if (!loginItems.setHelperEnabled(on)) {
            platform::systemLog(QStringLiteral("[QXLoginItem] cannot %1 login item: %2")
                                    .arg(on ? QStringLiteral("add") : QStringLiteral("remove"),
                                         helperIdentifier()));
            return false;
        }
        return true;
    }
    return setListed(loginItems, applicationPath(), on);
}

QString failureReason()
{
    const QString reason = LoginItems::current().lastError();
    return reason.isEmpty()
               ? QCoreApplication::translate("Trovix",
                                             "The desktop's list of programs started at login "
                                             "could not be changed.")
               : reason;
}

} // namespace QXLoginItem
