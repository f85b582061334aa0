#include "help/QXHelpBookLocator.h"

#include "help/QXHelpIndex.h"
#include "platform/log/SystemLog.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QLocale>

namespace QXHelpBookLocator {

namespace {

const QString lproj = QStringLiteral(".lproj");

// "German" for "de", "German (Germany)" for "de-DE"; empty when Qt does not
// know the language.
QString englishDisplayName(const QString& identifier)
{
    const QLocale locale(identifier);
    if (locale.language() == QLocale::C || locale.language() == QLocale::AnyLanguage)
        return {};
    QString name = QLocale::languageToString(locale.language());
    const bool namesTerritory =
        identifier.contains(QLatin1Char('-')) || identifier.contains(QLatin1Char('_'));
    if (namesTerritory && locale.territory() != QLocale::AnyTerritory)
        name += QStringLiteral(" (%1)").arg(QLocale::territoryToString(locale.territory()));
    return name;
}

QString resolvedFolder(const QString& path)
{
    const QFileInfo info(path);
    return info.isDir() ? info.canonicalFilePath() : QString();
}

bool liesInside(const QString& path, const QString& folder)
{
    return path.startsWith(folder + QLatin1Char('/'));
}

} // namespace

QStringList localizationCandidates(const QStringList& preferredLanguages)
{
    QStringList candidates;
    const auto add = [&candidates](const QString& candidate) {
        if (!candidates.contains(candidate))
            candidates.append(candidate);
    };
    for (const QString& language : preferredLanguages) {
        if (language.isEmpty())
            continue;
        add(language + lproj);
        if (const QString name = englishDisplayName(language); !name.isEmpty())
            add(name + lproj);
    }
    add(QStringLiteral("en.lproj"));
    add(QStringLiteral("English.lproj"));
    add(QString());
    return candidates;
}

const QStringList& localizationCandidates()
{
    static const QStringList candidates = localizationCandidates(QLocale::system().uiLanguages());
    return candidates;
}

QString localizedPathToDirectory(const QString& folderName, const QString& container,
                                 const QStringList& candidates)
{
    if (folderName.isEmpty() || container.isEmpty() || !QFileInfo(container).isDir())
        return {};
    for (const QString& candidate : candidates) {
        const QString inside =
            candidate.isEmpty() ? container : container + QLatin1Char('/') + candidate;
        const QString path = inside + QLatin1Char('/') + folderName;
        if (QFileInfo(path).isDir())
            return path;
    }
    return {};
}

QMap<QString, QUrl> pageURLsByRelativePath(const QString& helpFolder)
{
    QMap<QString, QUrl> pages;
    if (helpFolder.isEmpty())
        return pages;
    const QString folderURL = QUrl::fromLocalFile(helpFolder).toString(QUrl::FullyEncoded);
    // Symbolic links to folders are not entered, and hidden entries are not
    // listed, so neither hidden folders nor links lead the walk elsewhere.
    QDirIterator files(helpFolder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        files.next();
        const QFileInfo info = files.fileInfo();
        if (info.isDir()) {
            if (!info.isReadable() || !info.isExecutable())
                platform::systemLog(QStringLiteral("help file enumeration error: cannot read %1")
                                        .arg(info.filePath()));
            continue;
        }
        if (info.suffix() != QLatin1String("html"))
            continue;
        if (info.isSymLink() && !liesInside(info.canonicalFilePath(), helpFolder))
            continue;
        const QUrl url = QUrl::fromLocalFile(info.filePath());
        const QString urlString = url.toString(QUrl::FullyEncoded);
        if (!urlString.startsWith(folderURL))
            continue;
        QString relativePath = urlString.sliced(folderURL.size());
        if (relativePath.startsWith(QLatin1Char('/')))
            relativePath.remove(0, 1);
        pages.insert(relativePath, url);
    }
    return pages;
}

Book locate(const QXHelpBookSource& source)
{
    if (!source.overrideBasePath.isEmpty()) {
        const QString helpFolder = source.overrideBasePath + QStringLiteral("/Help");
        const QStringList candidates = {
            localizedPathToDirectory(source.folderName, helpFolder),
            source.overrideBasePath + QLatin1Char('/') + source.folderName,
            helpFolder,
        };
        for (const QString& candidate : candidates) {
            const QString folder = resolvedFolder(candidate);
            if (folder.isEmpty())
                continue;
            QMap<QString, QUrl> pages = pageURLsByRelativePath(folder);
            if (!pages.isEmpty())
                return {folder, std::move(pages)};
        }
    }
    const QString folder =
        resolvedFolder(localizedPathToDirectory(source.folderName, source.resourcePath));
    return {folder, pageURLsByRelativePath(folder)};
}

} // namespace QXHelpBookLocator
