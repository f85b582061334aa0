// The time from asking the help window for a page to the page shown with its
// header and quick-access bar laid out.
#include "help/QXBrowserWindow.h"
#include "help/QXHelpIndex.h"
#include "help/QXHelpManager.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QToolButton>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

QString pageName(int i)
{
    return QStringLiteral("page%1.html").arg(i);
}

bool writeBook(const QString& folder, int pages)
{
    if (!QDir().mkpath(folder)) {
        return false;
    }
    for (int i = 0; i < pages; ++i) {
        QString body = QStringLiteral("<h1>Chapter %1</h1>").arg(i);
        for (int a = 0; a < 10; ++a) {
            body += QStringLiteral("<a name=\"[%1]Topic_%2_%3\"></a><h2>Topic %2</h2>"
                                   "<p>Hold the modifier and click the right mouse button: the "
                                   "menu bar of the application opens at the pointer. Hot keys, "
                                   "menus, shortcuts and the blacklist are explained here.</p>")
                        .arg(a % 2 ? QStringLiteral("Menus") : QStringLiteral("Hot Keys"))
                        .arg(a)
                        .arg(i);
        }
        const QString html =
            QStringLiteral("<html><head><title>Chapter %1</title>"
                           "<!--com.quirkworks.help.index[%1]-->"
                           "<!--com.quirkworks.help.quickaccess[Menus|Hot Keys]--></head>"
                           "<body>%2</body></html>")
                .arg(i)
                .arg(body);
        QFile file(folder + u'/' + pageName(i));
        if (!file.open(QIODevice::WriteOnly) || file.write(html.toUtf8()) < 0) {
            return false;
        }
    }
    return true;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

// Opens a page and waits until it is shown and laid out; milliseconds.
double timeOpening(QXHelpManager& manager, const QString& path)
{
    QElapsedTimer timer;
    timer.start();
    manager.openPageAtRelativePath(path);
    while (manager.currentRelativePath() != path) {
        QCoreApplication::processEvents();
    }
    QCoreApplication::sendPostedEvents(); // layout requests
    manager.window()->grab(QRect(0, 0, 1, 1));
    return timer.nsecsElapsed() / 1e6;
}

void saveScreenshots(QXHelpManager& manager, const QString& folder)
{
    QDir().mkpath(folder);
    manager.openPageAtRelativePath(pageName(1), {}, {QStringLiteral("blacklist")});
    manager.showSearchField(true);
    manager.searchField()->setText(QStringLiteral("blacklist"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    const QPalette light = QApplication::style()->standardPalette();
    QPalette dark = light;
    dark.setColor(QPalette::Window, QColor(45, 45, 45));
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    dark.setColor(QPalette::AlternateBase, QColor(45, 45, 45));
    dark.setColor(QPalette::Text, Qt::white);
    dark.setColor(QPalette::Button, QColor(53, 53, 53));
    dark.setColor(QPalette::ButtonText, Qt::white);
    dark.setColor(QPalette::Mid, QColor(80, 80, 80));
    dark.setColor(QPalette::PlaceholderText, QColor(160, 160, 160));
    dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    for (const auto& [name, palette] :
         {std::pair{QStringLiteral("light"), light}, std::pair{QStringLiteral("dark"), dark}}) {
        QApplication::setPalette(palette);
        QCoreApplication::processEvents();
        manager.window()->grab().save(folder + QStringLiteral("/help-window-") + name +
                                      QStringLiteral(".png"));
        QMenu* contents = manager.contentsMenu();
        contents->popup(QPoint(0, 0));
        QCoreApplication::processEvents();
        contents->grab().save(folder + QStringLiteral("/contents-menu-") + name +
                              QStringLiteral(".png"));
        contents->hide();
    }
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({QStringLiteral("pages"), QStringLiteral("Pages in the book."),
                      QStringLiteral("N"), QStringLiteral("60")});
    parser.addOption({QStringLiteral("rounds"), QStringLiteral("Pages opened."),
                      QStringLiteral("N"), QStringLiteral("200")});
    parser.addOption({QStringLiteral("screenshots"), QStringLiteral("Save pictures to DIR."),
                      QStringLiteral("DIR")});
    parser.process(app);
    const int pages = std::max(2, parser.value(QStringLiteral("pages")).toInt());
    const int rounds = std::max(1, parser.value(QStringLiteral("rounds")).toInt());

    QTemporaryDir resources;
    if (!writeBook(resources.filePath(QStringLiteral("Book")), pages)) {
        std::fprintf(stderr, "cannot write the help book\n");
        return 1;
    }
    QXHelpManager manager(std::make_unique<QXHelpIndex>(
        QXHelpBookSource{QStringLiteral("Book"), QString(), resources.path()},
        QStringLiteral("Benchmark Help")));

    QElapsedTimer indexTimer;
    indexTimer.start();
    manager.index().build();
    while (!manager.index().isReady()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    const double indexMs = indexTimer.nsecsElapsed() / 1e6;

    const double firstMs = timeOpening(manager, pageName(0));
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        times.push_back(timeOpening(manager, pageName(1 + i % (pages - 1))));
    }
    std::printf("help book: %d pages, index ready after %.1f ms (worker thread)\n", pages, indexMs);
    std::printf("first page (builds the window): %.1f ms\n", firstMs);
    std::printf("further pages: median %.2f ms, worst %.2f ms over %d\n", median(times),
                *std::max_element(times.begin(), times.end()), rounds);

    if (parser.isSet(QStringLiteral("screenshots"))) {
        saveScreenshots(manager, parser.value(QStringLiteral("screenshots")));
    }
    return 0;
}
