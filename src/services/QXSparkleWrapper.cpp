#include "services/QXSparkleWrapper.h"

#include "foundation/QXLocalized.h"
#include "platform/application/Activation.h"
#include "platform/bundle/Bundle.h"
#include "platform/defaults/UserDefaults.h"
#include "platform/menus/Menu.h"
#include "platform/menus/MenuItem.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QLabel>
#include <QLocale>
#include <QUrl>
#include <QWidget>

namespace {

const QString statusKey = QStringLiteral("QXSparkleWrapper Status");
const QString currentVersionKey = QStringLiteral("Current Version");
const QString updateVersionKey = QStringLiteral("Update Version");
const QString checkDateKey = QStringLiteral("Check Date");
const QString skippedVersionKey = QStringLiteral("Skipped Version");

std::optional<QString>& shortVersionOverride()
{
    static std::optional<QString> version;
    return version;
}

QString applicationName()
{
    return platform::Bundle::main().name();
}

// Values of the record as the program wrote them; anything else (a record
// edited by hand) reads as absent.
QString stringEntry(const QVariantMap& record, const QString& key)
{
    const QVariant value = record.value(key);
    return value.typeId() == QMetaType::QString ? value.toString() : QString();
}

std::optional<qint64> checkDate(const QVariantMap& record)
{
    const QVariant value = record.value(checkDateKey);
    bool ok = false;
    const qint64 seconds = value.toLongLong(&ok);
    if (value.typeId() == QMetaType::QString || !ok || seconds < 0) {
        return std::nullopt;
    }
    return seconds;
}

} // namespace

QXSparkleWrapper& QXSparkleWrapper::sharedSparkleWrapper()
{
    static QXSparkleWrapper* wrapper = new QXSparkleWrapper();
    return *wrapper;
}

QXSparkleWrapper::QXSparkleWrapper()
{
    m_fallbackTimer.setSingleShot(true);
    m_fallbackTimer.setInterval(0);
    connect(&m_fallbackTimer, &QTimer::timeout, this,
            &QXSparkleWrapper::updaterDidNotFindUpdateFallback);
    QTimer::singleShot(0, this, &QXSparkleWrapper::becomeSparkleDelegate);
}

platform::Updater& QXSparkleWrapper::sharedSparkleUpdater()
{
    return platform::Updater::current();
}

void QXSparkleWrapper::becomeSparkleDelegate()
{
    if (m_isDelegate) {
        return;
    }
    m_isDelegate = true;
    sharedSparkleUpdater().setDelegate(this);
    sharedSparkleUpdater().resetUpdateCycle();
}

void QXSparkleWrapper::resetForTesting()
{
    m_fallbackTimer.stop();
    QObject::disconnect(m_statusObserver);
    m_status.reset();
    m_isDelegate = false;
    m_autoUpdateCheckingSwitch = nullptr;
    m_statusTextField = nullptr;
    m_statusDateTextField = nullptr;
}

void QXSparkleWrapper::setCurrentShortVersionStringForTesting(std::optional<QString> version)
{
    shortVersionOverride() = std::move(version);
}

// Actions ---------------------------------------------------------------------

void QXSparkleWrapper::checkForUpdates(QObject*)
{
    // A check asked for before the first pass of the event loop still
    // reports here.
    becomeSparkleDelegate();
    sharedSparkleUpdater().checkForUpdates();
}

void QXSparkleWrapper::checkForUpdateInformation()
{
    becomeSparkleDelegate();
    sharedSparkleUpdater().checkForUpdateInformation();
}

void QXSparkleWrapper::toggleAutomaticChecking(QObject* sender)
{
    const bool automatic = !sharedSparkleUpdater().automaticallyChecksForUpdates();
    sharedSparkleUpdater().setAutomaticallyChecksForUpdates(automatic);
    if (m_autoUpdateCheckingSwitch && sender != m_autoUpdateCheckingSwitch) {
        m_autoUpdateCheckingSwitch->setChecked(automatic);
    }
}

bool QXSparkleWrapper::checksAutomatically() const
{
    return sharedSparkleUpdater().automaticallyChecksForUpdates();
}

