// Splitting and parsing the log tool's output against one QJsonDocument
// parse of the same bytes, the largest buffer the splitter held, and the time
// from opening the log window to the first text with a long archive.
#include "logreader/ILRIntegratedLogReader.h"
#include "logreader/ILRJSONLogSplitter.h"
#include "logreader/ILRLogWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

QByteArray entry(int i)
{
    return "{\n  \"timestamp\" : \"2026-12-06 10:" + QByteArray::number(10 + i / 60 % 50) + ":" +
           QByteArray::number(10 + i % 50) +
           ".123456+0000\",\n  \"eventMessage\" : \"[ILR] message number " + QByteArray::number(i) +
           " with some ordinary text in it\",\n  \"processImagePath\" : "
           "\"/usr/lib/trovix/Trovix.app/Contents/MacOS/trovix\",\n  \"senderImagePath\" : "
           "\"/usr/lib/trovix/Trovix.app/Contents/MacOS/trovix\",\n  \"subsystem\" : \"\",\n  "
           "\"eventType\" : \"logEvent\",\n  \"messageType\" : \"Default\",\n  \"processID\" : "
           "4242\n}";
}

QByteArray output(int count)
{
    QByteArray bytes = "Filtering the log data using \"processImagePath CONTAINS x\"\n[";
    for (int i = 0; i < count; ++i) {
        bytes += entry(i) + (i + 1 < count ? "," : "]\n");
    }
    return bytes;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

int intOption(const QStringList& arguments, const QString& name, int fallback)
{
    const qsizetype index = arguments.indexOf(name);
    return index >= 0 && index + 1 < arguments.size() ? arguments.at(index + 1).toInt() : fallback;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    const int count = intOption(arguments, QStringLiteral("--entries"), 100000);
    const int rounds = intOption(arguments, QStringLiteral("--rounds"), 5);

    const QByteArray bytes = output(count);
    const QByteArray plain = bytes.mid(bytes.indexOf("\n[") + 1);
    std::vector<double> whole;
    std::vector<double> split;
    qsizetype largestBuffer = 0;
    qsizetype objects = 0;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        const QJsonDocument document = QJsonDocument::fromJson(plain);
        objects = document.array().size();
        whole.push_back(timer.nsecsElapsed() / 1e6);

        timer.restart();
        ILRJSONLogSplitter splitter;
        qsizetype delivered = 0;
        for (qsizetype offset = 0; offset < bytes.size(); offset += 65536) {
            const auto batch = splitter.append(QByteArrayView(bytes).sliced(
                offset, std::min<qsizetype>(65536, bytes.size() - offset)));
            for (const QJsonObject& object : batch) {
                const ILRLogEntry parsed(object);
                delivered += parsed.hasDate() ? 1 : 0;
            }
            largestBuffer = std::max(largestBuffer, splitter.bufferedSize());
        }
        split.push_back(timer.nsecsElapsed() / 1e6);
        if (delivered != objects) {
            std::fprintf(stderr, "delivered %lld of %lld entries\n", qlonglong(delivered),
                         qlonglong(objects));
            return 1;
        }
    }
    const double mb = bytes.size() / 1e6;
    std::printf("entries %d, %.1f MB, 64 KiB chunks, median of %d rounds\n", count, mb, rounds);
    std::printf("QJsonDocument, whole array:        %8.1f ms  %6.1f MB/s\n", median(whole),
                mb / median(whole) * 1000);
    std::printf("splitter + entries (dates parsed): %8.1f ms  %6.1f MB/s  ratio %.2f\n",
                median(split), mb / median(split) * 1000, median(whole) / median(split));
    std::printf("largest buffer held: %lld bytes (one entry is %lld bytes)\n",
                qlonglong(largestBuffer), qlonglong(entry(0).size()));

    // Opening the window on an archive of windowEntries entries.
    const int windowEntries = intOption(arguments, QStringLiteral("--window-entries"), 10000);
    QTemporaryDir dir;
    QFile archive(dir.filePath(QStringLiteral("show.json")));
    archive.open(QIODevice::WriteOnly);
    archive.write(output(windowEntries).mid(bytes.indexOf("\n[") + 1));
    archive.close();
    QFile tool(dir.filePath(QStringLiteral("trovix-log")));
    tool.open(QIODevice::WriteOnly);
    tool.write("#!/bin/sh\ncase \"$1\" in\n  show) exec cat '" + archive.fileName().toUtf8() +
               "' ;;\n  *) echo Filtering; echo '['; exec sleep 3600 ;;\nesac\n");
    tool.close();
    tool.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ILRIntegratedLogReader::setLogToolPath(tool.fileName());
    ILRIntegratedLogReader::setSystemLogReadableForTesting(true);

    ILRIntegratedLogReader reader;
    QElapsedTimer timer;
    double firstText = -1;
    double allText = -1;
    const QString last = QStringLiteral("message number %1 ").arg(windowEntries - 1);
    QObject::connect(&reader, &ILRIntegratedLogReader::displayUpdated, [&] {
        const QString text = reader.window()->logView()->toPlainText();
        if (firstText < 0 && text.contains(QLatin1String("message number"))) {
            firstText = timer.nsecsElapsed() / 1e6;
        }
        if (allText < 0 && text.contains(last)) {
            allText = timer.nsecsElapsed() / 1e6;
            application.quit();
        }
    });
    timer.start();
    reader.displayLog();
    application.exec();
    std::printf("log window, %d entries: first text %.1f ms, all entries shown %.1f ms, "
                "%d renderings\n",
                windowEntries, firstText, allText, reader.renderCount());
    reader.reset();
    delete reader.window();
    return 0;
}
