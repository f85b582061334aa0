// The log window: rendering, the view switches, saving, debug logging.
#include "LogFixture.h"
#include "app/QXDebugLogging.h"
#include "logreader/ILRIntegratedLogReader.h"
#include "logreader/ILRIntegratedLogReaderDelegate.h"
#include "logreader/ILRLogRenderer.h"
#include "logreader/ILRLogWindow.h"
#include "logreader/ILRLogWindowFrame.h"
#include "platform/application/memory/MemoryActivation.h"
#include "platform/log/SystemLog.h"
#include "platform/plist/PropertyList.h"
#include "support/AccessibleNames.h"
#include "support/LogCapture.h"
#include "support/TemporaryDefaults.h"
#include "support/TestProgram.h"

#include <QAccessible>
#include <QCheckBox>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolButton>
#include <QtTest>
#include <unistd.h>

namespace {

class NamedFrameDelegate : public ILRIntegratedLogReaderDelegate
{
public:
    explicit NamedFrameDelegate(std::optional<QString> name) : m_name(std::move(name)) {}
    bool respondsToWindowFrameAutosaveName() const override { return true; }
    std::optional<QString> windowFrameAutosaveNameForLogReader(ILRIntegratedLogReader&) override
    {
        return m_name;
    }

private:
    std::optional<QString> m_name;
};

const QString App = QStringLiteral("/opt/Trovix.app/Contents/MacOS/trovix");
const QString Helper = QStringLiteral("/opt/Trovix.app/Contents/Helpers/helper");

ILRLogEntry entry(const QString& message, const QString& process = App, const QString& sender = App,
                  const QString& timestamp = QStringLiteral("2020-01-02 03:04:05.678901+0000"))
{
    return ILRLogEntry(QJsonObject{{QStringLiteral("timestamp"), timestamp},
                                   {QStringLiteral("eventMessage"), message},
                                   {QStringLiteral("processImagePath"), process},
                                   {QStringLiteral("senderImagePath"), sender}});
}

// The rendered text, one line per paragraph, dates replaced by "D" so that
// the cases read the same in every zone and locale.
QString rendered(ILRLogSnapshot snapshot)
{
    const QString text = ILRLogRenderer::render(snapshot)->toRawText();
    QString result;
    for (const QString& line : text.split(QChar::ParagraphSeparator)) {
        if (line.startsWith(u'?') || line.startsWith(QChar(0x21E4)) ||
            line.startsWith(QStringLiteral("\U0001F440"))) {
            result += line + u'\n';
            continue;
        }
        const qsizetype bar = line.indexOf(QLatin1String(" | "));
        const qsizetype cut = bar >= 0 ? bar : line.indexOf(QLatin1String(": "));
        result += QStringLiteral("D") + line.mid(cut) + u'\n';
    }
    result.chop(1);
    return result;
}

QList<ILRLogEntry> repeated(int count, const ILRLogEntry& e)
{
    return QList<ILRLogEntry>(count, e);
}

QByteArray at(int second)
{
    return QStringLiteral("2026-12-06 10:00:%1.000000+0000")
        .arg(second, 2, 10, QLatin1Char('0'))
        .toLatin1();
}

} // namespace

class LogWindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rendering_data()
    {
        QTest::addColumn<QList<ILRLogEntry>>("entries");
        QTest::addColumn<bool>("disableCoalescing");
        QTest::addColumn<bool>("hideSender");
        QTest::addColumn<QString>("expected");

        QTest::newRow("ten repeats coalesce")
            << repeated(10, entry("again")) << false << false << "D | trovix: again (\u00D710)";
        QTest::newRow("coalescing off shows each")
            << repeated(3, entry("again")) << true << false
            << "D | trovix: again\nD | trovix: again\nD | trovix: again";
        QTest::newRow("same message, other sender")
            << QList<ILRLogEntry>{entry("same"), entry("same", App, Helper)} << false << false
            << "D | trovix: same\nD | trovix > helper: same";
        QTest::newRow("sender only when no process")
            << QList<ILRLogEntry>{entry("m", QString(), Helper)} << false << false
            << "D | helper: m";
        QTest::newRow("process only when no sender")
            << QList<ILRLogEntry>{entry("m", App, QString())} << false << false << "D | trovix: m";
        QTest::newRow("hidden sender")
            << QList<ILRLogEntry>{entry("m", App, Helper)} << false << true << "D: m";
        QTest::newRow("bad timestamp shows ?")
            << QList<ILRLogEntry>{entry("m", App, App, QStringLiteral("yesterday"))} << false
            << false << "? | trovix: m";
        QTest::newRow("empty messages are skipped")
            << QList<ILRLogEntry>{entry(QString()), entry("m")} << false << false
            << "D | trovix: m";
        QTest::newRow("several lines stay one paragraph")
            << QList<ILRLogEntry>{entry("one\ntwo\tthree \U0001F440")} << false << false
            << "D | trovix: one\u2028two\tthree \U0001F440";
    }

    void rendering()
    {
        QFETCH(QList<ILRLogEntry>, entries);
        QFETCH(bool, disableCoalescing);
        QFETCH(bool, hideSender);
        QFETCH(QString, expected);
        ILRLogSnapshot snapshot;
        snapshot.entries = entries;
        snapshot.disableCoalescing = disableCoalescing;
        snapshot.hideSender = hideSender;
        QCOMPARE(rendered(snapshot), expected);
    }

    // Dates read in the locale's order with two-digit days and months and
    // the whole year.
    void datesAreZeroPadded_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("expected");
        QTest::newRow("en_US") << "en_US"
                               << "03/06/2026 \u2014 09:05:07.089";
        QTest::newRow("de_DE") << "de_DE"
                               << "06.03.2026 \u2014 09:05:07.089";
        QTest::newRow("fr_FR") << "fr_FR"
                               << "06/03/2026 \u2014 09:05:07.089";
        QTest::newRow("ja_JP") << "ja_JP"
                               << "2026/03/06 \u2014 09:05:07.089";
    }

    void datesAreZeroPadded()
    {
        QFETCH(QString, locale);
        QFETCH(QString, expected);
        const QLocale previous;
        QLocale::setDefault(QLocale(locale));
        const QDateTime local(QDate(2026, 3, 6), QTime(9, 5, 7, 89));
        const QString text = ILRLogEntry::displayText(local.toMSecsSinceEpoch() * 1000);
        QLocale::setDefault(previous);
        QCOMPARE(text, expected);
    }

    // The header names the period; the marker shows where the archive query
    // inserts, and a run of repeats never spans it.
    void headerAndMarker_data()
    {
        QTest::addColumn<qint64>("days");
        QTest::addColumn<qsizetype>("insertion");
        QTest::addColumn<int>("entries");
        QTest::addColumn<QString>("expectedStart");
        QTest::addColumn<QString>("expectedEnd");
        QTest::newRow("empty list while archive runs")
            << qint64(0) << qsizetype(0) << 0 << "\u21E4 1 hour before "
            << "\u2026\n\U0001F440";
        QTest::newRow("one day") << qint64(1) << qsizetype(-1) << 0 << "\u21E4 1 day before "
                                 << "\u2026";
        QTest::newRow("days") << qint64(14) << qsizetype(-1) << 0 << "\u21E4 14 days before "
                              << "\u2026";
        QTest::newRow("after clear") << qint64(-1) << qsizetype(-1) << 0 << "\u21E4 "
                                     << "\u2026";
        QTest::newRow("marker splits a run")
            << qint64(0) << qsizetype(2) << 4 << "\u21E4 1 hour before "
            << "again (\u00D72)\n\U0001F440\nD | trovix: again (\u00D72)";
    }

    void headerAndMarker()
    {
        QFETCH(qint64, days);
        QFETCH(qsizetype, insertion);
        QFETCH(int, entries);
        QFETCH(QString, expectedStart);
        QFETCH(QString, expectedEnd);
        ILRLogSnapshot snapshot;
        snapshot.entries = repeated(entries, entry("again"));
        snapshot.numberOfDays = days;
        snapshot.archiveInsertionIndex = insertion;
        snapshot.updateDate = QDateTime::currentDateTime();
        snapshot.todayPrefix = ILRLogRenderer::todayPrefix();
        const QString text = rendered(snapshot);
        QVERIFY2(text.startsWith(expectedStart), qPrintable(text));
        QVERIFY2(text.endsWith(expectedEnd), qPrintable(text));
        // Today's date is dropped from the header: only the time is left.
        QVERIFY(!text.section(u'\n', 0, 0).contains(QStringLiteral(" \u2014 ")));
    }

    // Opening the window: its title, names for every control, the archive
    // and live entries shown without any action, the clear/stop face and
    // save.
    void windowShowsTheLog()
    {
        Environment e;
        e.log.setShow(LogFixture::array({LogFixture::entry("archived", at(1))}));
        e.log.setStream(LogFixture::array({LogFixture::entry("started", at(2))}, "Filtering\n"));
        QVERIFY(e.reader.displayLog());
        ILRLogWindow* window = e.reader.window();
        QCOMPARE(e.reader.windowTitle(), QStringLiteral("Trovix Log"));
        QCOMPARE(unnamedControls(window), QStringList());
        QTRY_VERIFY_WITH_TIMEOUT(e.text().contains(QLatin1String("started")), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(e.text().contains(QLatin1String("archived")), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), QStringLiteral("Trovix Log"), 10000);
        QCOMPARE(window->clearButton()->text(), QStringLiteral("\u2205"));
        QVERIFY(!window->saveButton()->isHidden());

        e.log.appendStream("," + LogFixture::entry("while open", at(3)));
        QTRY_VERIFY_WITH_TIMEOUT(e.text().contains(QLatin1String("while open")), 10000);

        window->clearButton()->click();
        QVERIFY(!e.text().contains(QLatin1String("archived")));
        QVERIFY(window->clearButton()->isHidden());
        QVERIFY(window->saveButton()->isHidden());
        window->close();
        QVERIFY(!e.reader.hasLogEntryList());
    }

    // The window can be narrower than the bar on one row (a tiling
    // compositor makes it a third of a small screen): there the bar goes
    // onto two rows, every control at its full size and inside the window.
    // Wide again, one row.
    void narrowWindowPutsTheBarOnTwoRows()
    {
        Environment e;
        e.log.setShow(LogFixture::array({LogFixture::entry("archived", at(1))}));
        e.log.setStream(LogFixture::array({}, "Filtering\n"));
        QVERIFY(e.reader.displayLog());
        ILRLogWindow* window = e.reader.window();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        // With entries, save and clear show.
        QTRY_VERIFY_WITH_TIMEOUT(e.text().contains(QLatin1String("archived")), 10000);
        QTRY_VERIFY(window->saveButton()->isVisible());
        const QList<QWidget*> bar = {window->findEarlierResultsButton(), window->clearButton(),
                                     window->debugLoggingSwitch(), window->saveButton(),
                                     window->viewMenuButton()};
        const auto faults = [window, &bar] {
            QStringList found;
            for (const QWidget* control : bar) {
                const QRect area(control->mapTo(window, QPoint()), control->size());
                if (control->isVisible() &&
                    (control->width() < control->minimumSizeHint().width() ||
                     !window->rect().contains(area))) {
                    found << control->accessibleName();
                }
            }
            return found;
        };
        // Two rows: find earlier and clear (those shown) above the rest.
        const auto rows = [window, &bar] {
            int startBottom = 0;
            int endTop = window->height();
            for (qsizetype i = 0; i < bar.size(); ++i) {
                if (!bar.at(i)->isVisible()) {
                    continue;
                }
                const QRect area(bar.at(i)->mapTo(window, QPoint()), bar.at(i)->size());
                if (i < 2) {
                    startBottom = std::max(startBottom, area.bottom());
                } else {
                    endTop = std::min(endTop, area.top());
                }
            }
            return endTop > startBottom ? 2 : 1;
        };
        window->resize(1, 400); // as narrow as the window goes
        QTRY_VERIFY2(faults().isEmpty(), qPrintable(faults().join(u", ")));
        QCOMPARE(rows(), 2);
        window->resize(720, 400);
        QTRY_COMPARE(rows(), 1);
        QVERIFY2(faults().isEmpty(), qPrintable(faults().join(u", ")));
    }

    // Saving writes every entry, all keys kept, as a property list that reads
    // back the same; a folder that cannot be written is logged and beeped and
    // the list stays.
    void saving()
    {
        Environment e;
        e.log.setShow(LogFixture::array(
            {LogFixture::entry("one", at(1)), LogFixture::entry("two \\u00e9", at(2))}));
        QSignalSpy finished(&e.reader, &ILRIntegratedLogReader::archiveQueryFinished);
        QVERIFY(e.reader.displayLog());
        QVERIFY(finished.wait(20000));
        QTRY_COMPARE_WITH_TIMEOUT(e.reader.logEntries().size(), 2, 10000);

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Log.plist"));
        int panels = 0;
        ILRIntegratedLogReader::setSavePanelForTesting([&](QWidget*) {
            ++panels;
            return path;
        });
        // Return in the log view saves and inserts nothing.
        QTextBrowser* view = e.reader.window()->logView();
        const QString before = view->toPlainText();
        QTest::keyClick(view, Qt::Key_Return);
        QCOMPARE(panels, 1);
        QCOMPARE(view->toPlainText(), before);
        const std::optional<QVariant> saved = platform::plist::readFile(path);
        QVERIFY(saved);
        QVERIFY(platform::plist::identical(*saved, e.reader.propertyListEntries()));
        const QVariantList list = saved->toList();
        QCOMPARE(list.size(), 2);
        QCOMPARE(list.at(1).toMap().value(QStringLiteral("eventMessage")).toString(),
                 QStringLiteral("two \u00e9"));
        QCOMPARE(list.at(1).toMap().value(QStringLiteral("processID")), QVariant(qlonglong(42)));

        const QString unwritable = QStringLiteral("/proc/trovix-no-such-folder/Log.plist");
        ILRIntegratedLogReader::setSavePanelForTesting([&](QWidget*) { return unwritable; });
        e.capture.clear();
        e.reader.save();
        QCOMPARE(e.activation->beeps, 1);
        QVERIFY(e.capture.lines().constFirst().startsWith(
            QStringLiteral("[ILR] cannot save log: ") + unwritable));
        QCOMPARE(e.reader.logEntries().size(), 2);
        ILRIntegratedLogReader::setSavePanelForTesting({});

        e.reader.clear();
        e.capture.clear();
        e.reader.save();
        QCOMPARE(e.capture.lines(), QStringList{"[ILR] cannot save log: no entries"});
        QCOMPARE(e.activation->beeps, 2);
    }

    // The view switches store YES or remove the key, never a NO; the
    // debug-logging switch writes "QXDebugLog" and the program's debug lines
    // follow at once.
    void switches()
    {
        Environment e;
        QVERIFY(e.reader.displayLog());
        platform::UserDefaults& defaults = e.defaults.defaults();
        const QString key = QStringLiteral("ILRIntegratedLogReaderHideSender");
        e.reader.toggleMessageSender();
        QCOMPARE(defaults.objectForKey(key), QVariant(true));
        e.reader.toggleMessageSender();
        QVERIFY(!defaults.hasStoredValue(key));

        QXFollowDebugLogSetting(defaults);
        QCheckBox* box = e.reader.window()->debugLoggingSwitch();
        QVERIFY(box->isEnabled());
        QVERIFY(!platform::isDebugLoggingEnabled());
        box->click();
        QVERIFY(defaults.boolForKey(QStringLiteral("QXDebugLog")));
        QVERIFY(platform::isDebugLoggingEnabled());
        e.capture.clear();
        platform::systemDebugLog(QStringLiteral("debug line"));
        QCOMPARE(e.capture.lines(), QStringList{"debug line"});

        // A change made elsewhere moves the box too.
        defaults.setBool(false, QStringLiteral("QXDebugLog"));
        QTRY_VERIFY(!box->isChecked());
        QVERIFY(!platform::isDebugLoggingEnabled());
        e.capture.clear();
        platform::systemDebugLog(QStringLiteral("debug line"));
        QVERIFY(e.capture.lines().isEmpty());
    }

    // A journal with 100 000 entries in the period: all of them arrive and
    // are shown, and the many batches give far fewer renderings.
    void largeJournalStaysResponsive()
    {
        // Thousands of small chunks (the tool's output as a pipe hands it
        // over) must not mean thousands of renderings of the whole log.
        Environment e;
        QList<QByteArray> entries;
        const int count = 20000;
        entries.reserve(count);
        for (int i = 0; i < count; ++i) {
            entries.append(LogFixture::entry("entry " + QByteArray::number(i), at(i % 60)));
        }
        e.log.setShow(LogFixture::array(entries));
        qputenv("LOG_FIXTURE_CHUNK", "1024");
        QSignalSpy finished(&e.reader, &ILRIntegratedLogReader::archiveQueryFinished);
        QVERIFY(e.reader.displayLog());
        QVERIFY(finished.wait(120000));
        QCOMPARE(e.reader.logEntries().size(), count);
        QTRY_VERIFY_WITH_TIMEOUT(e.text().contains(QLatin1String("entry 19999")), 120000);
        QVERIFY2(e.reader.renderCount() < 200, qPrintable(QString::number(e.reader.renderCount())));
    }

    // Every redraw replaces the view's text; the text it replaced is
    // deleted, so a window left open does not grow with each new entry.
    void redrawsDeleteTheReplacedText()
    {
        Environment e;
        e.log.setShow(LogFixture::array({LogFixture::entry("archived", at(1))}));
        QSignalSpy finished(&e.reader, &ILRIntegratedLogReader::archiveQueryFinished);
        QVERIFY(e.reader.displayLog());
        QVERIFY(finished.wait(20000));
        QTRY_VERIFY_WITH_TIMEOUT(e.text().contains(QLatin1String("archived")), 10000);
        QTextBrowser* view = e.reader.window()->logView();
        for (int round = 0; round < 5; ++round) {
            const QPointer<QTextDocument> replaced = view->document();
            QSignalSpy updated(&e.reader, &ILRIntegratedLogReader::displayUpdated);
            e.reader.updateDisplay();
            QTRY_VERIFY(!updated.isEmpty());
            QVERIFY(view->document() != replaced.data());
            QVERIFY2(replaced.isNull(), "the replaced document is still alive");
            QCOMPARE(view->findChildren<QTextDocument*>(Qt::FindDirectChildrenOnly).size(), 1);
        }
        QVERIFY(e.text().contains(QLatin1String("archived")));
    }

    // Find goes on from its last match when new entries redraw the text, and
    // Escape puts the find field away.
    void findKeepsItsPlaceAcrossRedraws()
    {
        Environment e;
        e.log.setShow(LogFixture::array({LogFixture::entry("needle one", at(1)),
                                         LogFixture::entry("hay", at(2)),
                                         LogFixture::entry("needle two", at(3))}));
        e.log.setStream(LogFixture::array({LogFixture::entry("started", at(4))}, "Filtering\n"));
        QSignalSpy finished(&e.reader, &ILRIntegratedLogReader::archiveQueryFinished);
        QVERIFY(e.reader.displayLog());
        QVERIFY(finished.wait(20000));
        QTRY_VERIFY_WITH_TIMEOUT(e.text().contains(QLatin1String("needle two")), 10000);
        ILRLogWindow* window = e.reader.window();
        QTextBrowser* view = window->logView();
        QLineEdit* field = window->findField();
        const auto lineOfSelection = [view] { return view->textCursor().block().text(); };
        field->show();
        field->setText(QStringLiteral("needle"));
        QTest::keyClick(field, Qt::Key_Return);
        QVERIFY2(lineOfSelection().contains(QLatin1String("needle one")),
                 qPrintable(lineOfSelection()));

        // New entries arrive below: the match stays selected, and the next
        // find goes on to the second needle instead of starting over.
        e.log.appendStream("," + LogFixture::entry("later", at(5)));
        QTRY_VERIFY_WITH_TIMEOUT(e.text().contains(QLatin1String("later")), 10000);
        QCOMPARE(view->textCursor().selectedText(), QStringLiteral("needle"));
        QVERIFY(lineOfSelection().contains(QLatin1String("needle one")));
        QTest::keyClick(field, Qt::Key_Return);
        QVERIFY2(lineOfSelection().contains(QLatin1String("needle two")),
                 qPrintable(lineOfSelection()));

        QTest::keyClick(field, Qt::Key_Escape);
        QVERIFY(field->isHidden());
    }

    // The window opens centred the first time; its frame is kept after a
    // move and a resize, and a new window comes back there; a frame beyond
    // the screen is brought back onto it. A delegate's name replaces the
    // default one, and without a name nothing is kept.
    void windowFrameIsKept()
    {
        const QString key = QStringLiteral("Window Frame com.quirkworks.Trovix.ILRLogWindow");
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        Environment e;
        platform::UserDefaults& defaults = e.defaults.defaults();
        QVERIFY(e.reader.displayLog());
        ILRLogWindow* window = e.reader.window();
        const QPoint centre = QRect(window->pos(), window->size()).center();
        QVERIFY2(qAbs(centre.x() - available.center().x()) <= 1,
                 qPrintable(QString::number(centre.x())));
        QVERIFY(qAbs(centre.y() - available.center().y()) <= 40);

        window->move(37, 41);
        window->resize(500, 300);
        QTRY_COMPARE(defaults.stringForKey(key), QStringLiteral("37 41 500 300"));
        window->move(45, 50);
        window->close();
        QCOMPARE(defaults.stringForKey(key), QStringLiteral("45 50 500 300"));
        {
            ILRIntegratedLogReader again;
            QVERIFY(again.displayLog());
            QCOMPARE(again.window()->pos(), QPoint(45, 50));
            QCOMPARE(again.window()->size(), QSize(500, 300));
            delete again.window();
            again.reset();
        }

        defaults.setObject(QStringLiteral("%1 %2 400 300")
                               .arg(available.right() + 500)
                               .arg(available.bottom() - 100),
                           key);
        {
            ILRIntegratedLogReader again;
            QVERIFY(again.displayLog());
            const QRect frame(again.window()->pos(), again.window()->size());
            QVERIFY2(available.contains(frame), qPrintable(defaults.stringForKey(key)));
            QCOMPARE(frame.size(), QSize(400, 300));
            delete again.window();
            again.reset();
        }
        // Numbers no screen has are ignored: the window opens centred.
        defaults.setObject(QStringLiteral("2147483647 2147483647 2147483647 2147483647"), key);
        {
            ILRIntegratedLogReader again;
            QVERIFY(again.displayLog());
            QVERIFY(available.contains(again.window()->geometry().center()));
            QCOMPARE(again.window()->size(), QSize(720, 480));
            delete again.window();
            again.reset();
        }
        QCOMPARE(ILRLogWindowFrame::clampedFrame(QRect(-50, 10, 9000, 200), QRect(0, 0, 800, 600)),
                 QRect(0, 10, 800, 200));

        NamedFrameDelegate named(QStringLiteral("Elsewhere"));
        NamedFrameDelegate unnamed(std::nullopt);
        const QVariantMap before = defaults.persistentDomain();
        for (NamedFrameDelegate* delegate : {&named, &unnamed}) {
            ILRIntegratedLogReader again;
            again.setDelegate(delegate);
            QVERIFY(again.displayLog());
            again.window()->move(60, 70);
            again.window()->close();
            delete again.window();
            again.reset();
        }
        QVariantMap added = defaults.persistentDomain();
        for (auto it = before.begin(); it != before.end(); ++it) {
            QCOMPARE(added.take(it.key()), it.value());
        }
        QCOMPARE(added.keys(), QStringList{"Window Frame Elsewhere"});
        QVERIFY(added.first().toString().startsWith(QLatin1String("60 70 ")));
    }

    // A tool that refuses the query makes the window say why, with the
    // tool's first line; a fresh run that works puts the message away.
    void toolFailureIsShown()
    {
        Environment e;
        qputenv("LOG_FIXTURE_EXIT", "64");
        qputenv("LOG_FIXTURE_STDERR",
                "trovix-log: invalid predicate: unterminated text\nusage: trovix-log show\n");
        QSignalSpy finished(&e.reader, &ILRIntegratedLogReader::archiveQueryFinished);
        QVERIFY(e.reader.displayLog());
        QVERIFY(finished.wait(20000));
        QLabel* label = e.reader.window()->toolErrorLabel();
        QTRY_VERIFY(!label->isHidden());
        QCOMPARE(label->text(), QStringLiteral("The log cannot be read: trovix-log: invalid "
                                               "predicate: unterminated text"));
        QVERIFY(!label->accessibleName().isEmpty());

        qunsetenv("LOG_FIXTURE_EXIT");
        e.log.setShow(LogFixture::array({LogFixture::entry("archived", at(1))}));
        QVERIFY(e.reader.window()->findEarlierResultsButton()->isEnabled());
        e.reader.clear();
        QVERIFY(label->isHidden());
        QVERIFY(e.reader.toolError().isEmpty());
    }

    void notSupportedWithoutTheTool()
    {
        Environment e;
        ILRIntegratedLogReader::setLogToolPath(QStringLiteral("/nonexistent/trovix-log"));
        QStringList alerts;
        ILRIntegratedLogReader::setAlertPresenterForTesting(
            [&](const QString& message, const QString& text) { alerts << message << text; });
        QVERIFY(!ILRIntegratedLogReader::canDisplayLog());
        QVERIFY(!e.reader.displayLog());
        QCOMPARE(alerts, (QStringList{"Log Not Supported",
                                      "Displaying the log requires the trovix-log tool in the "
                                      "application bundle."}));
        ILRIntegratedLogReader::setAlertPresenterForTesting({});
    }

    // A user outside the groups that may read the system journal can often
    // list the journal's folder, but reads nothing from it: the log is not
    // offered. (A probe run as the user nobody.)
    void notSupportedForAUserWhoCannotReadTheJournal()
    {
        if (::geteuid() != 0) {
            QSKIP("running the probe as another user needs root");
        }
        const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
        if (setpriv.isEmpty()) {
            QSKIP("setpriv is not installed");
        }
        QProcess probe;
        probe.start(setpriv, {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                              QStringLiteral("--clear-groups"), QStringLiteral("--"),
                              QStringLiteral(LOG_ACCESS_PROBE)});
        QVERIFY(probe.waitForFinished(30000));
        QCOMPARE(probe.exitStatus(), QProcess::NormalExit);
        QCOMPARE(probe.exitCode(), 1);
    }

private:
    struct Environment
    {
        TemporaryDefaults defaults;
        LogFixture log;
        LogCapture capture;
        platform::MemoryActivation* activation = new platform::MemoryActivation;
        ILRIntegratedLogReader reader;

        Environment()
        {
            platform::Activation::setCurrent(std::unique_ptr<platform::Activation>(activation));
            ILRIntegratedLogReader::setLogToolPath(LogFixture::tool());
            ILRIntegratedLogReader::setSystemLogReadableForTesting(true);
            reader.setDebugLoggingUserDefaultName(QStringLiteral("QXDebugLog"));
        }
        ~Environment()
        {
            if (reader.window()) {
                delete reader.window();
            }
            reader.reset();
            platform::setDebugLoggingEnabled(false);
            ILRIntegratedLogReader::setLogToolPath({});
            ILRIntegratedLogReader::setSystemLogReadableForTesting(std::nullopt);
            platform::Activation::setCurrent(nullptr);
        }

        QString text() const { return reader.window()->logView()->toPlainText(); }
    };
};

TROVIX_TEST_MAIN(LogWindowTest)
#include "log_window_test.moc"
