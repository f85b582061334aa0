#include "platform/input/gnome/GnomeCustomShortcuts.h"

#include "platform/input/gnome/GnomeShortcutList.h"
#include "platform/log/SystemLog.h"

namespace platform {
namespace {

const QString listSchema = QStringLiteral("org.gnome.settings-daemon.plugins.media-keys");
const QString listKey = QStringLiteral("custom-keybindings");
const QString shortcutSchema =
    QStringLiteral("org.gnome.settings-daemon.plugins.media-keys.custom-keybinding");
const QString listPath =
    QStringLiteral("/org/gnome/settings-daemon/plugins/media-keys/custom-keybindings/");

QString relocated(const QString& slot)
{
    return shortcutSchema + u':' + GnomeCustomShortcuts::pathForSlot(slot);
}

} // namespace

GnomeCustomShortcuts::GnomeCustomShortcuts(QObject* parent, const QString& program)
    : QObject(parent), m_program(program)
{
    m_timeout.setSingleShot(true);
    m_timeout.setInterval(timeoutMilliseconds);
    connect(&m_timeout, &QTimer::timeout, this, [this] {
        if (m_process) {
            systemLog(QStringLiteral("gsettings did not answer in time; the call was ended"));
            m_process->kill();
        }
    });
}

GnomeCustomShortcuts::~GnomeCustomShortcuts()
{
    if (m_process) {
        // The process is a child: its destruction ends it.
        m_process->disconnect(this);
    }
}

QString GnomeCustomShortcuts::pathForSlot(const QString& slot)
{
    return listPath + slot + u'/';
}

void GnomeCustomShortcuts::set(const QString& slot, const QString& name, const QString& command,
                               const QString& accelerator)
{
    // The shortcut first, then its entry: GNOME never sees an entry with
    // half a shortcut behind it.
    using GnomeShortcutList::quoted;
    enqueue({QStringLiteral("set"), relocated(slot), QStringLiteral("name"), quoted(name)});
    enqueue({QStringLiteral("set"), relocated(slot), QStringLiteral("command"), quoted(command)});
    enqueue(
        {QStringLiteral("set"), relocated(slot), QStringLiteral("binding"), quoted(accelerator)});
    const QString path = pathForSlot(slot);
    enqueueListEdit(
        [path](const QStringList& paths) { return GnomeShortcutList::withPath(paths, path); });
}

void GnomeCustomShortcuts::remove(const QString& slot)
{
    const QString path = pathForSlot(slot);
    enqueueListEdit(
        [path](const QStringList& paths) { return GnomeShortcutList::withoutPath(paths, path); });
    for (const char* key : {"name", "command", "binding"}) {
        enqueue({QStringLiteral("reset"), relocated(slot), QLatin1String(key)});
    }
}

bool GnomeCustomShortcuts::isIdle() const
{
    return !m_process && m_steps.isEmpty();
}

void GnomeCustomShortcuts::enqueue(const QStringList& arguments)
{
    enqueue([arguments](const QString&) { return arguments; });
}

void GnomeCustomShortcuts::enqueueListEdit(
    const std::function<QStringList(const QStringList&)>& edit)
{
    enqueue({QStringLiteral("get"), listSchema, listKey});
    enqueue([edit](const QString& output) -> std::optional<QStringList> {
        const std::optional<QStringList> paths = GnomeShortcutList::parse(output);
        if (!paths) {
            systemLog(QStringLiteral("GNOME's list of custom shortcuts could not be read; it "
                                     "was left as it is"));
            return std::nullopt;
        }
        const QStringList edited = edit(*paths);
        if (edited == *paths) {
            return std::nullopt;
        }
        return QStringList{QStringLiteral("set"), listSchema, listKey,
                           GnomeShortcutList::format(edited)};
    });
}

void GnomeCustomShortcuts::enqueue(const Step& step)
{
    m_steps.enqueue(step);
    if (!m_process) {
        runNext();
    }
}

void GnomeCustomShortcuts::runNext()
{
    while (!m_steps.isEmpty()) {
        const std::optional<QStringList> arguments = m_steps.dequeue()(m_lastOutput);
        m_lastOutput.clear();
        if (!arguments) {
            continue;
        }
        auto* process = new QProcess(this);
        m_process = process;
        process->setProgram(m_program);
        process->setArguments(*arguments);
        process->setProcessChannelMode(QProcess::SeparateChannels);
        connect(process, &QProcess::finished, this,
                [this, process](int exitCode, QProcess::ExitStatus status) {
                    const QString output = QString::fromUtf8(process->readAllStandardOutput());
                    if (status != QProcess::NormalExit || exitCode != 0) {
                        systemLog(QStringLiteral("gsettings %1 failed: %2")
                                      .arg(process->arguments().join(u' '),
                                           QString::fromUtf8(process->readAllStandardError())
                                               .trimmed()
                                               .left(500)));
                        finish(QString());
                    } else {
                        finish(output);
                    }
                });
        connect(process, &QProcess::errorOccurred, this,
                [this, process](QProcess::ProcessError error) {
                    if (error == QProcess::FailedToStart) {
                        systemLog(QStringLiteral("gsettings could not be started: %1")
                                      .arg(process->errorString()));
                        finish(QString());
                    }
                });
        m_timeout.start();
        process->start();
        return;
    }
    Q_EMIT idle();
}

void GnomeCustomShortcuts::finish(const QString& output)
{
    m_timeout.stop();
    if (m_process) {
        m_process->deleteLater();
        m_process = nullptr;
    }
    m_lastOutput = output;
    runNext();
}

} // namespace platform
