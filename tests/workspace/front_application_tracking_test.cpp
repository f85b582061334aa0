#include "platform/workspace/FrontApplicationTracker.h"
#include "platform/workspace/memory/MemoryActiveWindowSource.h"
#include "support/TestProgram.h"

#include <QSignalSpy>
#include <QTest>

using platform::ActiveWindowSource;
using platform::FrontApplicationTracker;
using platform::MemoryActiveWindowSource;

namespace {

ActiveWindowSource::Event windowEvent(const char* application, const char* path, bool active,
                                      bool mayBeOtherObject = false)
{
    return {
        {QString::fromLatin1(application), QString::fromLatin1(path)}, active, mayBeOtherObject};
}

QList<qint64> told(const QSignalSpy& spy)
{
    QList<qint64> pids;
    for (const QList<QVariant>& arguments : spy) {
        pids.append(arguments.constFirst().toLongLong());
    }
    return pids;
}

// A short settling time keeps the test fast; settle() waits past it.
constexpr int SettleMs = 10;

// Lets every queued event and answer arrive, and the front settle.
void settle()
{
    QTest::qWait(SettleMs * 4);
}

} // namespace

// Which application is in front, as window activation events tell it: the
// order of events decides even when their questions are answered out of
// order, only windows count, and a scan stands in until the first event.
class FrontApplicationTrackingTest : public QObject
{
    Q_OBJECT

private:
    MemoryActiveWindowSource* m_source = nullptr;
    std::unique_ptr<FrontApplicationTracker> m_tracker;

    void makeTracker()
    {
        auto source = std::make_unique<MemoryActiveWindowSource>();
        m_source = source.get();
        m_source->setProcess(QStringLiteral(":1.5"), 10);
        m_source->setProcess(QStringLiteral(":1.6"), 20);
        m_source->setProcess(QStringLiteral(":1.7"), 30);
        m_tracker = std::make_unique<FrontApplicationTracker>(std::move(source), SettleMs);
    }

private Q_SLOTS:
    void init() { makeTracker(); }
    void cleanup() { m_tracker.reset(); }

    void followsActivationAndDeactivation()
    {
        QSignalSpy spy(m_tracker.get(), &FrontApplicationTracker::frontApplicationChanged);
        QVERIFY(m_tracker->isListening());
        m_source->send(windowEvent(":1.5", "/window/1", true));
        settle();
        QCOMPARE(m_tracker->frontApplication(), std::optional<qint64>(10));

        // Toolkits send the new window's activation before or after the old
        // one's deactivation.
        m_source->send(windowEvent(":1.6", "/window/2", true));
        m_source->send(windowEvent(":1.5", "/window/1", false));
        settle();
        QCOMPARE(m_tracker->frontApplication(), std::optional<qint64>(20));
        m_source->send(windowEvent(":1.5", "/window/1", false));
        m_source->send(windowEvent(":1.5", "/window/3", true));
        m_source->send(windowEvent(":1.6", "/window/2", false));
        settle();
        QCOMPARE(m_tracker->frontApplication(), std::optional<qint64>(10));
        // Qt applications losing the focus activate their window once more
        // just before deactivating it; that is not told.
        m_source->send(windowEvent(":1.6", "/window/2", true));
        m_source->send(windowEvent(":1.6", "/window/2", false));
        settle();
        QCOMPARE(m_tracker->frontApplication(), std::optional<qint64>(10));
        // A second window of the same application changes nothing to tell.
        m_source->send(windowEvent(":1.5", "/window/1", true));
        m_source->send(windowEvent(":1.5", "/window/3", false));
        settle();
        m_source->send(windowEvent(":1.5", "/window/1", false));
        settle();
        QCOMPARE(m_tracker->frontApplication(), std::nullopt);
        QCOMPARE(told(spy), (QList<qint64>{10, 20, 10, 0}));
        // Each application's process was asked for once; no scan was made.
        QCOMPARE(m_source->processQuestions(), 2);
        QCOMPARE(m_source->scans(), 0);
    }

