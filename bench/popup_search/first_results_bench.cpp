// Time from the first keystroke in a pop-up to the first results painted in
// its search window, with the application's menu tree not read before
// (cold) and kept from the round before (warm). A plain timing binary;
// figures go to standard output.

#include "menus/QXAccessibility.h"
#include "menus/QXProxyMenuItem.h"
#include "platform/accessibility/MenuTreeCache.h"
#include "search/MenuSearchModel.h"
#include "search/MenuSearchPopup.h"
#include "search/SearchHistory.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <algorithm>

namespace {

QTextStream out(stdout);

// Notes the time of the search window's first paint that shows a result,
// and closes the window once the tree has been read whole (so that it is
// kept for the next round).
class FirstResultsWatch : public QObject
{
public:
    FirstResultsWatch(MenuSearchPopup& popup, QListWidget& list, platform::MenuTreeRead& read)
        : m_popup(popup), m_list(list), m_read(read)
    {
        list.viewport()->installEventFilter(this);
    }

    qint64 elapsedNs = -1;
    QElapsedTimer timer;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && m_list.count() > 0 && elapsedNs < 0) {
            // Measured after this paint has been done.
            QTimer::singleShot(0, &m_popup, [this] {
                elapsedNs = timer.nsecsElapsed();
                if (m_read.isFinished()) {
                    m_popup.hide();
                } else {
                    connect(&m_read, &platform::MenuTreeRead::finished, &m_popup, &QWidget::hide);
                }
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    MenuSearchPopup& m_popup;
    QListWidget& m_list;
    platform::MenuTreeRead& m_read;
};

double medianMs(QList<qint64> nanoseconds)
{
    std::sort(nanoseconds.begin(), nanoseconds.end());
    return nanoseconds.isEmpty() ? 0.0 : double(nanoseconds.at(nanoseconds.size() / 2)) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("pid"), QStringLiteral("The application to search."),
                      QStringLiteral("pid")});
    parser.addOption({QStringLiteral("rounds"), QStringLiteral("Rounds (default 20)."),
                      QStringLiteral("n"), QStringLiteral("20")});
    parser.addOption({QStringLiteral("query"), QStringLiteral("The first keystroke(s)."),
                      QStringLiteral("text"), QStringLiteral("s")});
    parser.process(application);
    const qint64 pid = parser.value(QStringLiteral("pid")).toLongLong();
    const int rounds = std::max(1, parser.value(QStringLiteral("rounds")).toInt());
    const QString query = parser.value(QStringLiteral("query"));
    if (pid <= 0 || !QXAccessibilityPrepare()) {
        out << "usage: trovix-bench-popup-search --pid N [--rounds N] [--query TEXT] (on a "
               "desktop with accessibility)\n";
        return 2;
    }
    QTemporaryDir state;
    SearchHistory history(state.filePath(QStringLiteral("history.json")));

    QList<qint64> cold;
    QList<qint64> warm;
    qsizetype items = 0;
    QString source;
    for (int round = 0; round < rounds * 2; ++round) {
        const bool isCold = round % 2 == 0;
        static platform::MenuTreeCache cache;
        if (isCold) {
            cache.clear();
        }
        QElapsedTimer timer;
        timer.start();
        MenuSearchModel model(&history);
        model.setKeyEquivalentReader(&QXProxyMenuItem::keyEquivalentDisplayText);
        std::unique_ptr<platform::MenuTreeRead> read = cache.startRead(pid, 50000);
        platform::MenuTreeRead* reading = read.get();
        model.addApplication(pid, QStringLiteral("bench"), std::move(read));
        MenuSearchPopup popup(model, platform::Menu::Appearance::System, 0);
        FirstResultsWatch watch(popup, *popup.findChild<QListWidget*>(), *reading);
        watch.timer = timer;
        popup.exec(QPoint(100, 100), query);
        if (watch.elapsedNs < 0) {
            out << "no results for \"" << query << "\"\n";
            return 1;
        }
        (isCold ? cold : warm).append(watch.elapsedNs);
        items = std::max(items, model.itemCount());
        source = platform::menuTreeSourceName(reading->tree().source);
    }
    out << QStringLiteral("first results after typing \"%1\", %2 items (%3): cold %4 ms, warm "
                          "%5 ms (median of %6)\n")
               .arg(query)
               .arg(items)
               .arg(source)
               .arg(medianMs(cold), 0, 'f', 1)
               .arg(medianMs(warm), 0, 'f', 1)
               .arg(rounds);
    return 0;
}
