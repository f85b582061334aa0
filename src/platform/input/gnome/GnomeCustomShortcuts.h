#pragma once

#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QQueue>
#include <QTimer>
#include <functional>
#include <optional>

namespace platform {

// Trovix's own custom shortcuts in GNOME's keyboard settings, written and
// removed with the gsettings tool: one relocatable custom-keybinding per slot
// at .../custom-keybindings/<slot>/, and its path in the list of custom
// shortcuts. The user's other custom shortcuts are never touched: the list is
// read, one entry added or removed, and written back only when it was read as
// a plain list. gsettings runs asynchronously, one call at a time in the
// order asked, each bounded by a timeout; nothing waits for it.
class GnomeCustomShortcuts : public QObject
{
    Q_OBJECT

public:
    explicit GnomeCustomShortcuts(QObject* parent = nullptr,
                                  const QString& program = QStringLiteral("gsettings"));
    ~GnomeCustomShortcuts() override;

    // The settings path of a slot's shortcut.
    static QString pathForSlot(const QString& slot);

    // Binds the accelerator (GNOME's text, "<Super>m") to the command line
    // under the name, in the slot; an existing shortcut of the slot changes.
    void set(const QString& slot, const QString& name, const QString& command,
             const QString& accelerator);
    // Removes the slot's shortcut and its entry in the list.
    void remove(const QString& slot);

    // Whether every call asked for has ended.
    bool isIdle() const;

    // How long one gsettings call may take before it is ended.
    static constexpr int timeoutMilliseconds = 5000;

Q_SIGNALS:
    // Every call asked for has ended.
    void idle();

private:
    // One gsettings call; its arguments come from the output of the call
    // before it, or nothing to leave it out.
    using Step = std::function<std::optional<QStringList>(const QString& previousOutput)>;

    void enqueue(const Step& step);
    void enqueue(const QStringList& arguments);
    void enqueueListEdit(const std::function<QStringList(const QStringList&)>& edit);
    void runNext();
    void finish(const QString& output);

    QString m_program;
    QQueue<Step> m_steps;
    QPointer<QProcess> m_process;
    QTimer m_timeout;
    QString m_lastOutput;
};

} // namespace platform
