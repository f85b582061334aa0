#include "platform/loginitems/xdg/DesktopEntry.h"

#include <QStringDecoder>
#include <QStringList>

namespace platform {

namespace {

QString unescapedString(QStringView raw)
{
    QString value;
    value.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw.at(i);
        if (c != u'\\' || i + 1 == raw.size()) {
            value.append(c);
            continue;
        }
        const QChar next = raw.at(++i);
        switch (next.unicode()) {
        case 's':
            value.append(u' ');
            break;
        case 'n':
            value.append(u'\n');
            break;
        case 't':
            value.append(u'\t');
            break;
        case 'r':
            value.append(u'\r');
            break;
        default:
            // "\\" is one backslash; any other pair is kept whole, so that
            // the Exec quoting below still sees a loosely written "\"".
            if (next != u'\\') {
                value.append(u'\\');
            }
            value.append(next);
            break;
        }
    }
    return value;
}

bool hasControlCharacter(const QString& text)
{
    for (QChar c : text) {
        if (c.category() == QChar::Other_Control) {
            return true;
        }
    }
    return false;
}

} // namespace

std::optional<DesktopEntry> DesktopEntry::parse(const QByteArray& text)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString decoded = decoder.decode(text);
    if (decoder.hasError()) {
        return std::nullopt;
    }
    DesktopEntry entry;
    bool inMainGroup = false;
    bool sawMainGroup = false;
    const QStringList lines = decoded.split(u'\n');
    for (QString line : lines) {
        if (line.endsWith(u'\r')) {
            line.chop(1);
        }
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u'#')) {
            continue;
        }
        if (trimmed.startsWith(u'[')) {
            if (!trimmed.endsWith(u']')) {
                return std::nullopt;
            }
            const bool isMain = trimmed == QLatin1String("[Desktop Entry]");
            // A second main group makes the file ambiguous.
            if (isMain && sawMainGroup) {
                return std::nullopt;
            }
            inMainGroup = isMain;
            sawMainGroup = sawMainGroup || isMain;
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (equals <= 0) {
            return std::nullopt;
        }
        if (!inMainGroup) {
            continue;
        }
        const QString key = line.left(equals).trimmed();
        if (key.contains(u'[')) {
            continue;
        }
        // The first occurrence of a key counts.
        if (!entry.m_values.contains(key)) {
            entry.m_values.insert(key,
                                  unescapedString(QStringView(line).mid(equals + 1).trimmed()));
        }
    }
    if (!sawMainGroup) {
        return std::nullopt;
    }
    return entry;
}

QString DesktopEntry::execProgram() const
{
    const QString exec = value(QStringLiteral("Exec")).trimmed();
    QString program;
    if (exec.startsWith(u'"')) {
        qsizetype i = 1;
        for (; i < exec.size(); ++i) {
            const QChar c = exec.at(i);
            if (c == u'"') {
                break;
            }
            if (c == u'\\' && i + 1 < exec.size()) {
                ++i;
            }
            program.append(exec.at(i));
        }
        if (i >= exec.size()) {
            return {};
        }
    } else {
        program = exec.section(u' ', 0, 0, QString::SectionSkipEmpty);
        program = program.section(u'\t', 0, 0);
    }
    program.replace(QLatin1String("%%"), QLatin1String("%"));
    return program;
}

std::optional<QString> DesktopEntry::execValueForProgram(const QString& program)
{
    if (program.isEmpty() || hasControlCharacter(program)) {
        return std::nullopt;
    }
    QString quoted = QStringLiteral("\"");
    for (QChar c : program) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\') {
            quoted.append(u'\\');
        }
        if (c == u'%') {
            quoted.append(u'%');
        }
        quoted.append(c);
    }
    quoted.append(u'"');
    return quoted;
}

QString DesktopEntry::escapedString(const QString& value)
{
    QString escaped;
    escaped.reserve(value.size());
    for (QChar c : value) {
        switch (c.unicode()) {
        case '\\':
            escaped.append(QLatin1String("\\\\"));
            break;
        case '\n':
            escaped.append(QLatin1String("\\n"));
            break;
        case '\t':
            escaped.append(QLatin1String("\\t"));
            break;
        case '\r':
            escaped.append(QLatin1String("\\r"));
            break;
        default:
            escaped.append(c);
            break;
        }
    }
    return escaped;
}

} // namespace platform
