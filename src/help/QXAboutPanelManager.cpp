#include "help/QXAboutPanelManager.h"

#include "foundation/QXLocalized.h"
#include "help/QXAboutCredits.h"
#include "help/QXAboutPanel.h"
#include "help/QXAttributedString.h"
#include "platform/application/Activation.h"
#include "platform/bundle/Bundle.h"
#include "platform/log/SystemLog.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>

namespace {

// Pictures larger than this are not read.
constexpr qint64 MaximumPictureFileSize = 8 * 1024 * 1024;

QByteArray readPicture(const QString& path)
{
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly) || file.size() > MaximumPictureFileSize) {
        return {};
    }
    return file.read(MaximumPictureFileSize);
}

} // namespace

QXAboutPanelManager& QXAboutPanelManager::aboutPanelManager()
{
    // Never destroyed: its panel is a window, which must not outlive the
    // application object, and the process ends without tearing it down.
    static auto* manager = new QXAboutPanelManager;
    return *manager;
}

QXAboutPanelManager::~QXAboutPanelManager() = default;

QXAboutPanel* QXAboutPanelManager::aboutPanel() const
{
    return m_panel;
}

const platform::Bundle& QXAboutPanelManager::bundle() const
{
    return m_bundle != nullptr ? *m_bundle : platform::Bundle::main();
}

QXAboutPanelManager::Options QXAboutPanelManager::aboutPanelOptions() const
{
    Options options;
    const platform::Bundle& source = bundle();
    const QXAboutCredits credits = QXAboutCredits::fromFile(
        source.pathForResource(QStringLiteral("Credits"), QStringLiteral("txt")));
    if (!credits.copyrightSuffix.isNull()) {
        // Without a copyright text of the bundle the suffix stands alone
        // rather than after an empty text and a dash.
        const QString copyright = source.infoString(QStringLiteral("NSHumanReadableCopyright"));
        options.copyright = copyright.isEmpty()
                                ? credits.copyrightSuffix
                                : QStringLiteral("%1 — %2").arg(copyright, credits.copyrightSuffix);
    }

    const QString picturePath =
        source.pathForResource(QStringLiteral("QXRetinaRunningBird"), QStringLiteral("tiff"));
    if (picturePath.isEmpty() && credits.entries.isEmpty()) {
        return options;
    }

    auto document = std::make_unique<QTextDocument>();
    QFont font = QApplication::font();
    font.setPointSizeF(CreditsFontSize);
    document->setDefaultFont(font);
    QTextCursor cursor(document.get());
    const QStringList entries = credits.sortedEntries();
    QXAttributedString::appendString(cursor, entries.isEmpty() ? QStringLiteral("\n")
                                                               : entries.join(QLatin1Char('\n')) +
                                                                     QStringLiteral("\n\n\n"));
    // The picture stands below the credits.
    if (QXAttributedString::appendImageFileWrapper(cursor, QFileInfo(picturePath).fileName(),
                                                   readPicture(picturePath), 0)) {
        QXAttributedString::appendString(cursor, QStringLiteral("\n"));
    }

    cursor.select(QTextCursor::Document);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cursor.mergeBlockFormat(centred);
    options.credits = std::move(document);
    return options;
}

QString QXAboutPanelManager::versionText() const
{
    const QString shortVersion = bundle().infoString(QStringLiteral("CFBundleShortVersionString"));
    const QString build = bundle().infoString(QStringLiteral("CFBundleVersion"));
    if (shortVersion.isEmpty() && build.isEmpty()) {
        return {};
    }
    if (shortVersion.isEmpty() || shortVersion == build) {
        return QXLocalized::tr("Version %1").arg(shortVersion.isEmpty() ? build : shortVersion);
    }
    if (build.isEmpty()) {
        return QXLocalized::tr("Version %1").arg(shortVersion);
    }
    return QXLocalized::tr("Version %1 (%2)").arg(shortVersion, build);
}

void QXAboutPanelManager::orderFrontStandardAboutPanel()
{
    if (m_panel == nullptr) {
        m_panel = new QXAboutPanel;
        m_panel->setAttribute(Qt::WA_DeleteOnClose, false);
        connect(m_panel, &QXAboutPanel::eulaRequested, this, &QXAboutPanelManager::openEULA);
    }
    const platform::Bundle& source = bundle();
    Options options = aboutPanelOptions();

    QString name = source.name();
    if (name.isEmpty()) {
        name = QCoreApplication::applicationName();
    }
    QIcon icon;
    const QString iconPath =
        source.pathForResource(QStringLiteral("trovix"), QStringLiteral("svg"));
    if (!iconPath.isEmpty()) {
        icon = QIcon(iconPath);
    }
    if (icon.isNull()) {
        icon = QApplication::windowIcon();
    }
    m_panel->setApplicationIcon(icon);
    m_panel->setApplicationName(name);
    m_panel->setVersion(versionText());
    m_panel->setCopyright(
        options.copyright.value_or(source.infoString(QStringLiteral("NSHumanReadableCopyright"))));
    m_panel->setCredits(std::move(options.credits));

    m_panel->show();
    m_panel->raise();
    m_panel->activateWindow();
}

void QXAboutPanelManager::openEULA()
{
    const QString path = bundle().pathForResource(QStringLiteral("License"), QStringLiteral("txt"));
    if (path.isEmpty()) {
        platform::systemLog(QStringLiteral("the licence agreement is missing from the bundle"));
        platform::Activation::current().beep();
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path))) {
        platform::systemLog(QStringLiteral("no program opens the licence agreement %1").arg(path));
        platform::Activation::current().beep();
    }
}

void QXAboutPanelManager::resetForTesting()
{
    delete m_panel;
    m_bundle = nullptr;
}