    void lateAnswersKeepTheOrderOfEvents()
    {
        QSignalSpy spy(m_tracker.get(), &FrontApplicationTracker::frontApplicationChanged);
        m_source->setHoldAnswers(true);
        m_source->send(windowEvent(":1.5", "/window/1", true));
        m_source->send(windowEvent(":1.6", "/window/2", true));
        settle();
        QCOMPARE(m_source->heldAnswers(), 2);
        // The later activation is answered first, the earlier one after it.
        m_source->releaseAnswer(1);
        settle();
        m_source->releaseAnswer(0);
        settle();
        QCOMPARE(m_tracker->frontApplication(), std::optional<qint64>(20));

        // A deactivation that overtakes its window's activation wins.
        m_source->send(windowEvent(":1.7", "/window/3", true));
        m_source->send(windowEvent(":1.7", "/window/3", false));
        settle();
        m_source->releaseAnswer(0);
        settle();
        QCOMPARE(m_tracker->frontApplication(), std::optional<qint64>(20));
        QCOMPARE(told(spy), QList<qint64>{20});
    }

    void eventsThatCannotBeCompletedChangeNothing()
    {
        QSignalSpy spy(m_tracker.get(), &FrontApplicationTracker::frontApplicationChanged);
        m_source->setIsWindow(QStringLiteral("/frame"), true);
        m_source->setIsWindow(QStringLiteral("/table/cell"), false);
        // The active state of an element inside a window, of an object that
        // does not tell its role, and of an application whose process is
        // unknown.
        m_source->send(windowEvent(":1.5", "/table/cell", true, true));
        m_source->send(windowEvent(":1.5", "/silent", true, true));
        m_source->send(windowEvent(":1.99", "/window/1", true));
        settle();
        QVERIFY(spy.isEmpty());

        m_source->send(windowEvent(":1.5", "/frame", true, true));
        settle();
        QCOMPARE(m_tracker->frontApplication(), std::optional<qint64>(10));
        // Losing the state needs no question: only a known window changes.
        m_source->send(windowEvent(":1.5", "/table/cell", false, true));
        m_source->send(windowEvent(":1.5", "/frame", false, true));
        settle();
        QCOMPARE(m_tracker->frontApplication(), std::nullopt);
        QCOMPARE(m_source->windowQuestions(), 3);
        QCOMPARE(told(spy), (QList<qint64>{10, 0}));
    }

    void scansOnceUntilTheFirstEvent()
    {
        m_source->setScanResult(
            ActiveWindowSource::ActiveWindow{{QStringLiteral(":1.9"), QStringLiteral("/top")}, 40});
        QCOMPARE(m_tracker->frontApplication(), std::optional<qint64>(40));
        QCOMPARE(m_tracker->frontApplication(), std::optional<qint64>(40));
        QCOMPARE(m_source->scans(), 1);
        // The scanned application's process is known from then on.
        m_source->send(windowEvent(":1.9", "/top", false));
        m_source->send(windowEvent(":1.9", "/other", true));
        settle();
        QCOMPARE(m_tracker->frontApplication(), std::optional<qint64>(40));
        QCOMPARE(m_source->processQuestions(), 0);

        // A tracker that has seen an event never scans; one without events
        // scans once, also when the scan finds nothing.
        makeTracker();
        m_source->send(windowEvent(":1.6", "/window/2", true));
        settle();
        QCOMPARE(m_tracker->frontApplication(), std::optional<qint64>(20));
        QCOMPARE(m_source->scans(), 0);
        makeTracker();
        QCOMPARE(m_tracker->frontApplication(), std::nullopt);
        QCOMPARE(m_tracker->frontApplication(), std::nullopt);
        QCOMPARE(m_source->scans(), 1);
    }

    void withoutEventsTheTrackerStillScans()
    {
        auto source = std::make_unique<MemoryActiveWindowSource>();
        source->setListenFails(true);
        source->setScanResult(
            ActiveWindowSource::ActiveWindow{{QStringLiteral(":1.2"), QStringLiteral("/w")}, 7});
        FrontApplicationTracker tracker(std::move(source), SettleMs);
        QVERIFY(!tracker.isListening());
        QCOMPARE(tracker.frontApplication(), std::optional<qint64>(7));
    }
};

TROVIX_TEST_GUILESS_MAIN(FrontApplicationTrackingTest)
#include "front_application_tracking_test.moc"
