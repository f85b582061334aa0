#include "platform/plist/PropertyList.h"

#include "platform/plist/PropertyListStructure.h"

#include <QByteArrayView>
#include <QDateTime>
#include <QFile>
#include <QSaveFile>
#include <QStringList>
#include <QVariantHash>
#include <QVariantList>
#include <QVariantMap>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <memory>
#include <plist/plist.h>

namespace platform::plist {
namespace {

// Property-list dates count seconds from 2001-01-01 00:00:00 UTC.
constexpr qint64 referenceDateMSecs = 978307200LL * 1000;

struct NodeDeleter
{
    void operator()(void* node) const { plist_free(node); }
};
using Node = std::unique_ptr<void, NodeDeleter>;

bool isSignedIntegerType(int typeId)
{
    switch (typeId) {
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::Short:
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong:
        return true;
    default:
        return false;
    }
}

bool isUnsignedIntegerType(int typeId)
{
    switch (typeId) {
    case QMetaType::UChar:
    case QMetaType::UShort:
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        return true;
    default:
        return false;
    }
}

QByteArray xmlOfNode(plist_t node)
{
    char* xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(node, &xml, &length);
    if (xml == nullptr) {
        return {};
    }
    QByteArray result(xml, static_cast<qsizetype>(length));
    plist_to_xml_free(xml);
    return result;
}

// libplist keeps one 64-bit integer type and writes it as signed unless the
// node was parsed from a number beyond the signed range. Such a node cannot
// be made through its API, so it is parsed from its XML form.
plist_t newBigUnsignedNode(quint64 value)
{
    const QByteArray xml =
        "<plist version=\"1.0\"><integer>" + QByteArray::number(value) + "</integer></plist>";
    plist_t node = nullptr;
    plist_from_xml(xml.constData(), static_cast<uint32_t>(xml.size()), &node);
    return node;
}

// An integer node whose bits read as a value beyond the signed range holds
// either a negative number or a large unsigned one; its XML form tells which.
QVariant integerFromNode(plist_t node)
{
    uint64_t bits = 0;
    plist_get_uint_val(node, &bits);
    if (bits <= static_cast<uint64_t>(std::numeric_limits<qint64>::max())) {
        return QVariant(static_cast<qlonglong>(bits));
    }
    if (xmlOfNode(node).contains("<integer>-")) {
        return QVariant(static_cast<qlonglong>(static_cast<int64_t>(bits)));
    }
    return QVariant(static_cast<qulonglong>(bits));
}

QDateTime dateFromNode(plist_t node)
{
    int32_t seconds = 0;
    int32_t microseconds = 0;
    plist_get_date_val(node, &seconds, &microseconds);
    const qint64 msecs =
        referenceDateMSecs + static_cast<qint64>(seconds) * 1000 + microseconds / 1000;
    return QDateTime::fromMSecsSinceEpoch(msecs, Qt::UTC);
}

plist_t newDateNode(const QDateTime& date)
{
    if (!date.isValid()) {
        return nullptr;
    }
    const qint64 msecs = date.toMSecsSinceEpoch() - referenceDateMSecs;
    qint64 seconds = msecs / 1000;
    qint64 remainder = msecs % 1000;
    if (remainder < 0) {
        seconds -= 1;
        remainder += 1000;
    }
    // This libplist takes 32-bit seconds: dates from 1933 to 2069.
    if (seconds < std::numeric_limits<int32_t>::min() ||
        seconds > std::numeric_limits<int32_t>::max()) {
        return nullptr;
    }
    return plist_new_date(static_cast<int32_t>(seconds), static_cast<int32_t>(remainder * 1000));
}

plist_t newNode(const QVariant& value);

plist_t newArrayNode(const QVariantList& list)
{
    plist_t array = plist_new_array();
    for (const QVariant& item : list) {
        if (plist_t node = newNode(item)) {
            plist_array_append_item(array, node);
        }
    }
    return array;
}

template <typename Map>
plist_t newDictNode(const Map& map)
{
    plist_t dict = plist_new_dict();
    for (auto it = map.constBegin(); it != map.constEnd(); ++it) {
        if (plist_t node = newNode(it.value())) {
            plist_dict_set_item(dict, it.key().toUtf8().constData(), node);
        }
    }
    return dict;
}

plist_t newNode(const QVariant& value)
{
    const int type = value.typeId();
    if (type == QMetaType::Bool) {
        return plist_new_bool(value.toBool() ? 1 : 0);
    }
    if (isSignedIntegerType(type)) {
        return plist_new_uint(static_cast<uint64_t>(static_cast<int64_t>(value.toLongLong())));
    }
    if (isUnsignedIntegerType(type)) {
        const quint64 number = value.toULongLong();
        if (number > static_cast<quint64>(std::numeric_limits<qint64>::max())) {
            return newBigUnsignedNode(number);
        }
        return plist_new_uint(number);
    }
    switch (type) {
    case QMetaType::Double:
    case QMetaType::Float:
        return plist_new_real(value.toDouble());
    case QMetaType::QString:
        return plist_new_string(value.toString().toUtf8().constData());
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return plist_new_data(bytes.constData(), static_cast<uint64_t>(bytes.size()));
    }
    case QMetaType::QDateTime:
        return newDateNode(value.toDateTime());
    case QMetaType::QVariantList:
    case QMetaType::QStringList:
        return newArrayNode(value.toList());
    case QMetaType::QVariantMap:
        return newDictNode(value.toMap());
    case QMetaType::QVariantHash:
        return newDictNode(value.toHash());
    default:
        return nullptr;
    }
}

// Strings are written as C strings, so a string that holds a NUL character
// is read up to it: what is read is what can be written back.
QString textUpToNul(const char* text, uint64_t length)
{
    const auto size = static_cast<qsizetype>(length);
    const qsizetype nul = QByteArrayView(text, size).indexOf('\0');
    return QString::fromUtf8(text, nul < 0 ? size : nul);
}

std::optional<QVariant> valueFromNode(plist_t node)
{
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        uint8_t flag = 0;
        plist_get_bool_val(node, &flag);
        return QVariant(flag != 0);
    }
    case PLIST_UINT:
        return integerFromNode(node);
    case PLIST_REAL: {
        double number = 0;
        plist_get_real_val(node, &number);
        return QVariant(number);
    }
    case PLIST_STRING: {
        uint64_t length = 0;
        const char* text = plist_get_string_ptr(node, &length);
        return QVariant(textUpToNul(text, length));
    }
    case PLIST_DATE: {
        // Read as it would be written back: whole seconds, in range.
        const QVariant date = normalized(QVariant(dateFromNode(node)));
        return date.isValid() ? std::optional<QVariant>(date) : std::nullopt;
    }
    case PLIST_DATA: {
        uint64_t length = 0;
        const char* bytes = plist_get_data_ptr(node, &length);
        return QVariant(QByteArray(bytes, static_cast<qsizetype>(length)));
    }
    case PLIST_ARRAY: {
        QVariantList list;
        const uint32_t count = plist_array_get_size(node);
        for (uint32_t i = 0; i < count; ++i) {
            if (auto item = valueFromNode(plist_array_get_item(node, i))) {
                list.append(*item);
            }
        }
        return QVariant(list);
    }
    case PLIST_DICT: {
        QVariantMap map;
        plist_dict_iter iter = nullptr;
        plist_dict_new_iter(node, &iter);
        for (;;) {
            char* key = nullptr;
            plist_t item = nullptr;
            plist_dict_next_item(node, iter, &key, &item);
            if (item == nullptr) {
                std::free(key);
                break;
            }
            if (auto converted = valueFromNode(item)) {
                map.insert(QString::fromUtf8(key), *converted);
            }
            std::free(key);
        }
        std::free(iter);
        return QVariant(map);
    }
    default:
        // Keyed-archiver UIDs and keys outside dictionaries have no QVariant form.
        return std::nullopt;
    }
}

