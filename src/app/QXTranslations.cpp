#include "app/QXTranslations.h"

#include "platform/bundle/Bundle.h"
#include "platform/log/SystemLog.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

namespace {

std::unique_ptr<QTranslator>& programTranslator()
{
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

std::unique_ptr<QTranslator>& qtTranslator()
{
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

// Installs translator when it loads; false leaves nothing installed.
bool install(std::unique_ptr<QTranslator>& slot, const QString& fileName,
             const QString& directory = QString())
{
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(fileName, directory) ||
        !QCoreApplication::installTranslator(translator.get())) {
        return false;
    }
    slot = std::move(translator);
    return true;
}

} // namespace

QString QXInstallTranslations(const QStringList& languages)
{
    // Destroying a translator removes it from the application.
    programTranslator().reset();
    qtTranslator().reset();

    const platform::Bundle& bundle = platform::Bundle::main();
    const QString localization =
        bundle.preferredLocalization(languages, QStringLiteral("Localizable.qm"));
    if (localization.isEmpty()) {
        return {};
    }
    const QString catalogue =
        bundle.pathForResource(QStringLiteral("Localizable"), QStringLiteral("qm"), localization);
    if (catalogue.isEmpty() || !install(programTranslator(), catalogue)) {
        platform::systemLog(
            QStringLiteral("cannot load the translations for %1").arg(localization));
        return {};
    }
    // Qt's catalogue is optional: without it standard buttons stay English.
    install(qtTranslator(), QStringLiteral("qtbase_") + localization,
            QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    return localization;
}
