#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

namespace platform {

// The application folder Trovix.app/Contents/{Info.plist, MacOS/trovix,
// Resources/...}: its information keys and its resources.
class Bundle
{
public:
    // The bundle that holds the running executable. A program that does not
    // run from a bundle (a test, say) uses the folder named by the TROVIX_BUNDLE
    // environment variable, else a bundle without a folder whose information
    // keys are the built-in ones.
    static const Bundle& main();

    // The bundle at bundlePath (the .app folder).
    explicit Bundle(const QString& bundlePath);

    // The .app folder that holds an executable at executablePath, or an empty
    // string when it does not stand in Contents/MacOS of one.
    static QString bundlePathForExecutable(const QString& executablePath);

    QString bundlePath() const { return m_bundlePath; }
    bool isValid() const { return !m_bundlePath.isEmpty(); }

    QVariantMap infoDictionary() const { return m_info; }
    QVariant objectForInfoDictionaryKey(const QString& key) const;
    QString infoString(const QString& key) const;

    QString bundleIdentifier() const;
    QString name() const;
    QString shortVersionString() const;

    QString resourcePath() const;
    // The path of the resource name.type in Resources, or an empty string
    // when there is no such file or folder.
    QString pathForResource(const QString& name, const QString& type) const;
    // The same in the folder <localization>.lproj of Resources.
    QString pathForResource(const QString& name, const QString& type,
                            const QString& localization) const;

    // The localization of Resources that serves languages best (most preferred
    // first, as QLocale::uiLanguages() gives them: "de-DE", "fr", "C"): the
    // first language with a folder <localization>.lproj, tried in full and then
    // shortened tag by tag ("de_Latn_DE", "de_Latn", "de"). An empty string
    // when an English entry comes first or none has a folder: the texts in the
    // code are English. "C" (which QLocale puts after a language it does not
    // know) has no folder and is passed over like any unknown language, and
    // so is what is not a plain tag (a path, say). With a file name, only
    // folders holding that file count: other resources may be localized into
    // more languages than it.
    QString preferredLocalization(const QStringList& languages,
                                  const QString& holding = QString()) const;

private:
    QString m_bundlePath;
    QVariantMap m_info;
};

} // namespace platform