QString QXSparkleWrapper::productPageBaseAddress()
{
    return QStringLiteral("https://www.quirkworks.com/");
}

QString QXSparkleWrapper::productPageAddress()
{
    QString name = applicationName();
    name.remove(QLatin1Char(' '));
    if (name.isEmpty()) {
        return {};
    }
    return productPageBaseAddress() + name.toLower();
}

void QXSparkleWrapper::visitProductPage(QObject* sender)
{
    const auto* widget = qobject_cast<QWidget*>(sender);
    if (widget == nullptr) {
        platform::Activation::current().beep();
        return;
    }
    QString address = widget->toolTip().trimmed();
    if (address.isEmpty()) {
        address = productPageAddress();
    }
    const QUrl url(address, QUrl::StrictMode);
    if (address.isEmpty() || !url.isValid() || url.isRelative() ||
        !QDesktopServices::openUrl(url)) {
        platform::Activation::current().beep();
    }
}

// The status record -------------------------------------------------------------

QString QXSparkleWrapper::currentShortVersionString()
{
    if (shortVersionOverride()) {
        return shortVersionOverride()->isEmpty() ? QString() : *shortVersionOverride();
    }
    return platform::Bundle::main().shortVersionString();
}

QVariantMap QXSparkleWrapper::status()
{
    if (!m_status) {
        platform::UserDefaults& defaults = platform::UserDefaults::standard();
        m_status = defaults.dictionaryForKey(statusKey);
        // A check run by another process (`trovix check-for-updates`) shows
        // here as soon as the settings file changes.
        QObject::disconnect(m_statusObserver);
        // So does automatic checking switched elsewhere
        // (`trovix defaults write SUEnableAutomaticChecks`).
        m_statusObserver = connect(&defaults, &platform::UserDefaults::didChange, this, [this] {
            const QVariantMap stored =
                platform::UserDefaults::standard().dictionaryForKey(statusKey);
            const bool switchBehind =
                m_autoUpdateCheckingSwitch &&
                m_autoUpdateCheckingSwitch->isChecked() != checksAutomatically();
            if (m_status && stored != *m_status) {
                m_status = stored;
                updateControls();
            } else if (switchBehind) {
                updateControls();
            }
        });
    }
    return *m_status;
}

void QXSparkleWrapper::setUpdateVersion(const std::optional<QString>& version, bool skipped)
{
    m_fallbackTimer.stop();
    status();
    const QString current = currentShortVersionString();
    if (!current.isEmpty()) {
        m_status->insert(currentVersionKey, current);
        if (version) {
            m_status->insert(updateVersionKey, *version);
            m_status->insert(checkDateKey, QDateTime::currentSecsSinceEpoch());
        } else {
            m_status->remove(updateVersionKey);
        }
        if (version && skipped && !version->isEmpty()) {
            m_status->insert(skippedVersionKey, *version);
        } else {
            m_status->remove(skippedVersionKey);
        }
    } else {
        m_status->remove(currentVersionKey);
    }
    platform::UserDefaults::standard().setObject(*m_status, statusKey);
    updateControls();
    Q_EMIT statusRecorded();
}

QString QXSparkleWrapper::statusDescription()
{
    const QVariantMap record = status();
    const QString current = currentShortVersionString();
    if (current.isEmpty() || stringEntry(record, currentVersionKey) != current ||
        record.value(updateVersionKey).typeId() != QMetaType::QString) {
        return {};
    }
    const QString update = record.value(updateVersionKey).toString();
    const QString name = applicationName();
    if (update.isEmpty()) {
        return QXLocalized::tr("%1 %2 is up to date.").arg(name, current);
    }
    if (stringEntry(record, skippedVersionKey) == update) {
        return QXLocalized::tr("%1 %2 is available and was skipped. You are currently using %3 %4.")
            .arg(name, update, name, current);
    }
    return QXLocalized::tr("%1 %2 is now available! You are currently using %3 %4.")
        .arg(name, update, name, current);
}

