#include "help/QXHelpIndex.h"
#include "platform/bundle/Bundle.h"

#include <QDir>

QXHelpBookSource QXHelpBookSource::fromBundle(const platform::Bundle& bundle,
                                              const QString& dataHome)
{
    QXHelpBookSource source;
    source.folderName =
        bundle.infoString(QStringLiteral("com.quirkworks.QXHelpManager.HelpBookFolder"));
    if (source.folderName.isEmpty())
        source.folderName = bundle.infoString(QStringLiteral("CFBundleHelpBookFolder"));
    if (source.folderName.isEmpty())
        source.folderName = QStringLiteral("Help");

    QString dataFolder = dataHome;
    if (dataFolder.isEmpty()) {
        dataFolder = qEnvironmentVariable("XDG_DATA_HOME");
        // A relative XDG_DATA_HOME is not valid and is ignored, as other XDG programs do.
        if (!QDir::isAbsolutePath(dataFolder))
            dataFolder = QDir::homePath() + QStringLiteral("/.local/share");
    }
    const QString programName = bundle.infoString(QStringLiteral("CFBundleName"));
    if (!programName.isEmpty())
        source.overrideBasePath = dataFolder + QLatin1Char('/') + programName;
    source.resourcePath = bundle.resourcePath();
    return source;
}