// This libplist aborts (a failed assertion in its key accessor) on some
// damaged dictionary keys of binary lists, such as a key stored as UTF-16 text
// whose length does not add up. Its XML writer and reader cope with them, so
// binary data is read through its XML form.
plist_t binaryAsXmlTree(const QByteArray& data)
{
    plist_t binary = nullptr;
    plist_from_bin(data.constData(), static_cast<uint32_t>(data.size()), &binary);
    if (binary == nullptr) {
        return nullptr;
    }
    const Node owner(binary);
    const QByteArray xml = xmlOfNode(binary);
    plist_t tree = nullptr;
    plist_from_xml(xml.constData(), static_cast<uint32_t>(xml.size()), &tree);
    return tree;
}

template <typename Map>
QVariant normalizedMap(const Map& entries)
{
    QVariantMap map;
    for (auto it = entries.constBegin(); it != entries.constEnd(); ++it) {
        const QVariant converted = normalized(it.value());
        if (converted.isValid()) {
            map.insert(it.key(), converted);
        }
    }
    return QVariant(map);
}

} // namespace

std::optional<QVariant> fromData(const QByteArray& data, QString* error)
{
    const auto fail = [error](const QString& reason) -> std::optional<QVariant> {
        if (error != nullptr) {
            *error = reason;
        }
        return std::nullopt;
    };
    if (data.isEmpty()) {
        return fail(QStringLiteral("empty data"));
    }
    if (static_cast<quint64>(data.size()) > std::numeric_limits<uint32_t>::max()) {
        return fail(QStringLiteral("too large for a property list"));
    }
    // Deep or hugely shared data would exhaust the stack or the memory of the
    // recursive steps below; it is refused before any of them runs.
    if (auto problem = structureProblem(data)) {
        return fail(*problem);
    }
    plist_t root = nullptr;
    if (data.startsWith("bplist00")) {
        root = binaryAsXmlTree(data);
        if (root == nullptr) {
            return fail(QStringLiteral("malformed binary property list"));
        }
    } else {
        plist_from_xml(data.constData(), static_cast<uint32_t>(data.size()), &root);
        if (root == nullptr) {
            return fail(QStringLiteral("not a property list"));
        }
    }
    const Node owner(root);
    auto value = valueFromNode(root);
    if (!value) {
        return fail(QStringLiteral("unsupported property-list value"));
    }
    // The checks on the bytes count levels as each format spells them; the
    // value itself must be no deeper either, or its XML would not read back.
    if (nestingOf(*value, MaximumNesting) > MaximumNesting) {
        return fail(QStringLiteral("nested deeper than %1 levels").arg(MaximumNesting));
    }
    return value;
}