QString QXSparkleWrapper::statusDateDescription()
{
    const std::optional<qint64> seconds = checkDate(status());
    if (!seconds) {
        return {};
    }
    const QDateTime date = QDateTime::fromSecsSinceEpoch(*seconds);
    const QLocale locale;
    const QString text = locale.toString(date.date(), QLocale::LongFormat) + QLatin1Char(' ') +
                         locale.toString(date.time(), QLocale::ShortFormat);
    return QXLocalized::tr("Last check: %1").arg(text);
}

void QXSparkleWrapper::updateControls()
{
    if (!m_autoUpdateCheckingSwitch) {
        return;
    }
    {
        const QSignalBlocker blocker(m_autoUpdateCheckingSwitch);
        m_autoUpdateCheckingSwitch->setChecked(checksAutomatically());
    }
    const QString sentence = statusDescription();
    if (m_statusTextField) {
        // The sentence holds the feed's version text: never read as markup.
        m_statusTextField->setTextFormat(Qt::PlainText);
        m_statusTextField->setText(sentence);
        m_statusTextField->setTextInteractionFlags(sentence.isEmpty() ? Qt::NoTextInteraction
                                                                      : Qt::TextSelectableByMouse);
        // Read out even before the first check, so the field is never an
        // unnamed blank.
        m_statusTextField->setAccessibleName(
            sentence.isEmpty() ? QXLocalized::tr("No update check yet") : sentence);
    }
    if (m_statusDateTextField) {
        const QString date = sentence.isEmpty() ? QString() : statusDateDescription();
        m_statusDateTextField->setTextFormat(Qt::PlainText);
        m_statusDateTextField->setText(date);
        m_statusDateTextField->setTextInteractionFlags(date.isEmpty() ? Qt::NoTextInteraction
                                                                      : Qt::TextSelectableByMouse);
        m_statusDateTextField->setAccessibleName(date.isEmpty() ? QXLocalized::tr("Last check")
                                                                : date);
    }
    Q_EMIT controlsUpdated();
}

// The update menu -------------------------------------------------------------------

void QXSparkleWrapper::menuNeedsUpdate(platform::Menu& menu)
{
    while (platform::MenuItem* last = menu.lastItem()) {
        if (last->tag() != 0) {
            break;
        }
        menu.removeItem(last);
    }
    menu.addItem(QXLocalized::tr("Check Now..."), QStringLiteral("checkForUpdates:"),
                 [this](platform::MenuItem&) { checkForUpdates(); });
    const QString sentence = statusDescription();
    if (!sentence.isEmpty()) {
        menu.addSeparator();
        menu.addItem(sentence)->setEnabled(false);
        const QString date = statusDateDescription();
        if (!date.isEmpty()) {
            menu.addItem(date)->setEnabled(false);
        }
    }
    menu.addSeparator();
    platform::MenuItem* automatic = menu.addItem(
        QXLocalized::tr("Check Automatically"), QStringLiteral("toggleAutomaticChecking:"),
        [this](platform::MenuItem&) { toggleAutomaticChecking(); });
    automatic->setState(checksAutomatically() ? platform::MenuItem::State::On
                                              : platform::MenuItem::State::Off);
}

// Updater callbacks -------------------------------------------------------------------

void QXSparkleWrapper::updaterDidFinishLoadingAppcast(platform::Updater&)
{
    // Counts as "up to date" unless a result arrives before the next pass of
    // the event loop.
    m_fallbackTimer.start();
}

void QXSparkleWrapper::updaterDidFindValidUpdate(platform::Updater&,
                                                 const platform::AppcastItem& item)
{
    setUpdateVersion(item.displayVersionString());
}

void QXSparkleWrapper::updaterDidNotFindUpdate(platform::Updater&)
{
    setUpdateVersion(QString(QLatin1String("")));
}

void QXSparkleWrapper::updaterDidFindSkippedUpdate(platform::Updater&,
                                                   const platform::AppcastItem& item)
{
    setUpdateVersion(item.displayVersionString(), true);
}

void QXSparkleWrapper::updaterDidNotFindUpdateFallback()
{
    setUpdateVersion(QString(QLatin1String("")));
}

void QXSparkleWrapper::updaterDidAbort(platform::Updater&, const QString& message)
{
    // The record keeps the last result that was reached.
    Q_EMIT checkAborted(message);
}
