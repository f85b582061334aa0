#include "platform/updates/UpdateSchedule.h"
#include "support/TestProgram.h"

#include <QTest>

using namespace platform::UpdateSchedule;

// When the next automatic check is due.
class UpdateScheduleTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void interval_data()
    {
        QTest::addColumn<qint64>("stored");
        QTest::addColumn<qint64>("used");
        QTest::newRow("none: a day") << qint64(0) << qint64(86400);
        QTest::newRow("negative: a day") << qint64(-5) << qint64(86400);
        QTest::newRow("a minute: an hour") << qint64(60) << qint64(3600);
        QTest::newRow("two hours") << qint64(7200) << qint64(7200);
        QTest::newRow("a year") << qint64(31536000) << qint64(31536000);
    }
    void interval()
    {
        QFETCH(qint64, stored);
        QFETCH(qint64, used);
        QCOMPARE(effectiveInterval(stored), used);
    }

    void nextCheck_data()
    {
        QTest::addColumn<qint64>("lastCheck"); // -1: none
        QTest::addColumn<qint64>("wait");
        const qint64 now = 1800000000;
        QTest::newRow("never checked: a whole interval") << qint64(-1) << qint64(3600);
        QTest::newRow("checked just now") << now << qint64(3600);
        QTest::newRow("checked 10 minutes ago") << now - 600 << qint64(3000);
        QTest::newRow("overdue") << now - 86400 << qint64(0);
        QTest::newRow("the clock went back") << now + 86400 << qint64(3600);
        QTest::newRow("long ago") << std::numeric_limits<qint64>::min() << qint64(0);
    }
    void nextCheck()
    {
        QFETCH(qint64, lastCheck);
        QFETCH(qint64, wait);
        const std::optional<qint64> last =
            lastCheck == -1 ? std::nullopt : std::optional<qint64>(lastCheck);
        QCOMPARE(secondsUntilNextCheck(last, 1800000000, 3600), wait);
    }
};

TROVIX_TEST_GUILESS_MAIN(UpdateScheduleTest)
#include "update_schedule_test.moc"