std::optional<QVariant> readFile(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error != nullptr) {
            *error = file.errorString();
        }
        return std::nullopt;
    }
    return fromData(file.readAll(), error);
}

QByteArray toXml(const QVariant& value)
{
    plist_t root = newNode(value);
    if (root == nullptr) {
        return {};
    }
    const Node owner(root);
    return xmlOfNode(root);
}

bool writeFile(const QString& path, const QVariant& value, QString* error)
{
    const QByteArray xml = toXml(value);
    if (xml.isEmpty()) {
        if (error != nullptr) {
            *error = QStringLiteral("value has no property-list form");
        }
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(xml) != xml.size() || !file.commit()) {
        if (error != nullptr) {
            *error = file.errorString();
        }
        return false;
    }
    return true;
}

QVariant normalized(const QVariant& value)
{
    const int type = value.typeId();
    if (type == QMetaType::Bool) {
        return QVariant(value.toBool());
    }
    if (isSignedIntegerType(type)) {
        return QVariant(value.toLongLong());
    }
    if (isUnsignedIntegerType(type)) {
        const quint64 number = value.toULongLong();
        if (number > static_cast<quint64>(std::numeric_limits<qint64>::max())) {
            return QVariant(static_cast<qulonglong>(number));
        }
        return QVariant(static_cast<qlonglong>(number));
    }
    switch (type) {
    case QMetaType::Double:
    case QMetaType::Float:
        return QVariant(value.toDouble());
    case QMetaType::QString:
        return QVariant(value.toString());
    case QMetaType::QByteArray:
        return QVariant(value.toByteArray());
    case QMetaType::QDateTime: {
        // Only dates that can be written survive, with whole seconds.
        plist_t node = newDateNode(value.toDateTime());
        if (node == nullptr) {
            return {};
        }
        const Node owner(node);
        const qint64 msecs = dateFromNode(node).toMSecsSinceEpoch();
        const qint64 wholeSeconds = msecs - ((msecs % 1000) + 1000) % 1000;
        return QVariant(QDateTime::fromMSecsSinceEpoch(wholeSeconds, Qt::UTC));
    }
    case QMetaType::QVariantList:
    case QMetaType::QStringList: {
        QVariantList list;
        for (const QVariant& item : value.toList()) {
            const QVariant converted = normalized(item);
            if (converted.isValid()) {
                list.append(converted);
            }
        }
        return QVariant(list);
    }
    case QMetaType::QVariantMap:
        return normalizedMap(value.toMap());
    case QMetaType::QVariantHash:
        return normalizedMap(value.toHash());
    default:
        return {};
    }
}

