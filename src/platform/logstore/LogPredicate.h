#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>
#include <vector>

namespace platform::logstore {

class LogEntry;

// A filter over log entries, written in the small predicate language the log
// reader sends:
//
//   key == "text"   key != "text"   key CONTAINS "text"
//   key BEGINSWITH "text"   key ENDSWITH "text"
//   a && b   a || b   !a   (a)      (AND, OR, NOT also spelled out)
//
// Keys are reported names ("eventMessage", "subsystem", ...) or journal field
// names ("_SYSTEMD_UNIT"); a key the entry lacks compares as an empty string.
// Texts are double- or single-quoted with backslash escapes (\" \' \\ \n \t \r
// \uXXXX); a plain number may stand unquoted and compares as its digits.
// Keywords are case-insensitive; comparisons are exact, byte for byte.
// The text is parsed into a tree once and evaluated per entry.
class LogPredicate
{
public:
    // The parsed predicate, or nothing with a message in ERROR saying what is
    // wrong and where.
    static std::optional<LogPredicate> parse(QByteArrayView text, QString* error);

    bool matches(const LogEntry& entry) const;

    // The journal fields the predicate reads, each once: an entry holding
    // just these is judged as the whole entry would be.
    std::vector<QByteArray> journalFieldsRead() const;

    // Parentheses and negations nest at most this deep; deeper input is
    // refused rather than risking the stack.
    static constexpr int maximumDepth = 100;

private:
    friend class LogPredicateParser;

    enum class Kind
    {
        Equal,
        NotEqual,
        Contains,
        BeginsWith,
        EndsWith,
        All, // every child matches
        Any, // some child matches
        Not,
    };

    struct Node
    {
        Kind kind = Kind::All;
        QByteArray key;
        QByteArray text;
        std::vector<int> children;
    };

    bool evaluate(int node, const LogEntry& entry) const;

    std::vector<Node> m_nodes;
    int m_root = -1;
};

} // namespace platform::logstore
