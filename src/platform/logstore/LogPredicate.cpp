#include "platform/logstore/LogPredicate.h"

#include "platform/logstore/LogEntry.h"

#include <QString>
#include <algorithm>

namespace platform::logstore {

namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

bool isIdentifierStart(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool isIdentifierPart(char c)
{
    return isIdentifierStart(c) || (c >= '0' && c <= '9') || c == '.';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

} // namespace

// Recursive descent over the predicate text:
//   any   := all (("||" | OR) all)*
//   all   := unary (("&&" | AND) unary)*
//   unary := ("!" | NOT) unary | "(" any ")" | key operator literal
class LogPredicateParser
{
public:
    explicit LogPredicateParser(QByteArrayView text) : m_text(text) {}

    std::optional<LogPredicate> run(QString* error)
    {
        const int root = parseAny(0);
        if (m_error.isEmpty()) {
            skipSpace();
            if (m_position < m_text.size()) {
                fail(QStringLiteral("unexpected text"));
            }
        }
        if (!m_error.isEmpty()) {
            if (error) {
                *error = m_error;
            }
            return std::nullopt;
        }
        m_predicate.m_root = root;
        return std::move(m_predicate);
    }

private:
    using Kind = LogPredicate::Kind;

    void fail(const QString& what)
    {
        if (m_error.isEmpty()) {
            m_error = what % QStringLiteral(" at offset ") % QString::number(m_position);
        }
    }

    void skipSpace()
    {
        while (m_position < m_text.size() && isSpace(m_text[m_position])) {
            ++m_position;
        }
    }

    bool atEnd()
    {
        skipSpace();
        return m_position >= m_text.size();
    }

    // Consumes SYMBOL when the text continues with it.
    bool acceptSymbol(QByteArrayView symbol)
    {
        skipSpace();
        if (m_text.sliced(m_position).startsWith(symbol)) {
            m_position += symbol.size();
            return true;
        }
        return false;
    }

    // The identifier at the current position, without consuming it.
    QByteArrayView peekWord()
    {
        skipSpace();
        qsizetype end = m_position;
        if (end < m_text.size() && isIdentifierStart(m_text[end])) {
            ++end;
            while (end < m_text.size() && isIdentifierPart(m_text[end])) {
                ++end;
            }
        }
        return m_text.sliced(m_position, end - m_position);
    }

    bool acceptKeyword(QByteArrayView keyword)
    {
        const QByteArrayView word = peekWord();
        if (!word.isEmpty() && word.compare(keyword, Qt::CaseInsensitive) == 0) {
            m_position += word.size();
            return true;
        }
        return false;
    }

    int addNode(LogPredicate::Node node)
    {
        m_predicate.m_nodes.push_back(std::move(node));
        return int(m_predicate.m_nodes.size()) - 1;
    }

    // Folds a run of operands joined by one operator into a single node, so
    // that long chains never nest deeply.
    int parseChain(int depth, Kind kind, QByteArrayView symbol, QByteArrayView keyword)
    {
        const bool any = kind == Kind::Any;
        const int first = any ? parseChain(depth, Kind::All, "&&", "AND") : parseUnary(depth);
        if (!m_error.isEmpty()) {
            return -1;
        }
        std::vector<int> children{first};
        while (acceptSymbol(symbol) || acceptKeyword(keyword)) {
            children.push_back(any ? parseChain(depth, Kind::All, "&&", "AND") : parseUnary(depth));
            if (!m_error.isEmpty()) {
                return -1;
            }
        }
        if (children.size() == 1) {
            return first;
        }
        LogPredicate::Node node;
        node.kind = kind;
        node.children = std::move(children);
        return addNode(std::move(node));
    }

    int parseAny(int depth) { return parseChain(depth, Kind::Any, "||", "OR"); }

    int parseUnary(int depth)
    {
        if (depth >= LogPredicate::maximumDepth) {
            fail(QStringLiteral("nested more than %1 levels deep").arg(LogPredicate::maximumDepth));
            return -1;
        }
        if (atEnd()) {
            fail(QStringLiteral("unexpected end of predicate"));
            return -1;
        }
        // "!=" never starts an operand, so a leading "!" is always a negation.
        if (acceptSymbol("!") || acceptKeyword("NOT")) {
            const int operand = parseUnary(depth + 1);
            if (!m_error.isEmpty()) {
                return -1;
            }
            LogPredicate::Node node;
            node.kind = Kind::Not;
            node.children = {operand};
            return addNode(std::move(node));
        }
        if (acceptSymbol("(")) {
            const int inner = parseAny(depth + 1);
            if (!m_error.isEmpty()) {
                return -1;
            }
            if (!acceptSymbol(")")) {
                fail(atEnd() ? QStringLiteral("missing \")\"") : QStringLiteral("expected \")\""));
                return -1;
            }
            return inner;
        }
        return parseComparison();
    }

    int parseComparison()
    {
        const QByteArrayView key = peekWord();
        if (key.isEmpty()) {
            fail(QStringLiteral("expected a key, \"(\" or \"!\""));
            return -1;
        }
        m_position += key.size();
        LogPredicate::Node node;
        node.key = key.toByteArray();
        if (acceptSymbol("==") || acceptSymbol("=")) {
            node.kind = Kind::Equal;
        } else if (acceptSymbol("!=") || acceptSymbol("<>")) {
            node.kind = Kind::NotEqual;
        } else if (acceptKeyword("CONTAINS")) {
            node.kind = Kind::Contains;
        } else if (acceptKeyword("BEGINSWITH")) {
            node.kind = Kind::BeginsWith;
        } else if (acceptKeyword("ENDSWITH")) {
            node.kind = Kind::EndsWith;
        } else {
            fail(atEnd()
                     ? QStringLiteral("missing operator after \"%1\"").arg(QString::fromUtf8(key))
                     : QStringLiteral("expected ==, !=, CONTAINS, BEGINSWITH or ENDSWITH"));
            return -1;
        }
        if (!parseLiteral(&node.text)) {
            return -1;
        }
        return addNode(std::move(node));
    }

    bool parseLiteral(QByteArray* literal)
    {
        if (atEnd()) {
            fail(QStringLiteral("missing text to compare with"));
            return false;
        }
        const char first = m_text[m_position];
        if (isDigit(first) ||
            (first == '-' && m_position + 1 < m_text.size() && isDigit(m_text[m_position + 1]))) {
            const qsizetype start = m_position++;
            while (m_position < m_text.size() && isDigit(m_text[m_position])) {
                ++m_position;
            }
            *literal = m_text.sliced(start, m_position - start).toByteArray();
            return true;
        }
        if (first != '"' && first != '\'') {
            fail(QStringLiteral("expected a quoted text"));
            return false;
        }
        const qsizetype start = m_position++;
        while (m_position < m_text.size()) {
            const char c = m_text[m_position++];
            if (c == first) {
                return true;
            }
            if (c != '\\') {
                literal->append(c);
                continue;
            }
            if (m_position >= m_text.size()) {
                break;
            }
            const char escaped = m_text[m_position++];
            switch (escaped) {
            case '"':
            case '\'':
            case '\\':
                literal->append(escaped);
                break;
            case 'n':
                literal->append('\n');
                break;
            case 't':
                literal->append('\t');
                break;
            case 'r':
                literal->append('\r');
                break;
            case 'u':
                if (!parseUnicodeEscape(literal)) {
                    return false;
                }
                break;
            default:
                m_position -= 2;
                fail(QStringLiteral("unknown escape \"\\%1\"").arg(QChar::fromLatin1(escaped)));
                return false;
            }
        }
        m_position = start;
        fail(QStringLiteral("unterminated text"));
        return false;
    }

    // Four hexadecimal digits after "\u"; a surrogate pair is two escapes.
    bool parseUnicodeEscape(QByteArray* literal)
    {
        auto readUnit = [this](char16_t* unit) {
            if (m_position + 4 > m_text.size()) {
                return false;
            }
            int value = 0;
            for (int i = 0; i < 4; ++i) {
                const int digit = hexValue(m_text[m_position + i]);
                if (digit < 0) {
                    return false;
                }
                value = value * 16 + digit;
            }
            m_position += 4;
            *unit = char16_t(value);
            return true;
        };
        const qsizetype escapeStart = m_position - 2;
        char16_t units[2] = {};
        qsizetype count = 1;
        if (!readUnit(&units[0])) {
            m_position = escapeStart;
            fail(QStringLiteral("\"\\u\" needs four hexadecimal digits"));
            return false;
        }
        if (QChar::isHighSurrogate(units[0]) && m_text.sliced(m_position).startsWith("\\u")) {
            m_position += 2;
            if (!readUnit(&units[1]) || !QChar::isLowSurrogate(units[1])) {
                m_position = escapeStart;
                fail(QStringLiteral("unpaired surrogate in \"\\u\" escape"));
                return false;
            }
            count = 2;
        }
        if (QChar::isSurrogate(units[0]) && count == 1) {
            m_position = escapeStart;
            fail(QStringLiteral("unpaired surrogate in \"\\u\" escape"));
            return false;
        }
        literal->append(QStringView(units, count).toUtf8());
        return true;
    }

    QByteArrayView m_text;
    qsizetype m_position = 0;
    QString m_error;
    LogPredicate m_predicate;
};

std::optional<LogPredicate> LogPredicate::parse(QByteArrayView text, QString* error)
{
    return LogPredicateParser(text).run(error);
}

bool LogPredicate::matches(const LogEntry& entry) const
{
    return m_root < 0 || evaluate(m_root, entry);
}

std::vector<QByteArray> LogPredicate::journalFieldsRead() const
{
    std::vector<QByteArray> fields;
    for (const Node& node : m_nodes) {
        const QByteArrayView field = journalFieldOf(node.key);
        if (!node.key.isEmpty() && !field.isEmpty() &&
            std::find(fields.begin(), fields.end(), field) == fields.end()) {
            fields.push_back(field.toByteArray());
        }
    }
    return fields;
}

bool LogPredicate::evaluate(int index, const LogEntry& entry) const
{
    const Node& node = m_nodes[std::size_t(index)];
    switch (node.kind) {
    case Kind::All:
        for (const int child : node.children) {
            if (!evaluate(child, entry)) {
                return false;
            }
        }
        return true;
    case Kind::Any:
        for (const int child : node.children) {
            if (evaluate(child, entry)) {
                return true;
            }
        }
        return false;
    case Kind::Not:
        return !evaluate(node.children.front(), entry);
    case Kind::Equal:
        return entry.value(node.key) == QByteArrayView(node.text);
    case Kind::NotEqual:
        return entry.value(node.key) != QByteArrayView(node.text);
    case Kind::Contains:
        return entry.value(node.key).contains(node.text);
    case Kind::BeginsWith:
        return entry.value(node.key).startsWith(node.text);
    case Kind::EndsWith:
        return entry.value(node.key).endsWith(node.text);
    }
    return false;
}

} // namespace platform::logstore
