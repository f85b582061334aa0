#include "platform/input/gnome/GnomeShortcutList.h"

namespace platform::GnomeShortcutList {
namespace {

// No settings value of this list comes near this size.
constexpr qsizetype longestText = 1 << 20;

void skipSpaces(const QString& text, qsizetype& position)
{
    while (position < text.size() && text.at(position).isSpace()) {
        ++position;
    }
}

// A string literal in single or double quotes starting at position, with the
// escapes GLib writes (\\, \', \" and the control-character letters).
std::optional<QString> readString(const QString& text, qsizetype& position)
{
    const QChar quote = text.at(position);
    QString value;
    for (++position; position < text.size(); ++position) {
        QChar c = text.at(position);
        if (c == quote) {
            ++position;
            return value;
        }
        if (c == u'\\') {
            if (++position >= text.size()) {
                return std::nullopt;
            }
            c = text.at(position);
            switch (c.unicode()) {
            case u'n':
                c = u'\n';
                break;
            case u't':
                c = u'\t';
                break;
            case u'\\':
            case u'\'':
            case u'"':
                break;
            default:
                // \u, \x and the rest never occur in a path: not a list we
                // understand.
                return std::nullopt;
            }
        }
        value.append(c);
    }
    return std::nullopt;
}

} // namespace

std::optional<QStringList> parse(const QString& input)
{
    if (input.size() > longestText) {
        return std::nullopt;
    }
    QString text = input.trimmed();
    if (text.startsWith(QLatin1String("@as"))) {
        text = text.mid(3).trimmed();
    }
    qsizetype position = 0;
    if (text.isEmpty() || text.at(0) != u'[') {
        return std::nullopt;
    }
    ++position;
    QStringList paths;
    skipSpaces(text, position);
    if (position < text.size() && text.at(position) == u']') {
        ++position;
    } else {
        for (;;) {
            skipSpaces(text, position);
            if (position >= text.size() ||
                (text.at(position) != u'\'' && text.at(position) != u'"')) {
                return std::nullopt;
            }
            const std::optional<QString> value = readString(text, position);
            if (!value) {
                return std::nullopt;
            }
            paths.append(*value);
            skipSpaces(text, position);
            if (position >= text.size()) {
                return std::nullopt;
            }
            if (text.at(position) == u']') {
                ++position;
                break;
            }
            if (text.at(position) != u',') {
                return std::nullopt;
            }
            ++position;
        }
    }
    skipSpaces(text, position);
    if (position != text.size()) {
        return std::nullopt;
    }
    return paths;
}

QString quoted(const QString& text)
{
    QString result = QStringLiteral("'");
    for (const QChar c : text) {
        if (c == u'\\' || c == u'\'') {
            result.append(u'\\');
        }
        if (c == u'\n') {
            result.append(QLatin1String("\\n"));
        } else if (c == u'\t') {
            result.append(QLatin1String("\\t"));
        } else {
            result.append(c);
        }
    }
    result.append(u'\'');
    return result;
}

QString format(const QStringList& paths)
{
    if (paths.isEmpty()) {
        return QStringLiteral("@as []");
    }
    QStringList items;
    for (const QString& path : paths) {
        items.append(quoted(path));
    }
    return u'[' + items.join(QLatin1String(", ")) + u']';
}

QStringList withPath(QStringList paths, const QString& path)
{
    if (!paths.contains(path)) {
        paths.append(path);
    }
    return paths;
}

QStringList withoutPath(QStringList paths, const QString& path)
{
    paths.removeAll(path);
    return paths;
}

} // namespace platform::GnomeShortcutList
