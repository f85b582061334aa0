#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

namespace platform {

// One guarded load of update information (the feed, or release notes): only
// addresses the feed policy allows, redirects that keep to it, at most
// maximumBytes (the announced length and the bytes as they arrive), and a
// transfer timeout. A local file is read only when it is a regular file. Always asynchronous:
// finished() comes from the event loop, also for an address refused at once.
class FeedDownload : public QObject
{
    Q_OBJECT

public:
    static constexpr qint64 maximumBytes = 1024 * 1024;
    // Seconds a transfer may stand still. The environment variable
    // TROVIX_UPDATE_TRANSFER_TIMEOUT_MS, set only by tests, shortens it so a
    // server that never answers is given up quickly.
    static constexpr int transferTimeoutSeconds = 15;
    // Seconds a whole transfer may take, also one that never stands still
    // that long (shortened in the same proportion by the variable above).
    static constexpr int overallTimeoutSeconds = 60;
    static int transferTimeoutMilliseconds();

    FeedDownload(QNetworkAccessManager& network, const QUrl& url, QObject* parent = nullptr);
    ~FeedDownload() override;

    QUrl url() const { return m_url; }
    void start();

Q_SIGNALS:
    // ok with the whole body, or not ok with a message for people.
    void finished(bool ok, const QByteArray& body, const QString& contentType,
                  const QString& message);

private:
    void fail(const QString& message);
    void readLocalFile();
    void readAvailable();
    void replyFinished();

    QNetworkAccessManager& m_network;
    QUrl m_url;
    QPointer<QNetworkReply> m_reply;
    QByteArray m_body;
    // Set when this object stopped the transfer, so that the reply's own
    // error does not replace the reason.
    QString m_abortMessage;
    // Caps a transfer that trickles along without ever standing still.
    QTimer m_overallTimer;
    bool m_done = false;
};

} // namespace platform
