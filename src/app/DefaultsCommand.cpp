#include "app/DefaultsCommand.h"

#include "platform/bundle/Bundle.h"
#include "platform/defaults/UserDefaults.h"
#include "platform/plist/PropertyListText.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QVariantList>
#include <QVariantMap>
#include <cmath>
#include <optional>

namespace {

using platform::UserDefaults;

QString usage()
{
    return QCoreApplication::translate(
        "Trovix",
        "usage: trovix defaults read [KEY] | write KEY [-bool|-int|-float|-string] VALUE | "
        "write KEY -dict KEY VALUE ... | write KEY -array VALUE ... | delete KEY");
}

QString domainName()
{
    const QString identifier = platform::Bundle::main().bundleIdentifier();
    return identifier.isEmpty() ? QStringLiteral("com.quirkworks.Trovix") : identifier;
}

QString missingPairMessage(const QString& key)
{
    return QCoreApplication::translate("Trovix",
                                       "The domain/default pair of (%1, %2) does not exist")
        .arg(domainName(), key);
}

// A word that names a type ("-int") rather than being a value ("-5", "-").
bool looksLikeTypeFlag(const QString& word)
{
    return word.size() > 1 && word.at(0) == u'-' && word.at(1).isLetter();
}

enum class ScalarType
{
    String,
    Bool,
    Integer,
    Float
};

std::optional<ScalarType> scalarTypeForFlag(const QString& flag)
{
    if (flag == QLatin1String("-string")) {
        return ScalarType::String;
    }
    if (flag == QLatin1String("-bool") || flag == QLatin1String("-boolean")) {
        return ScalarType::Bool;
    }
    if (flag == QLatin1String("-int") || flag == QLatin1String("-integer")) {
        return ScalarType::Integer;
    }
    if (flag == QLatin1String("-float")) {
        return ScalarType::Float;
    }
    return std::nullopt;
}

// Parsing stops at the first problem, which is kept here as a one-line text.
struct Parser
{
    QStringList words;
    qsizetype next = 0;
    QString error;

    bool atEnd() const { return next >= words.size(); }

    std::optional<QVariant> fail(const QString& message)
    {
        if (error.isEmpty()) {
            error = message;
        }
        return std::nullopt;
    }

    std::optional<QVariant> typedValue(ScalarType type, const QString& text)
    {
        switch (type) {
        case ScalarType::String:
            return QVariant(text);
        case ScalarType::Bool: {
            const QString word = text.toLower();
            if (word == QLatin1String("yes") || word == QLatin1String("true") ||
                word == QLatin1String("1")) {
                return QVariant(true);
            }
            if (word == QLatin1String("no") || word == QLatin1String("false") ||
                word == QLatin1String("0")) {
                return QVariant(false);
            }
            return fail(QCoreApplication::translate(
                            "Trovix", "-bool takes YES, NO, TRUE, FALSE, 1 or 0, not \"%1\"")
                            .arg(text));
        }
        case ScalarType::Integer: {
            bool ok = false;
            const qlonglong number = text.toLongLong(&ok);
            if (!ok) {
                return fail(
                    QCoreApplication::translate("Trovix", "-int takes a whole number, not \"%1\"")
                        .arg(text));
            }
            return QVariant(number);
        }
        case ScalarType::Float: {
            bool ok = false;
            const double number = text.toDouble(&ok);
            if (!ok || !std::isfinite(number)) {
                return fail(
                    QCoreApplication::translate("Trovix", "-float takes a number, not \"%1\"")
                        .arg(text));
            }
            return QVariant(number);
        }
        }
        return std::nullopt;
    }

    // One value, optionally preceded by its type flag; an untyped word is a
    // string.
    std::optional<QVariant> scalar()
    {
        if (atEnd()) {
            return fail(QCoreApplication::translate("Trovix", "a value is missing"));
        }
        const QString word = words.at(next++);
        if (!looksLikeTypeFlag(word)) {
            return QVariant(word);
        }
        const auto type = scalarTypeForFlag(word);
        if (!type) {
            return fail(QCoreApplication::translate("Trovix", "unknown type flag %1").arg(word));
        }
        if (atEnd()) {
            return fail(QCoreApplication::translate("Trovix", "%1 needs a value").arg(word));
        }
        return typedValue(*type, words.at(next++));
    }

