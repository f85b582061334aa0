#pragma once

#include <QString>
#include <QVariant>
#include <optional>

// A command link of a help page: "x-quirkworks-help://message/<message>" hands
// a message to the help manager's delegate; "x-quirkworks-help://default/<key>#<value>"
// asks to change a setting (key and value percent-encoded UTF-8).
struct QXHelpCommandLink
{
    static const QString Scheme;

    // Longest link text looked at; longer links are refused as malformed.
    static constexpr qsizetype MaximumLength = 4096;

    enum class Kind
    {
        Message,
        Default,
        Malformed
    };

    Kind kind = Kind::Malformed;
    // Message links: the text after "://message/", verbatim (escapes kept).
    QString message;
    // Default links: the decoded key and the new value; no value means the
    // setting is to be removed.
    QString key;
    std::optional<QVariant> value;
    // Malformed links: what is wrong, for the log.
    QString problem;

    // Reads a link from its absolute string. Keywords are found without
    // regard to letter case. A value "yes"/"true"/"no"/"false" is a boolean,
    // one containing "integer:" or "double:" a number read from the text after
    // it (0 when it holds no number; the raw text when nothing follows),
    // anything else a string; an empty value removes the setting.
    static QXHelpCommandLink parse(const QString& absoluteString);

    // Decodes %XX escapes as UTF-8; none for a stray "%", a bad hex digit or
    // bytes that are not UTF-8.
    static std::optional<QString> percentDecoded(const QString& text);

    // A value as the alerts show it: "(No Value)" for none, "Yes"/"No" for
    // booleans, else its text.
    static QString describeValue(const std::optional<QVariant>& value);
};
