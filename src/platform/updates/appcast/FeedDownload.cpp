#include "platform/updates/appcast/FeedDownload.h"

#include "platform/files/RegularFile.h"
#include "platform/updates/FeedUrlPolicy.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <optional>

namespace platform {
namespace {

QString shown(const QUrl& url)
{
    return url.toDisplayString(QUrl::RemoveUserInfo | QUrl::RemoveQuery | QUrl::RemoveFragment);
}

QString tooLargeMessage()
{
    return QCoreApplication::translate("Trovix", "The update feed is larger than 1 MB.");
}

} // namespace

static_assert(FeedDownload::overallTimeoutSeconds % FeedDownload::transferTimeoutSeconds == 0,
              "the overall limit is a whole number of stall limits");

int FeedDownload::transferTimeoutMilliseconds()
{
    bool ok = false;
    const int fromEnvironment =
        qEnvironmentVariableIntValue("TROVIX_UPDATE_TRANSFER_TIMEOUT_MS", &ok);
    if (ok && fromEnvironment > 0 && fromEnvironment < transferTimeoutSeconds * 1000) {
        return fromEnvironment;
    }
    return transferTimeoutSeconds * 1000;
}

FeedDownload::FeedDownload(QNetworkAccessManager& network, const QUrl& url, QObject* parent)
    : QObject(parent), m_network(network), m_url(url)
{
    m_overallTimer.setSingleShot(true);
    connect(&m_overallTimer, &QTimer::timeout, this, [this] {
        m_abortMessage =
            QCoreApplication::translate("Trovix", "The update server did not answer within %1 s.")
                .arg(m_overallTimer.interval() / 1000.0);
        if (m_reply) {
            m_reply->abort();
        }
    });
}

FeedDownload::~FeedDownload()
{
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        m_reply->deleteLater();
    }
}

void FeedDownload::fail(const QString& message)
{
    if (m_done) {
        return;
    }
    m_done = true;
    Q_EMIT finished(false, {}, {}, message);
}

void FeedDownload::start()
{
    if (!FeedUrlPolicy::isAllowedFeedUrl(m_url)) {
        QString message;
        if (m_url.isEmpty()) {
            message = QCoreApplication::translate("Trovix", "No update feed address is set.");
        } else if (!m_url.userInfo().isEmpty()) {
            message = QCoreApplication::translate(
                "Trovix", "The update feed address must not hold a user name or password.");
        } else {
            message =
                QCoreApplication::translate(
                    "Trovix", "The update feed address %1 is not allowed: Trovix loads update "
                              "information over https only.")
                    .arg(shown(m_url));
        }
        QTimer::singleShot(0, this, [this, message] { fail(message); });
        return;
    }
    if (m_url.isLocalFile()) {
        QTimer::singleShot(0, this, [this] { readLocalFile(); });
        return;
    }
    QNetworkRequest request(m_url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::UserVerifiedRedirectPolicy);
    request.setMaximumRedirectsAllowed(5);
    const int timeout = transferTimeoutMilliseconds();
    request.setTransferTimeout(timeout);
    request.setHeader(QNetworkRequest::UserAgentHeader,
                      QStringLiteral("Trovix/%1").arg(QStringLiteral(TROVIX_VERSION)));
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    m_reply = m_network.get(request);
    m_overallTimer.start(timeout * (overallTimeoutSeconds / transferTimeoutSeconds));

    connect(m_reply, &QNetworkReply::redirected, this, [this](const QUrl& target) {
        const QUrl from = m_reply->url();
        const QUrl resolved = from.resolved(target);
        if (FeedUrlPolicy::isAllowedRedirect(from, resolved)) {
            Q_EMIT m_reply->redirectAllowed();
            return;
        }
        m_abortMessage = QCoreApplication::translate(
                             "Trovix", "The update server sent Trovix on to %1, which is not "
                                       "allowed: Trovix loads update information over https only.")
                             .arg(shown(resolved));
        m_reply->abort();
    });
    connect(m_reply, &QNetworkReply::metaDataChanged, this, [this] {
        const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > maximumBytes) {
            m_abortMessage = tooLargeMessage();
            m_reply->abort();
        }
    });
    connect(m_reply, &QNetworkReply::readyRead, this, &FeedDownload::readAvailable);
    connect(m_reply, &QNetworkReply::finished, this, &FeedDownload::replyFinished);
}

void FeedDownload::readLocalFile()
{
    // Read here rather than by the network layer, so that a named pipe or a
    // device in the feed's place is refused instead of blocking or filling
    // memory.
    QString error;
    RegularFile::Failure failure = RegularFile::Failure::None;
    const std::optional<QByteArray> data =
        RegularFile::read(m_url.toLocalFile(), maximumBytes, &error, &failure);
    if (!data) {
        if (failure == RegularFile::Failure::TooLarge) {
            fail(tooLargeMessage());
        } else if (failure == RegularFile::Failure::NotRegular) {
            fail(QCoreApplication::translate("Trovix", "The update feed %1 is not a regular file.")
                     .arg(shown(m_url)));
        } else {
            fail(QCoreApplication::translate("Trovix", "The update feed could not be loaded: %1")
                     .arg(error));
        }
        return;
    }
    m_done = true;
    Q_EMIT finished(true, *data, {}, {});
}

void FeedDownload::readAvailable()
{
    if (!m_reply || !m_abortMessage.isEmpty()) {
        return;
    }
    // One byte more than allowed is enough to know the feed is too large.
    m_body += m_reply->read(maximumBytes + 1 - m_body.size());
    if (m_body.size() > maximumBytes) {
        m_abortMessage = tooLargeMessage();
        m_body.clear();
        m_reply->abort();
    }
}

void FeedDownload::replyFinished()
{
    m_overallTimer.stop();
    QNetworkReply* reply = m_reply;
    m_reply = nullptr;
    reply->deleteLater();
    if (!m_abortMessage.isEmpty()) {
        fail(m_abortMessage);
        return;
    }
    if (reply->error() == QNetworkReply::OperationCanceledError ||
        reply->error() == QNetworkReply::TimeoutError) {
        fail(QCoreApplication::translate("Trovix", "The update server did not answer within %1 s.")
                 .arg(transferTimeoutMilliseconds() / 1000.0));
        return;
    }
    if (reply->error() != QNetworkReply::NoError) {
        fail(QCoreApplication::translate("Trovix", "The update feed could not be loaded: %1")
                 .arg(reply->errorString()));
        return;
    }
    readAvailable();
    if (!m_abortMessage.isEmpty()) {
        fail(m_abortMessage);
        return;
    }
    m_done = true;
    Q_EMIT finished(true, m_body, reply->header(QNetworkRequest::ContentTypeHeader).toString(), {});
}

} // namespace platform
