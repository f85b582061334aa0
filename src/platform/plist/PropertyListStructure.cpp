#include "platform/plist/PropertyListStructure.h"

#include <QByteArrayView>
#include <QList>
#include <algorithm>

namespace platform::plist {
namespace {

QString tooDeep()
{
    return QStringLiteral("nested deeper than %1 levels").arg(MaximumNesting);
}

// XML ------------------------------------------------------------------------

// Tags are found the way the parser finds them: a name runs from "<" to white
// space, "<" or ">"; comments, CDATA sections, processing instructions and
// the document type are skipped whole. A stray closing tag can only make the
// count lower than the parser's when the parser rejects the data anyway.
std::optional<QString> xmlProblem(QByteArrayView data)
{
    const auto skipPast = [&data](qsizetype from, QByteArrayView marker) -> qsizetype {
        const qsizetype at = data.indexOf(marker, from);
        return at < 0 ? data.size() : at + marker.size();
    };
    const auto nameEnd = [&data](qsizetype from) {
        qsizetype i = from;
        while (i < data.size()) {
            const char c = data.at(i);
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '<' || c == '>') {
                break;
            }
            ++i;
        }
        return i;
    };

    int depth = 0;
    qsizetype i = 0;
    while ((i = data.indexOf('<', i)) >= 0) {
        ++i;
        const QByteArrayView rest = data.sliced(i);
        if (rest.startsWith("!--")) {
            i = skipPast(i + 3, "-->");
            continue;
        }
        if (rest.startsWith("![CDATA[")) {
            i = skipPast(i + 8, "]]>");
            continue;
        }
        if (rest.startsWith("?")) {
            i = skipPast(i + 1, "?>");
            continue;
        }
        if (rest.startsWith("!")) {
            qsizetype j = i;
            while (j < data.size() && data.at(j) != '[' && data.at(j) != '>') {
                ++j;
            }
            i = j < data.size() && data.at(j) == '[' ? skipPast(j, "]>") : j;
            continue;
        }
        const qsizetype end = nameEnd(i);
        QByteArrayView name = data.sliced(i, end - i);
        const bool closing = name.startsWith('/');
        if (closing) {
            name = name.sliced(1);
        }
        if (name.endsWith('/')) {
            name.chop(1); // "<array/>": empty, never a level
            i = end;
            continue;
        }
        if (name != "array" && name != "dict") {
            i = end;
            continue;
        }
        if (closing) {
            depth = std::max(0, depth - 1);
            i = end;
            continue;
        }
        // Attributes may follow the name; the tag ends at the next ">" (or
        // is broken at a "<"), and "/>" makes it empty.
        qsizetype close = end;
        while (close < data.size() && data.at(close) != '>' && data.at(close) != '<') {
            ++close;
        }
        if (close >= data.size()) {
            break;
        }
        const bool empty = data.at(close) == '>' && data.at(close - 1) == '/';
        if (!empty && ++depth > MaximumNesting) {
            return tooDeep();
        }
        i = close;
    }
    return std::nullopt;
}

// Binary -----------------------------------------------------------------------

// A big-endian unsigned number of 1 to 8 bytes.
quint64 bigEndian(QByteArrayView bytes)
{
    quint64 value = 0;
    for (const char byte : bytes) {
        value = (value << 8) | static_cast<quint8>(byte);
    }
    return value;
}

// The object table of a binary list, as its trailer describes it.
class BinaryObjects
{
public:
    explicit BinaryObjects(QByteArrayView data) : m_data(data) {}

    // Reads the trailer and the offset table; false when they do not fit the
    // data (the parser refuses such data too).
    bool open()
    {
        constexpr qsizetype headerSize = 8;
        constexpr qsizetype trailerSize = 32;
        if (m_data.size() < headerSize + trailerSize) {
            return false;
        }
        const QByteArrayView trailer = m_data.last(trailerSize);
        m_offsetSize = static_cast<quint8>(trailer.at(6));
        m_refSize = static_cast<quint8>(trailer.at(7));
        m_count = bigEndian(trailer.sliced(8, 8));
        m_root = bigEndian(trailer.sliced(16, 8));
        const quint64 tableStart = bigEndian(trailer.sliced(24, 8));
        const quint64 tableLimit = static_cast<quint64>(m_data.size() - trailerSize);
        if (m_offsetSize < 1 || m_offsetSize > 8 || m_refSize < 1 || m_refSize > 8 ||
            m_count == 0 || m_root >= m_count || tableStart < headerSize ||
            tableStart > tableLimit || m_count > (tableLimit - tableStart) / m_offsetSize) {
            return false;
        }
        m_tableStart = static_cast<qsizetype>(tableStart);
        return true;
    }

    quint64 count() const { return m_count; }
    quint64 root() const { return m_root; }

