// A trigger while the program cannot read other applications: the user is
// told once what is missing and how to get it, the log keeps it, and later
// triggers only beep.

#include "PopUpTestEnvironment.h"
#include "app/QXAlert.h"
#include "platform/application/memory/MemoryActivation.h"
#include "support/LogCapture.h"
#include "support/TestProgram.h"

#include <QTest>

using Reason = platform::AccessibilityUnavailability::Reason;

class AccessibilityUnavailableTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void firstTriggerExplainsLaterOnesBeep_data()
    {
        QTest::addColumn<int>("reason");
        QTest::addColumn<QString>("component");
        QTest::addColumn<QString>("remedy");
        QTest::addColumn<QString>("explanation");
        QTest::newRow("bus missing")
            << int(Reason::Missing) << "the AT-SPI accessibility bus"
            << "Install the at-spi2-core package."
            << "The AT-SPI accessibility bus is missing. Install the at-spi2-core package.";
        QTest::newRow("bus refusing")
            << int(Reason::Refused) << "the accessibility bus"
            << "Turn it on."
            << "The accessibility bus refuses to let Trovix in. Turn it on.";
        QTest::newRow("nothing known") << int(Reason::Unknown) << ""
                                       << ""
                                       << "Accessibility is turned off.";
    }

    void firstTriggerExplainsLaterOnesBeep()
    {
        QFETCH(int, reason);
        QFETCH(QString, component);
        QFETCH(QString, remedy);
        QFETCH(QString, explanation);
        PopUpTestEnvironment environment;
        auto* activation = new platform::MemoryActivation();
        platform::Activation::setCurrent(std::unique_ptr<platform::Activation>(activation));
        QStringList alerts;
        QXAlert::setPresenterForTesting([&alerts](const QString& message, const QString& text) {
            alerts << message + QLatin1Char('|') + text;
        });
        LogCapture log;
        QXMainController& controller = QXMainController::mainController();
        controller.resetForTesting();
        environment.accessibility->setTrusted(false);
        environment.accessibility->setUnavailability({Reason(reason), component, remedy});

        QVERIFY(controller.popUpMenuForAllApplications(false));
        QCOMPARE(alerts, QStringList{"Trovix cannot read menus|" + explanation});
        QCOMPARE(log.lines(),
                 QStringList{"cannot read menus without accessibility: " + explanation});
        QCOMPARE(activation->beeps, 0);

        QVERIFY(controller.popUpMenuForAllApplications(true));
        QVERIFY(controller.popUpMenuForAllApplications(false));
        QCOMPARE(alerts.size(), 1);
        QCOMPARE(log.lines().size(), 1);
        QCOMPARE(activation->beeps, 2);

        controller.resetForTesting();
        QXAlert::setPresenterForTesting({});
        platform::Activation::setCurrent(nullptr);
    }
};

TROVIX_TEST_MAIN(AccessibilityUnavailableTest)

#include "accessibility_unavailable_test.moc"
