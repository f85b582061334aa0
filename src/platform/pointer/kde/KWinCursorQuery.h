#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QPoint>
#include <QSize>
#include <QString>
#include <memory>
#include <optional>

class QEventLoop;
class QTemporaryDir;

namespace platform {

// Where KWin has the pointer: KWin runs a script of one line that reads its
// cursor position and calls back over the session bus with it. KWin knows the
// pointer over every window, Wayland ones included, and answers in a few
// milliseconds; the pointer is never moved.
class KWinCursorQuery : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.quirkworks.Trovix.Cursor")

public:
    explicit KWinCursorQuery(const QDBusConnection& bus = QDBusConnection::sessionBus());
    ~KWinCursorQuery() override;

    // The cursor in KWin's layout (logical) coordinates, and the size of
    // that layout.
    struct Cursor
    {
        QPoint position;
        QSize layout;

        bool operator==(const Cursor&) const = default;
    };

    // Where KWin has the cursor, or nothing when KWin does not answer within
    // timeoutMs; the event loop serves everything but user input meanwhile.
    std::optional<Cursor> cursor(int timeoutMs);
    QString lastFailure() const { return m_failure; }

    // "X Y WIDTH HEIGHT" as the script reports it; nothing for anything else.
    static std::optional<Cursor> parseReport(const QString& text);
    // The cursor in the coordinates of a desktop of the given size: X11
    // clients see KWin's layout as it is, or in device pixels when KWin lets
    // them scale themselves (Xwayland's root is then larger by the scale).
    static QPoint scaledTo(const Cursor& cursor, const QSize& desktop);

public Q_SLOTS:
    // Called by the script.
    Q_SCRIPTABLE void Report(const QString& request, const QString& position);

private:
    bool prepare();
    bool callKWin(const QString& path, const QString& interface, const QString& method,
                  const QVariantList& arguments, int timeoutMs, QVariant* answer = nullptr);
    void unload();

    QDBusConnection m_bus;
    std::unique_ptr<QTemporaryDir> m_folder;
    QString m_scriptPath;
    QString m_pluginName;
    bool m_registered = false;
    // KWin calls a loaded script "/<id>" (older) rather than
    // "/Scripting/Script<id>".
    bool m_oldScriptPaths = false;
    quint64 m_request = 0;
    bool m_answered = false;
    std::optional<Cursor> m_reported;
    QEventLoop* m_waiting = nullptr;
    QString m_failure;
};

} // namespace platform