int nestingOf(const QVariant& value, int limit)
{
    if (limit < 0) {
        return 0;
    }
    int deepest = 0;
    switch (value.typeId()) {
    case QMetaType::QVariantList:
    case QMetaType::QStringList:
        for (const QVariant& item : value.toList()) {
            deepest = std::max(deepest, nestingOf(item, limit - 1));
        }
        return deepest + 1;
    case QMetaType::QVariantMap: {
        const QVariantMap map = value.toMap();
        for (auto it = map.constBegin(); it != map.constEnd(); ++it) {
            deepest = std::max(deepest, nestingOf(it.value(), limit - 1));
        }
        return deepest + 1;
    }
    case QMetaType::QVariantHash: {
        const QVariantHash hash = value.toHash();
        for (auto it = hash.constBegin(); it != hash.constEnd(); ++it) {
            deepest = std::max(deepest, nestingOf(it.value(), limit - 1));
        }
        return deepest + 1;
    }
    default:
        return 0;
    }
}

bool identical(const QVariant& a, const QVariant& b)
{
    if (a.typeId() != b.typeId()) {
        return false;
    }
    switch (a.typeId()) {
    case QMetaType::QVariantList: {
        const QVariantList left = a.toList();
        const QVariantList right = b.toList();
        if (left.size() != right.size()) {
            return false;
        }
        for (qsizetype i = 0; i < left.size(); ++i) {
            if (!identical(left.at(i), right.at(i))) {
                return false;
            }
        }
        return true;
    }
    case QMetaType::QVariantMap: {
        const QVariantMap left = a.toMap();
        const QVariantMap right = b.toMap();
        if (left.size() != right.size()) {
            return false;
        }
        for (auto it = left.constBegin(), other = right.constBegin(); it != left.constEnd();
             ++it, ++other) {
            if (it.key() != other.key() || !identical(it.value(), other.value())) {
                return false;
            }
        }
        return true;
    }
    case QMetaType::QDateTime:
        // Equal instants, whatever the time zone they are expressed in.
        return a.toDateTime().toMSecsSinceEpoch() == b.toDateTime().toMSecsSinceEpoch();
    case QMetaType::Double: {
        // A stored NaN is the same value when it comes back.
        const double left = a.toDouble();
        const double right = b.toDouble();
        return left == right || (std::isnan(left) && std::isnan(right));
    }
    default:
        return a == b;
    }
}

} // namespace platform::plist
