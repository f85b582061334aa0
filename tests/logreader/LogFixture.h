#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>
#include <QtGlobal>

// Writes the output of the fixture log tool (log_fixture_tool) and reads back
// the argument lists it was run with. Settings live in the environment, which
// the tool inherits.
class LogFixture
{
public:
    LogFixture()
    {
        qputenv("LOG_FIXTURE_ARGS", path("args").toLocal8Bit());
        qputenv("LOG_FIXTURE_SHOW", path("show.json").toLocal8Bit());
        qputenv("LOG_FIXTURE_STREAM", path("stream.json").toLocal8Bit());
        qunsetenv("LOG_FIXTURE_CHUNK");
        qunsetenv("LOG_FIXTURE_THEN");
        qunsetenv("LOG_FIXTURE_EXIT");
        qunsetenv("LOG_FIXTURE_STDERR");
        setShow({});
        setStream({});
    }
    ~LogFixture()
    {
        for (const char* name :
             {"LOG_FIXTURE_ARGS", "LOG_FIXTURE_SHOW", "LOG_FIXTURE_STREAM", "LOG_FIXTURE_CHUNK",
              "LOG_FIXTURE_THEN", "LOG_FIXTURE_EXIT", "LOG_FIXTURE_STDERR"}) {
            qunsetenv(name);
        }
    }

    static QString tool() { return QStringLiteral(LOG_FIXTURE_TOOL); }

    QString path(const char* name) const { return m_dir.filePath(QLatin1String(name)); }

    // One entry as the tool prints it.
    static QByteArray entry(const QByteArray& message, const QByteArray& timestamp,
                            const QByteArray& process = "/opt/Trovix.app/Contents/MacOS/trovix",
                            const QByteArray& sender = "/opt/Trovix.app/Contents/MacOS/trovix")
    {
        return "{\n  \"timestamp\" : \"" + timestamp + "\",\n  \"eventMessage\" : \"" + message +
               "\",\n  \"processImagePath\" : \"" + process + "\",\n  \"senderImagePath\" : \"" +
               sender + "\",\n  \"eventType\" : \"logEvent\",\n  \"processID\" : 42\n}";
    }

    static QByteArray array(const QList<QByteArray>& entries, const QByteArray& header = {})
    {
        QByteArray bytes = header + "[";
        for (qsizetype i = 0; i < entries.size(); ++i) {
            bytes += entries.at(i) + (i + 1 < entries.size() ? "," : "]\n");
        }
        if (entries.isEmpty()) {
            bytes += "]\n";
        }
        return bytes;
    }

    void setShow(const QByteArray& bytes) { write("show.json", bytes, false); }
    void setStream(const QByteArray& bytes) { write("stream.json", bytes, false); }
    // Bytes the running stream picks up and writes.
    void appendStream(const QByteArray& bytes) { write("stream.json", bytes, true); }

    QStringList runs() const
    {
        QFile file(path("args"));
        if (!file.open(QIODevice::ReadOnly)) {
            return {};
        }
        return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }

private:
    void write(const char* name, const QByteArray& bytes, bool append)
    {
        QFile file(path(name));
        if (file.open(append ? QIODevice::Append : QIODevice::WriteOnly | QIODevice::Truncate)) {
            file.write(bytes);
        }
    }

    QTemporaryDir m_dir;
};
