#include "platform/bundle/Bundle.h"

#include "platform/plist/PropertyList.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace platform {
namespace {

// Used when Trovix runs outside its bundle, so that identifiers and names stay
// right even then.
QVariantMap builtInInfo()
{
    return {
        {QStringLiteral("CFBundleIdentifier"), QStringLiteral("com.quirkworks.Trovix")},
        {QStringLiteral("CFBundleName"), QStringLiteral("Trovix")},
        {QStringLiteral("CFBundleShortVersionString"), QStringLiteral(TROVIX_VERSION)},
    };
}

QString locateMainBundle()
{
    if (QCoreApplication::instance() != nullptr) {
        const QString path =
            Bundle::bundlePathForExecutable(QCoreApplication::applicationFilePath());
        if (!path.isEmpty()) {
            return path;
        }
    } else {
        const QString path = Bundle::bundlePathForExecutable(
            QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath());
        if (!path.isEmpty()) {
            return path;
        }
    }
    const QString fromEnvironment = qEnvironmentVariable("TROVIX_BUNDLE");
    if (!fromEnvironment.isEmpty() && QFileInfo(fromEnvironment).isDir()) {
        return QFileInfo(fromEnvironment).absoluteFilePath();
    }
    return {};
}

// A language tag as a folder name: letters, digits and underscores only, so
// that nothing from the environment reaches outside Resources.
QString localizationName(const QString& language)
{
    static const QRegularExpression plainTag(QStringLiteral("^[A-Za-z0-9]+([_-][A-Za-z0-9]+)*$"));
    if (!plainTag.match(language).hasMatch()) {
        return {};
    }
    QString name = language;
    return name.replace(QLatin1Char('-'), QLatin1Char('_'));
}

bool isEnglish(const QString& localization)
{
    return localization.section(QLatin1Char('_'), 0, 0).toLower() == QLatin1String("en");
}

} // namespace

const Bundle& Bundle::main()
{
    static const Bundle bundle(locateMainBundle());
    return bundle;
}

Bundle::Bundle(const QString& bundlePath) : m_bundlePath(bundlePath)
{
    if (m_bundlePath.isEmpty()) {
        m_info = builtInInfo();
        return;
    }
    const auto info = plist::readFile(m_bundlePath + QStringLiteral("/Contents/Info.plist"));
    if (info && info->typeId() == QMetaType::QVariantMap) {
        m_info = info->toMap();
    } else {
        m_info = builtInInfo();
    }
}

QString Bundle::bundlePathForExecutable(const QString& executablePath)
{
    const QFileInfo executable(executablePath);
    QDir dir = executable.absoluteDir();
    if (dir.dirName() != QLatin1String("MacOS") || !dir.cdUp() ||
        dir.dirName() != QLatin1String("Contents") || !dir.cdUp()) {
        return {};
    }
    if (!QFileInfo::exists(dir.filePath(QStringLiteral("Contents/Info.plist")))) {
        return {};
    }
    return dir.absolutePath();
}

QVariant Bundle::objectForInfoDictionaryKey(const QString& key) const
{
    return m_info.value(key);
}

QString Bundle::infoString(const QString& key) const
{
    const QVariant value = m_info.value(key);
    return value.typeId() == QMetaType::QString ? value.toString() : QString();
}

QString Bundle::bundleIdentifier() const
{
    return infoString(QStringLiteral("CFBundleIdentifier"));
}

QString Bundle::name() const
{
    return infoString(QStringLiteral("CFBundleName"));
}

QString Bundle::shortVersionString() const
{
    return infoString(QStringLiteral("CFBundleShortVersionString"));
}

QString Bundle::resourcePath() const
{
    return m_bundlePath.isEmpty() ? QString()
                                  : m_bundlePath + QStringLiteral("/Contents/Resources");
}

QString Bundle::pathForResource(const QString& name, const QString& type) const
{
    if (m_bundlePath.isEmpty() || name.isEmpty()) {
        return {};
    }
    const QString fileName = type.isEmpty() ? name : name + QLatin1Char('.') + type;
    const QString path = resourcePath() + QLatin1Char('/') + fileName;
    return QFileInfo::exists(path) ? path : QString();
}

QString Bundle::pathForResource(const QString& name, const QString& type,
                                const QString& localization) const
{
    if (localizationName(localization) != localization) {
        return {};
    }
    return pathForResource(localization + QStringLiteral(".lproj/") + name, type);
}

QString Bundle::preferredLocalization(const QStringList& languages, const QString& holding) const
{
    if (m_bundlePath.isEmpty()) {
        return {};
    }
    for (const QString& language : languages) {
        QString candidate = localizationName(language);
        if (candidate.isEmpty()) {
            continue;
        }
        const bool english = isEnglish(candidate);
        while (!candidate.isEmpty()) {
            const QString folder =
                resourcePath() + QLatin1Char('/') + candidate + QStringLiteral(".lproj");
            if (holding.isEmpty() ? QFileInfo(folder).isDir()
                                  : QFileInfo::exists(folder + QLatin1Char('/') + holding)) {
                return candidate;
            }
            candidate.truncate(qMax(0, candidate.lastIndexOf(QLatin1Char('_'))));
        }
        if (english) {
            return {};
        }
    }
    return {};
}

} // namespace platform
