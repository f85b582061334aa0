#include "platform/pointer/kde/KWinCursorQuery.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace platform {
namespace {

const QString kwinService = QStringLiteral("org.kde.KWin");
const QString scriptingInterface = QStringLiteral("org.kde.kwin.Scripting");
const QString scriptInterface = QStringLiteral("org.kde.kwin.Script");
const QString replyPath = QStringLiteral("/com/quirkworks/Trovix/Cursor");
// No layout is this large: a report beyond it is garbage.
constexpr double ReportLimit = 1 << 24;

} // namespace

KWinCursorQuery::KWinCursorQuery(const QDBusConnection& bus)
    : m_bus(bus),
      m_pluginName(QStringLiteral("trovix-cursor-%1").arg(QCoreApplication::applicationPid()))
{}

KWinCursorQuery::~KWinCursorQuery()
{
    if (m_registered) {
        m_bus.unregisterObject(replyPath);
    }
}

std::optional<KWinCursorQuery::Cursor> KWinCursorQuery::parseReport(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char(' '));
    if (parts.size() != 4) {
        return std::nullopt;
    }
    // KWin's script engine may write a coordinate as a fraction.
    int numbers[4] = {};
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        const double value = parts.at(i).toDouble(&ok);
        if (!ok || !(std::abs(value) < ReportLimit)) {
            return std::nullopt;
        }
        numbers[i] = static_cast<int>(std::lround(value));
    }
    if (numbers[2] <= 0 || numbers[3] <= 0) {
        return std::nullopt;
    }
    return Cursor{QPoint(numbers[0], numbers[1]), QSize(numbers[2], numbers[3])};
}

QPoint KWinCursorQuery::scaledTo(const Cursor& cursor, const QSize& desktop)
{
    if (!desktop.isValid() || desktop.isEmpty() || desktop == cursor.layout) {
        return cursor.position;
    }
    // Kept within the bounds a report may have, whatever the sizes.
    const auto scaled = [](int value, int to, int from) {
        const double result = std::clamp(double(value) * to / from, -ReportLimit, ReportLimit);
        return static_cast<int>(std::lround(result));
    };
    return QPoint(scaled(cursor.position.x(), desktop.width(), cursor.layout.width()),
                  scaled(cursor.position.y(), desktop.height(), cursor.layout.height()));
}

void KWinCursorQuery::Report(const QString& request, const QString& position)
{
    if (request != QString::number(m_request) || m_answered) {
        return;
    }
    m_answered = true;
    m_reported = parseReport(position);
    if (!m_reported) {
        m_failure = QStringLiteral("KWin reported the cursor as \"%1\"").arg(position.left(40));
    }
    if (m_waiting) {
        m_waiting->quit();
    }
}

bool KWinCursorQuery::prepare()
{
    if (!m_bus.isConnected()) {
        m_failure = QStringLiteral("no session bus");
        return false;
    }
    if (!m_registered) {
        m_registered =
            m_bus.registerObject(replyPath, this, QDBusConnection::ExportScriptableSlots);
        if (!m_registered) {
            m_failure = QStringLiteral("cannot take the bus path %1").arg(replyPath);
            return false;
        }
    }
    if (!m_folder) {
        // KWin reads the script as the same user: a private folder in the
        // runtime directory serves, and goes with the object.
        const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
        m_folder = std::make_unique<QTemporaryDir>(runtime + QStringLiteral("/trovix-XXXXXX"));
        if (!m_folder->isValid()) {
            m_failure = QStringLiteral("cannot make a folder for KWin's script");
            m_folder.reset();
            return false;
        }
    }
    // The request's number goes along, so that a late answer to an earlier
    // request is not taken for this one's.
    QFile script(m_folder->filePath(QStringLiteral("cursor.js")));
    const QByteArray text =
        QStringLiteral("callDBus(\"%1\", \"%2\", \"com.quirkworks.Trovix.Cursor\", \"Report\", "
                       "\"%3\", workspace.cursorPos.x + \" \" + workspace.cursorPos.y + \" \" + "
                       "workspace.virtualScreenSize.width + \" \" + "
                       "workspace.virtualScreenSize.height);\n")
            .arg(m_bus.baseService(), replyPath, QString::number(m_request))
            .toUtf8();
    if (!script.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        script.write(text) != text.size()) {
        m_failure = QStringLiteral("cannot write KWin's script");
        return false;
    }
    m_scriptPath = script.fileName();
    return true;
}

bool KWinCursorQuery::callKWin(const QString& path, const QString& interface, const QString& method,
                               const QVariantList& arguments, int timeoutMs, QVariant* answer)
{
    QDBusMessage call = QDBusMessage::createMethodCall(kwinService, path, interface, method);
    call.setArguments(arguments);
    const QDBusMessage reply = m_bus.call(call, QDBus::Block, std::max(timeoutMs, 1));
    if (reply.type() != QDBusMessage::ReplyMessage) {
        m_failure = QStringLiteral("KWin did not run the script (%1: %2)")
                        .arg(method, reply.errorMessage().left(120));
        return false;
    }
    if (answer != nullptr) {
        *answer = reply.arguments().value(0);
    }
    return true;
}

void KWinCursorQuery::unload()
{
    // Not waited for: the next request comes after it on the same connection.
    QDBusMessage call =
        QDBusMessage::createMethodCall(kwinService, QStringLiteral("/Scripting"),
                                       scriptingInterface, QStringLiteral("unloadScript"));
    call.setArguments({m_pluginName});
    m_bus.send(call);
}

std::optional<KWinCursorQuery::Cursor> KWinCursorQuery::cursor(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    m_failure.clear();
    m_reported.reset();
    m_answered = false;
    ++m_request;
    if (!prepare()) {
        return std::nullopt;
    }
    const auto remaining = [&deadline] { return static_cast<int>(deadline.remainingTime()); };
    QVariant id;
    if (!callKWin(QStringLiteral("/Scripting"), scriptingInterface, QStringLiteral("loadScript"),
                  {m_scriptPath, m_pluginName}, remaining(), &id)) {
        return std::nullopt;
    }
    bool numbered = false;
    const int scriptId = id.toInt(&numbered);
    if (!numbered || scriptId < 0) {
        // A script of that name left loaded (its unloading lost): gone now,
        // asked next time.
        unload();
        m_failure = QStringLiteral("KWin did not load the script");
        return std::nullopt;
    }
    // Newer KWin calls the script "/Scripting/Script<id>", older "/<id>":
    // the one that worked last is tried first.
    QStringList paths{QStringLiteral("/Scripting/Script%1").arg(scriptId),
                      QStringLiteral("/%1").arg(scriptId)};
    if (m_oldScriptPaths) {
        paths.swapItemsAt(0, 1);
    }
    bool ran = false;
    for (const QString& path : std::as_const(paths)) {
        if (callKWin(path, scriptInterface, QStringLiteral("run"), {}, remaining())) {
            m_oldScriptPaths = !path.startsWith(QLatin1String("/Scripting/"));
            ran = true;
            break;
        }
        if (deadline.hasExpired()) {
            break;
        }
    }
    if (ran && !m_answered && !deadline.hasExpired()) {
        QEventLoop loop;
        QTimer::singleShot(remaining(), &loop, &QEventLoop::quit);
        m_waiting = &loop;
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        m_waiting = nullptr;
        if (!m_answered) {
            m_failure = QStringLiteral("KWin ran the script but did not call back within %1 ms")
                            .arg(timeoutMs);
        }
    }
    unload();
    return m_reported;
}

} // namespace platform
