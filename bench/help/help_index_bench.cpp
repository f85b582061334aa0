// Reading and indexing a generated help book of ordinary pages, and the find
// field's suggestion search over it.
#include "help/QXHelpIndex.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const QStringList vocabulary = {
    QStringLiteral("menu"),        QStringLiteral("hotkeys"),  QStringLiteral("pointer"),
    QStringLiteral("right"),       QStringLiteral("click"),    QStringLiteral("modifier"),
    QStringLiteral("settings"),    QStringLiteral("window"),   QStringLiteral("application"),
    QStringLiteral("café"),        QStringLiteral("clé"),      QStringLiteral("accessibility"),
    QStringLiteral("drop-down"),   QStringLiteral("keyboard"), QStringLiteral("shortcut"),
    QStringLiteral("frontmost"),   QStringLiteral("status"),   QStringLiteral("bar"),
    QStringLiteral("preferences"), QStringLiteral("log"),      QStringLiteral("search"),
};

// A page of about 4 KB: markers, a title, paragraphs of words (some unique to
// the page) and a few anchors.
QByteArray page(int number, QRandomGenerator& random)
{
    QString html = QStringLiteral("<html><head><title>Page %1</title>"
                                  "<!--com.quirkworks.help.index[%2.%3]-->"
                                  "<!--com.quirkworks.help.quickaccess[Menus|Keys]-->"
                                  "</head><body>\n")
                       .arg(number)
                       .arg(number / 10 + 1)
                       .arg(number % 10);
    for (int paragraph = 0; paragraph < 6; ++paragraph) {
        html += QStringLiteral("<h2><a name=\"[%1]Topic_%2_%3\"></a>Topic</h2>\n<p>")
                    .arg(paragraph % 2 ? QStringLiteral("Menus") : QStringLiteral("Keys"))
                    .arg(number)
                    .arg(paragraph);
        for (int word = 0; word < 90; ++word) {
            html += vocabulary.at(int(random.bounded(vocabulary.size())));
            html += word % 13 == 0 ? QStringLiteral(" term%1x ").arg(number * 7 + word)
                                   : QStringLiteral(" ");
        }
        html += QStringLiteral("</p>\n<!-- an author's note -->\n");
    }
    html += QStringLiteral("</body></html>\n");
    return html.toUtf8();
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
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    const int pageCount = intOption(arguments, QStringLiteral("--pages"), 1000);
    const int rounds = std::max(1, intOption(arguments, QStringLiteral("--rounds"), 5));

    QTemporaryDir dir;
    const QString book = dir.path() + QStringLiteral("/Resources/BenchHelp");
    QDir().mkpath(book);
    QRandomGenerator random(42);
    qint64 bytes = 0;
    for (int i = 0; i < pageCount; ++i) {
        QFile file(book + QStringLiteral("/page%1.html").arg(i));
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        bytes += file.write(page(i, random));
    }
    const QXHelpBookSource source{QStringLiteral("BenchHelp"), QString(),
                                  dir.path() + QStringLiteral("/Resources")};
    std::printf("help book: %d pages, %.1f MB\n", pageCount, double(bytes) / 1e6);

    // From the request to the ready index, through the worker thread and the
    // hand-over to the main thread (the files are in the page cache).
    std::vector<double> indexing;
    std::unique_ptr<QXHelpIndex> index;
    for (int round = 0; round < rounds; ++round) {
        index = std::make_unique<QXHelpIndex>(source, QStringLiteral("Bench Help"));
        QElapsedTimer timer;
        timer.start();
        bool ready = false;
        index->whenReady(&application, [&ready] { ready = true; });
        while (!ready)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        indexing.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::printf("indexing %d pages: median %.1f ms (min %.1f, max %.1f) over %d rounds\n",
                int(index->pageRepresentations().size()), median(indexing),
                *std::min_element(indexing.begin(), indexing.end()),
                *std::max_element(indexing.begin(), indexing.end()), rounds);

    // One suggestion search per keystroke as a user types, over the ready index.
    const QStringList queries = {
        QStringLiteral("k"),
        QStringLiteral("ke"),
        QStringLiteral("key"),
        QStringLiteral("hot key"),
        QStringLiteral("cafe"),
        QStringLiteral("CLÉ menu"),
        QStringLiteral("term"),
        QStringLiteral("nothing here"),
        QStringLiteral("menu bar status"),
    };
    std::printf("%-18s %10s %10s %8s\n", "query", "median ms", "max ms", "titles");
    std::vector<double> all;
    for (const QString& query : queries) {
        std::vector<double> times;
        qsizetype found = 0;
        for (int run = 0; run < 50; ++run) {
            QElapsedTimer timer;
            timer.start();
            // No page open: no query stops early, every page is visited.
            found = index->searchSuggestionsForQuery(query, QString()).titles.size();
            times.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
        all.insert(all.end(), times.begin(), times.end());
        std::printf("%-18s %10.3f %10.3f %8lld\n", qPrintable(query), median(times),
                    *std::max_element(times.begin(), times.end()), static_cast<long long>(found));
    }
    std::printf("suggestion search, all queries: median %.3f ms\n", median(all));
    return 0;
}
