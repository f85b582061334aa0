#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace platform {

// What one installed desktop entry (.desktop file) tells about the
// application it starts: the keys of its [Desktop Entry] group that name and
// identify it.
struct DesktopEntry
{
    // The desktop file id: the path below the applications folder with "/"
    // turned into "-" and without ".desktop" (org.example.Editor).
    QString id;
    // Name, localized for the current locale where the entry translates it.
    QString name;
    // The file name of the program that Exec starts (after an "env" that
    // sets variables for it).
    QString program;
    // Exec passes the program nothing but field codes (%f, %U ...): the
    // entry starts the application itself rather than one of its modes.
    bool plainCommand = false;
    QString startupWindowClass;
    bool noDisplay = false;
    // Hidden=true: the entry counts as deleted, also in later folders.
    bool hidden = false;

    // The entry in a file, or nothing when the file cannot be read, is too
    // large for a desktop entry, has no [Desktop Entry] group or names no
    // application. A Hidden entry is returned, with hidden set, whatever
    // else it lacks.
    static std::optional<DesktopEntry> read(const QString& path, const QString& id);

    // The same for the contents of such a file.
    static std::optional<DesktopEntry> fromContents(const QByteArray& contents, const QString& id);
};

} // namespace platform