    std::optional<QVariant> dictionary()
    {
        QVariantMap map;
        while (!atEnd()) {
            const QString key = words.at(next++);
            if (atEnd()) {
                return fail(QCoreApplication::translate(
                                "Trovix", "-dict needs a value for every key; \"%1\" has none")
                                .arg(key));
            }
            const auto value = scalar();
            if (!value) {
                return std::nullopt;
            }
            map.insert(key, *value);
        }
        return QVariant(map);
    }

    std::optional<QVariant> array()
    {
        QVariantList list;
        while (!atEnd()) {
            const auto value = scalar();
            if (!value) {
                return std::nullopt;
            }
            list.append(*value);
        }
        return QVariant(list);
    }

    // Everything after "write KEY".
    std::optional<QVariant> writeValue()
    {
        if (atEnd()) {
            return fail(QCoreApplication::translate("Trovix", "a value is missing"));
        }
        const QString first = words.at(next);
        std::optional<QVariant> value;
        if (first == QLatin1String("-dict")) {
            ++next;
            value = dictionary();
        } else if (first == QLatin1String("-array")) {
            ++next;
            value = array();
        } else {
            value = scalar();
        }
        if (value && !atEnd()) {
            return fail(QCoreApplication::translate("Trovix", "unexpected argument \"%1\"")
                            .arg(words.at(next)));
        }
        return value;
    }
};

int fail(QTextStream& err, const QString& message)
{
    err << message << '\n';
    err.flush();
    return 1;
}

// A settings file that is there but cannot be opened is neither read nor
// written: what the command would show or store could only be wrong.
bool settingsUnavailable(const UserDefaults& defaults, QTextStream& err)
{
    const QString reason = defaults.fileUnavailableReason();
    if (reason.isEmpty()) {
        return false;
    }
    fail(err, QCoreApplication::translate(
                  "Trovix", "trovix defaults: cannot open the settings file %1 (%2); it is left "
                            "as it is")
                  .arg(defaults.filePath(), reason));
    return true;
}

int read(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    UserDefaults& defaults = UserDefaults::standard();
    if (settingsUnavailable(defaults, err)) {
        return 1;
    }
    if (arguments.isEmpty()) {
        const QVariantMap domain = defaults.persistentDomain();
        if (domain.isEmpty() && !QFileInfo::exists(defaults.filePath())) {
            return fail(err, QCoreApplication::translate("Trovix", "Domain %1 does not exist")
                                 .arg(domainName()));
        }
        out << platform::plist::toOldStyleText(domain) << '\n';
        out.flush();
        return 0;
    }
    if (arguments.size() > 1) {
        return fail(err, usage());
    }
    const QString& key = arguments.first();
    if (!defaults.hasStoredValue(key)) {
        return fail(err, missingPairMessage(key));
    }
    out << platform::plist::toPlainText(defaults.objectForKey(key)) << '\n';
    out.flush();
    return 0;
}

int save(UserDefaults& defaults, QTextStream& err)
{
    if (!defaults.synchronize()) {
        return fail(err, QCoreApplication::translate("Trovix", "trovix defaults: cannot write %1")
                             .arg(defaults.filePath()));
    }
    return 0;
}

int write(const QStringList& arguments, QTextStream& err)
{
    if (arguments.isEmpty()) {
        return fail(err, usage());
    }
    Parser parser{arguments, 1, {}};
    const auto value = parser.writeValue();
    if (!value) {
        return fail(
            err,
            QCoreApplication::translate("Trovix", "trovix defaults write: %1").arg(parser.error));
    }
    UserDefaults& defaults = UserDefaults::standard();
    if (settingsUnavailable(defaults, err)) {
        return 1;
    }
    defaults.setObject(*value, arguments.first());
    return save(defaults, err);
}

int remove(const QStringList& arguments, QTextStream& err)
{
    if (arguments.size() != 1) {
        return fail(err, usage());
    }
    UserDefaults& defaults = UserDefaults::standard();
    if (settingsUnavailable(defaults, err)) {
        return 1;
    }
    const QString& key = arguments.first();
    if (!defaults.hasStoredValue(key)) {
        return fail(err, missingPairMessage(key));
    }
    defaults.removeObjectForKey(key);
    return save(defaults, err);
}

} // namespace

int runDefaultsCommand(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    const QString command = arguments.value(0);
    const QStringList rest = arguments.mid(1);
    if (command == QLatin1String("read")) {
        return read(rest, out, err);
    }
    if (command == QLatin1String("write")) {
        return write(rest, err);
    }
    if (command == QLatin1String("delete")) {
        return remove(rest, err);
    }
    return fail(err, usage());
}