    // The objects an object refers to (a container's members, a dictionary's
    // keys too); nothing for other objects. False when the object or its
    // references do not fit the data.
    bool references(quint64 object, QList<quint64>* found) const
    {
        found->clear();
        const quint64 offset = bigEndian(m_data.sliced(
            m_tableStart + static_cast<qsizetype>(object * m_offsetSize), m_offsetSize));
        if (offset < 8 || offset >= static_cast<quint64>(m_tableStart)) {
            return false;
        }
        qsizetype at = static_cast<qsizetype>(offset);
        const quint8 marker = static_cast<quint8>(m_data.at(at++));
        const int type = marker >> 4;
        const bool array = type == 0xA || type == 0xC; // arrays and sets
        const bool dictionary = type == 0xD;
        if (!array && !dictionary) {
            return true;
        }
        quint64 members = marker & 0x0F;
        if (members == 0x0F) {
            // The count follows as an integer object of 1, 2, 4 or 8 bytes.
            if (at >= m_tableStart) {
                return false;
            }
            const quint8 countMarker = static_cast<quint8>(m_data.at(at++));
            const qsizetype width = qsizetype(1) << (countMarker & 0x0F);
            if ((countMarker >> 4) != 0x1 || width > 8 || at + width > m_tableStart) {
                return false;
            }
            members = bigEndian(m_data.sliced(at, width));
            at += width;
        }
        const quint64 room = static_cast<quint64>(m_tableStart - at) / m_refSize;
        const quint64 refs = dictionary ? members * 2 : members;
        if (members > room || refs > room) {
            return false;
        }
        found->reserve(static_cast<qsizetype>(refs));
        for (quint64 n = 0; n < refs; ++n) {
            const quint64 ref = bigEndian(m_data.sliced(at, m_refSize));
            at += m_refSize;
            if (ref >= m_count) {
                return false;
            }
            found->append(ref);
        }
        return true;
    }

    bool isContainer(quint64 object) const
    {
        const quint64 offset = bigEndian(m_data.sliced(
            m_tableStart + static_cast<qsizetype>(object * m_offsetSize), m_offsetSize));
        if (offset < 8 || offset >= static_cast<quint64>(m_tableStart)) {
            return false;
        }
        const int type = static_cast<quint8>(m_data.at(static_cast<qsizetype>(offset))) >> 4;
        return type == 0xA || type == 0xC || type == 0xD;
    }

private:
    QByteArrayView m_data;
    quint8 m_offsetSize = 0;
    quint8 m_refSize = 0;
    quint64 m_count = 0;
    quint64 m_root = 0;
    qsizetype m_tableStart = 0;
};

// Walks the object graph once, depth first without recursion, and works out
// for every object reached how deep it nests and how many values it unfolds
// into. A reference back into the walk's own path is a loop.
std::optional<QString> binaryProblem(QByteArrayView data)
{
    BinaryObjects objects(data);
    if (!objects.open()) {
        return std::nullopt; // the parser reports what is wrong
    }
    enum class State : quint8
    {
        Unseen,
        OnPath,
        Done
    };
    const qsizetype count = static_cast<qsizetype>(objects.count());
    const quint64 valueLimit = std::max<quint64>(MinimumBinaryValueLimit, objects.count() * 8);
    QList<State> state(count, State::Unseen);
    QList<quint8> depth(count, 0);
    QList<quint64> values(count, 0);

    struct Frame
    {
        quint64 object;
        QList<quint64> refs;
        qsizetype next = 0;
        int deepest = 0;
        quint64 values = 1;
    };
    QList<Frame> path;
    const auto enter = [&](quint64 object) -> std::optional<QString> {
        Frame frame{object, {}, 0, 0, 1};
        if (!objects.references(object, &frame.refs)) {
            return QStringLiteral("malformed binary property list");
        }
        if (objects.isContainer(object) && path.size() >= MaximumNesting) {
            return tooDeep();
        }
        state[static_cast<qsizetype>(object)] = State::OnPath;
        path.append(std::move(frame));
        return std::nullopt;
    };
    if (auto problem = enter(objects.root())) {
        return problem;
    }
    while (!path.isEmpty()) {
        Frame& frame = path.last();
        if (frame.next < frame.refs.size()) {
            const quint64 child = frame.refs.at(frame.next++);
            switch (state.at(static_cast<qsizetype>(child))) {
            case State::OnPath:
                return QStringLiteral("a container that contains itself");
            case State::Unseen:
                if (auto problem = enter(child)) {
                    return problem;
                }
                break;
            case State::Done: {
                const qsizetype at = static_cast<qsizetype>(child);
                frame.deepest = std::max<int>(frame.deepest, depth.at(at));
                frame.values = std::min(frame.values + values.at(at), valueLimit + 1);
                break;
            }
            }
            continue;
        }
        const qsizetype index = static_cast<qsizetype>(frame.object);
        const int levels = frame.deepest + (objects.isContainer(frame.object) ? 1 : 0);
        if (levels > MaximumNesting) {
            return tooDeep();
        }
        if (frame.values > valueLimit) {
            return QStringLiteral("more than %1 values").arg(valueLimit);
        }
        const quint64 unfolded = frame.values;
        depth[index] = static_cast<quint8>(levels);
        values[index] = unfolded;
        state[index] = State::Done;
        path.removeLast();
        if (!path.isEmpty()) {
            Frame& parent = path.last();
            parent.deepest = std::max(parent.deepest, levels);
            parent.values = std::min(parent.values + unfolded, valueLimit + 1);
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<QString> structureProblem(const QByteArray& data)
{
    const QByteArrayView view(data);
    return view.startsWith("bplist00") ? binaryProblem(view) : xmlProblem(view);
}

} // namespace platform::plist
