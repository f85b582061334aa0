#include "platform/accessibility/AccessibilityNames.h"
#include "platform/accessibility/memory/MemoryAccessibility.h"
#include "support/TestProgram.h"

#include <QTest>

using namespace platform;
using namespace platform::accessibility;

// Where the real backends refuse, time out or answer later, the memory
// backend must do the same, or the tests that run the program against it
// would pass on behaviour no desktop shows.
class MemoryBackendContractTest : public QObject
{
    Q_OBJECT

private:
    static constexpr qint64 Pid = 4242;

private Q_SLOTS:
    // A read that runs into the messaging timeout counts as timed out; an
    // absent value of any other cause does not.
    void timeoutsAreToldApartFromAbsentValues_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("attribute");
        QTest::addColumn<bool>("timedOut");
        QTest::newRow("attribute the item lacks") << ""
                                                  << "AXMenuItemCmdChar" << false;
        QTest::newRow("failing attribute") << "fail"
                                           << "AXTitle" << false;
        QTest::newRow("vanished item") << "vanish"
                                       << "AXTitle" << false;
        QTest::newRow("slower than the timeout") << "stall"
                                                 << "AXTitle" << true;
    }

    void timeoutsAreToldApartFromAbsentValues()
    {
        QFETCH(QString, fault);
        QFETCH(QString, attribute);
        QFETCH(bool, timedOut);
        MemoryAccessibility accessibility;
        accessibility.addApplicationFromFile(Pid, qEnvironmentVariable("TROVIX_SOURCE_DIR") +
                                                      "/tests/fixtures/menu.json");
        accessibility.systemWideElement().setMessagingTimeout(1.0f);
        const AccessibilityElement item = accessibility.element(Pid, {"File", "Open Recent"});
        if (fault == "fail") {
            accessibility.failAttribute(item, attribute);
        } else if (fault == "vanish") {
            accessibility.vanishElement(item);
        } else if (fault == "stall") {
            accessibility.setElementDelay(item, 5.0);
        }
        QVERIFY(!item.copyAttribute(attribute));
        QCOMPARE(accessibility.timedOutRequests(), quint64(timedOut ? 1 : 0));
        QCOMPARE(accessibility.elapsedSeconds(), timedOut ? 1.0 : 0.0);
    }

    // Actions never wait; the answer comes later from the event loop.
    void actionsAreAnsweredLater_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("pressed");
        QTest::addColumn<int>("reply");
        QTest::newRow("answered") << "" << true << int(ActionReply::Done);
        QTest::newRow("opens a modal dialog") << "dialog" << true << int(ActionReply::Done);
        QTest::newRow("application stalled") << "application" << true << int(ActionReply::NoReply);
        QTest::newRow("refused") << "refuse" << false << int(ActionReply::Refused);
    }

    void actionsAreAnsweredLater()
    {
        QFETCH(QString, fault);
        QFETCH(bool, pressed);
        QFETCH(int, reply);
        MemoryAccessibility accessibility;
        accessibility.addApplicationFromFile(Pid, qEnvironmentVariable("TROVIX_SOURCE_DIR") +
                                                      "/tests/fixtures/menu.json");
        accessibility.systemWideElement().setMessagingTimeout(1.0f);
        const AccessibilityElement undo = accessibility.element(Pid, {"Edit", "Undo"});
        if (fault == "dialog") {
            accessibility.setElementDelay(undo, 30.0);
        } else if (fault == "application") {
            accessibility.setApplicationDelay(Pid, 30.0);
        } else if (fault == "refuse") {
            accessibility.failAttribute(undo, QString(PressAction));
        }
        std::optional<ActionReply> answer;
        QVERIFY(undo.performAction(QString(PressAction),
                                   [&answer](ActionReply value) { answer = value; }));
        QVERIFY(!answer);
        QCOMPARE(accessibility.elapsedSeconds(), 0.0);
        QTRY_VERIFY(answer.has_value());
        QCOMPARE(int(*answer), reply);
        QCOMPARE(accessibility.pressedItems().contains("Edit > Undo"), pressed);
    }
};

TROVIX_TEST_GUILESS_MAIN(MemoryBackendContractTest)
#include "memory_backend_contract_test.moc"
