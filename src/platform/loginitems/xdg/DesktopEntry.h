#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <optional>

namespace platform {

// The keys of a desktop entry file's "[Desktop Entry]" group, with string
// escapes (\s \n \t \r \\) resolved. Localized keys ("Name[de]") and other
// groups are left out.
class DesktopEntry
{
public:
    // Nothing when the text has no "[Desktop Entry]" group, is not UTF-8 or
    // has a line that is neither a group, a key, a comment nor empty.
    static std::optional<DesktopEntry> parse(const QByteArray& text);

    QString value(const QString& key) const { return m_values.value(key); }
    bool contains(const QString& key) const { return m_values.contains(key); }
    // A boolean key: true only for "true" (the format's only true value).
    bool boolean(const QString& key) const { return value(key) == QLatin1String("true"); }

    // The program the Exec key runs (its first word, unquoted), or an empty
    // string when there is no Exec key or its quoting is broken.
    QString execProgram() const;

    // The Exec value that runs program with no arguments: always quoted, the
    // characters that need it escaped, '%' doubled. Nothing for a program
    // path holding control characters, which no entry can carry safely.
    static std::optional<QString> execValueForProgram(const QString& program);
    // value written as a desktop entry string (backslashes and control
    // characters escaped).
    static QString escapedString(const QString& value);

private:
    QHash<QString, QString> m_values;
};

} // namespace platform
