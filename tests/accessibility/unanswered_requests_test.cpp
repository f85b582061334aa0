// Requests another application leaves unanswered, as the memory backend
// plays them: a read that runs into the messaging timeout is told apart from
// an absent value, and an action never waits for its answer.

#include "platform/accessibility/AccessibilityNames.h"
#include "platform/accessibility/memory/MemoryAccessibility.h"

#include <QTest>

using namespace platform;
using namespace platform::accessibility;

Q_DECLARE_METATYPE(platform::ActionReply)

namespace {

constexpr qint64 Pid = 4242;

// A fixture application read with a one-second messaging timeout.
class Fixture
{
public:
    Fixture()
    {
        accessibility.addApplicationFromFile(Pid, qEnvironmentVariable("TROVIX_SOURCE_DIR") +
                                                      "/tests/fixtures/menu.json");
        accessibility.systemWideElement().setMessagingTimeout(1.0f);
    }

    AccessibilityElement item(const QStringList& titles) const
    {
        return accessibility.element(Pid, titles);
    }

    MemoryAccessibility accessibility;
};

} // namespace

class UnansweredRequestsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void timeoutsAreToldApartFromAbsentValues_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("attribute");
        QTest::addColumn<bool>("present");
        QTest::addColumn<int>("timedOut");
        QTest::newRow("answered") << ""
                                  << "AXTitle" << true << 0;
        QTest::newRow("attribute the item lacks") << ""
                                                  << "AXMenuItemCmdChar" << false << 0;
        QTest::newRow("failing attribute") << "fail"
                                           << "AXTitle" << false << 0;
        QTest::newRow("vanished item") << "vanish"
                                       << "AXTitle" << false << 0;
        QTest::newRow("slow but in time") << "slow"
                                          << "AXTitle" << true << 0;
        QTest::newRow("slower than the timeout") << "stalled"
                                                 << "AXTitle" << false << 1;
        QTest::newRow("whole application stalled") << "application"
                                                   << "AXTitle" << false << 1;
    }

    void timeoutsAreToldApartFromAbsentValues()
    {
        QFETCH(QString, fault);
        QFETCH(QString, attribute);
        QFETCH(bool, present);
        QFETCH(int, timedOut);
        Fixture fixture;
        const AccessibilityElement open = fixture.item({"File", "Open Recent"});
        if (fault == "fail") {
            fixture.accessibility.failAttribute(open, attribute);
        } else if (fault == "vanish") {
            fixture.accessibility.vanishElement(open);
        } else if (fault == "slow") {
            fixture.accessibility.setElementDelay(open, 0.5);
        } else if (fault == "stalled") {
            fixture.accessibility.setElementDelay(open, 5.0);
        } else if (fault == "application") {
            fixture.accessibility.setApplicationDelay(Pid, 5.0);
        }
        QCOMPARE(open.copyAttribute(attribute).has_value(), present);
        QCOMPARE(fixture.accessibility.timedOutRequests(), quint64(timedOut));
        // A stalled read costs the timeout, not the delay.
        QVERIFY(fixture.accessibility.elapsedSeconds() <= 1.0);
    }

    void actionsAreAnsweredLater_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("pressed");
        QTest::addColumn<ActionReply>("reply");
        QTest::newRow("answered") << "" << true << ActionReply::Done;
        QTest::newRow("opens a modal dialog") << "dialog" << true << ActionReply::Done;
        QTest::newRow("application stalled") << "application" << true << ActionReply::NoReply;
        QTest::newRow("refused") << "refuse" << false << ActionReply::Refused;
    }

    void actionsAreAnsweredLater()
    {
        QFETCH(QString, fault);
        QFETCH(bool, pressed);
        QFETCH(ActionReply, reply);
        Fixture fixture;
        const AccessibilityElement undo = fixture.item({"Edit", "Undo"});
        if (fault == "dialog") {
            fixture.accessibility.setElementDelay(undo, 30.0);
        } else if (fault == "application") {
            fixture.accessibility.setApplicationDelay(Pid, 30.0);
        } else if (fault == "refuse") {
            fixture.accessibility.failAttribute(undo, QString(PressAction));
        }

        std::optional<ActionReply> answer;
        QVERIFY(undo.performAction(QString(PressAction),
                                   [&answer](ActionReply value) { answer = value; }));
        // Nothing waits: the answer comes from the event loop, the clock
        // has not moved.
        QVERIFY(!answer);
        QCOMPARE(fixture.accessibility.elapsedSeconds(), 0.0);
        QTRY_VERIFY(answer.has_value());
        QCOMPARE(*answer, reply);
        QCOMPARE(fixture.accessibility.pressedItems().contains("Edit > Undo"), pressed);
        QCOMPARE(fixture.accessibility.timedOutRequests(), quint64(0));
    }
};

QTEST_GUILESS_MAIN(UnansweredRequestsTest)
#include "unanswered_requests_test.moc"
