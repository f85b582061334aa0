// The log window kept open while the program's own entries keep arriving:
// resident memory per 1 000 entries and the time one redraw takes.
#include "logreader/ILRIntegratedLogReader.h"
#include "logreader/ILRLogWindow.h"

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Entry i, one second after entry i - 1, so the list keeps arrival order.
QByteArray entry(int i)
{
    const QDateTime base(QDate(2026, 12, 6), QTime(0, 0), Qt::UTC);
    const QByteArray timestamp =
        base.addSecs(i).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toLatin1();
    return "{\n  \"timestamp\" : \"" + timestamp +
           ".123456+0000\",\n  \"eventMessage\" : \"[ILR] message number " + QByteArray::number(i) +
           " with some ordinary text in it\",\n  \"processImagePath\" : "
           "\"/usr/lib/trovix/Trovix.app/Contents/MacOS/trovix\",\n  \"senderImagePath\" : "
           "\"/usr/lib/trovix/Trovix.app/Contents/MacOS/trovix\",\n  \"eventType\" : "
           "\"logEvent\",\n  \"processID\" : 4242\n}";
}

// Resident set size of this process in MB.
double residentMB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').constFirst().toDouble() / 1024.0;
        }
    }
    return -1;
}

int intOption(const QStringList& arguments, const QString& name, int fallback)
{
    const qsizetype index = arguments.indexOf(name);
    return index >= 0 && index + 1 < arguments.size() ? arguments.at(index + 1).toInt() : fallback;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values.at(values.size() / 2);
}

// Whether the last line of the log view shows entry i.
bool shows(ILRIntegratedLogReader& reader, int i)
{
    const QString last = reader.window()->logView()->document()->lastBlock().text();
    return last.contains(QStringLiteral("message number %1 ").arg(i));
}

// Runs the event loop until entry i is on the last line, at most timeout ms.
bool waitUntilShown(ILRIntegratedLogReader& reader, int i, int timeout)
{
    QElapsedTimer timer;
    timer.start();
    while (!shows(reader, i)) {
        if (timer.elapsed() > timeout) {
            return false;
        }
        QSignalSpy updated(&reader, &ILRIntegratedLogReader::displayUpdated);
        updated.wait(200);
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    const int count = intOption(arguments, QStringLiteral("--entries"), 5000);
    const int burst = std::max(1, intOption(arguments, QStringLiteral("--burst"), 25));
    const int every = std::max(burst, intOption(arguments, QStringLiteral("--report-every"), 1000));

    // A stand-in for the log tool: an empty archive and a live stream that
    // follows a file this program appends to.
    QTemporaryDir dir;
    const QString streamPath = dir.filePath(QStringLiteral("stream.json"));
    QFile stream(streamPath);
    stream.open(QIODevice::WriteOnly);
    stream.write("Filtering the log data\n[" + entry(0));
    stream.flush();
    QFile tool(dir.filePath(QStringLiteral("trovix-log")));
    tool.open(QIODevice::WriteOnly);
    tool.write("#!/bin/sh\ncase \"$1\" in\n  show) echo '[]' ;;\n  *) exec tail -c +1 -f '" +
               streamPath.toUtf8() + "' ;;\nesac\n");
    tool.close();
    tool.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ILRIntegratedLogReader::setLogToolPath(tool.fileName());
    ILRIntegratedLogReader::setSystemLogReadableForTesting(true);

    ILRIntegratedLogReader reader;
    const double start = residentMB();
    reader.displayLog();
    if (!waitUntilShown(reader, 0, 30000)) {
        std::fprintf(stderr, "the first entry never showed\n");
        return 1;
    }
    const double first = residentMB();
    std::printf("entries %d in bursts of %d; RSS before the window %.1f MB, after the first "
                "redraw %.1f MB\n",
                count, burst, start, first);
    std::printf("%8s %10s %12s %14s %10s\n", "entries", "RSS MB", "growth MB", "redraw ms",
                "redraws");

    int sent = 1;
    int lastRenders = reader.renderCount();
    while (sent < count) {
        QByteArray bytes;
        const int end = std::min(count, (sent / burst + 1) * burst);
        for (int i = sent; i < end; ++i) {
            bytes += "," + entry(i);
        }
        stream.write(bytes);
        stream.flush();
        sent = end;
        if (!waitUntilShown(reader, sent - 1, 120000)) {
            std::fprintf(stderr, "entry %d never showed\n", sent - 1);
            return 1;
        }
        if (sent % every == 0 || sent == count) {
            // A few redraws of the whole list as it now stands.
            std::vector<double> times;
            for (int round = 0; round < 3; ++round) {
                QSignalSpy updated(&reader, &ILRIntegratedLogReader::displayUpdated);
                QElapsedTimer timer;
                timer.start();
                reader.updateDisplay();
                if (updated.isEmpty() && !updated.wait(120000)) {
                    break;
                }
                times.push_back(timer.nsecsElapsed() / 1e6);
            }
            const double rss = residentMB();
            std::printf("%8d %10.1f %12.1f %14.1f %10d\n", sent, rss, rss - first, median(times),
                        reader.renderCount() - lastRenders);
            std::fflush(stdout);
            lastRenders = reader.renderCount();
        }
    }
    reader.reset();
    delete reader.window();
    return 0;
}
