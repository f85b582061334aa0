#include "menus/QXAccessibility.h"
#include "platform/accessibility/Accessibility.h"
#include "platform/accessibility/memory/MemoryAccessibility.h"
#include "platform/workspace/RunningApplication.h"
#include "support/TemporaryDefaults.h"
#include "support/TestProgram.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QTest>

using platform::AccessibilityElement;
using platform::MemoryAccessibility;
using platform::RunningApplication;

namespace {

RunningApplication application(qint64 pid)
{
    return RunningApplication(pid, QStringLiteral("App"), QUrl(),
                              RunningApplication::ActivationPolicy::Regular);
}

QJsonObject smallMenuBar()
{
    const QJsonArray items{QJsonObject{{"title", "Open"}}, QJsonObject{{"title", "Close"}}};
    return QJsonObject{{"name", "Small"},
                       {"menus", QJsonArray{QJsonObject{{"title", "Small"}, {"items", items}},
                                            QJsonObject{{"title", "File"}, {"items", items}}}}};
}

} // namespace

// The accessibility access layer on the memory backend: the messaging timeout
// rule and its single application per run, the trust flow, and absent values.
class AccessibilityAccessTest : public QObject
{
    Q_OBJECT

private:
    MemoryAccessibility* m_accessibility = nullptr;
    std::unique_ptr<TemporaryDefaults> m_defaults;

private Q_SLOTS:
    void init()
    {
        m_defaults = std::make_unique<TemporaryDefaults>();
        auto accessibility = std::make_unique<MemoryAccessibility>();
        m_accessibility = accessibility.get();
        platform::Accessibility::setCurrent(std::move(accessibility));
    }

    void cleanup()
    {
        platform::Accessibility::setCurrent(nullptr);
        m_defaults.reset();
    }

    void timeoutComesFromTheSetting_data()
    {
        QTest::addColumn<QVariant>("setting");
        QTest::addColumn<float>("seconds");
        QTest::newRow("absent") << QVariant() << 1.0f;
        QTest::newRow("zero") << QVariant(0.0) << 1.0f;
        QTest::newRow("negative") << QVariant(-1.0) << 1.0f;
        QTest::newRow("just too small") << QVariant(0.009) << 1.0f;
        QTest::newRow("smallest") << QVariant(0.01) << 0.01f;
        QTest::newRow("string") << QVariant(QStringLiteral("2.5")) << 2.5f;
        QTest::newRow("not a number") << QVariant(QStringLiteral("soon")) << 1.0f;
        QTest::newRow("integer") << QVariant(3) << 3.0f;
    }

    void timeoutComesFromTheSetting()
    {
        QFETCH(QVariant, setting);
        QFETCH(float, seconds);
        if (setting.isValid()) {
            m_defaults->defaults().setObject(setting, QStringLiteral("Accessibility API Timeout"));
        }
        QCOMPARE(QXAccessibilityMessagingTimeout(), seconds);
    }

    // One run of the program: the flag that records the applied timeout is
    // process-wide, so the whole flow is one test.
    void timeoutIsAppliedOnceOnTheFirstSuccessfulTrustCheck()
    {
        m_defaults->defaults().setObject(2.5, QStringLiteral("Accessibility API Timeout"));
        m_accessibility->setTrusted(false);

        QVERIFY(!QXAccessibilityPrepare());
        QVERIFY(!QXAccessibilityPrepare());
        QCOMPARE(m_accessibility->prompts(), 2);
        QVERIFY(m_accessibility->appliedMessagingTimeouts().isEmpty());

        // The user grants access: the next call applies the timeout.
        m_accessibility->setTrusted(true);
        QVERIFY(QXAccessibilityPrepare());
        QCOMPARE(m_accessibility->appliedMessagingTimeouts(), QList<float>{2.5f});

        // Later calls and a changed setting do not apply it again.
        m_defaults->defaults().setObject(4.0, QStringLiteral("Accessibility API Timeout"));
        QVERIFY(QXAccessibilityPrepare());
        QVERIFY(QXAccessibilityPrepare());
        QCOMPARE(m_accessibility->appliedMessagingTimeouts(), QList<float>{2.5f});
        QCOMPARE(m_accessibility->messagingTimeout(), 2.5f);
    }

    void trustCheckPromptsOnlyWhenAsked()
    {
        m_accessibility->setTrusted(false);
        m_accessibility->setPromptGrantsTrust(true);
        QVERIFY(!QXAccessibilityIsTrusted(false));
        QCOMPARE(m_accessibility->prompts(), 0);
        QVERIFY(QXAccessibilityIsTrusted(true));
        QCOMPARE(m_accessibility->prompts(), 1);
        QVERIFY(QXAccessibilityIsTrusted(true));
        QCOMPARE(m_accessibility->prompts(), 1);
    }

    // Requests without element or name ask nothing; failures read as absent.
    void absentValues()
    {
        m_accessibility->addApplication(7, smallMenuBar());
        const AccessibilityElement open = m_accessibility->element(7, {"File", "Open"});
        QVERIFY(!open.isNull());
        m_accessibility->resetCounters();

        QVERIFY(!QXCopyAttribute(AccessibilityElement(), QStringLiteral("AXTitle")));
        QVERIFY(!QXCopyAttribute(open, QString()));
        QCOMPARE(m_accessibility->requestCount(), 0);
        QCOMPARE(QXCopyAttribute(open, QStringLiteral("AXTitle"))->toString(),
                 QStringLiteral("Open"));
        QCOMPARE(m_accessibility->requestCount(), 1);

        const AccessibilityElement close = m_accessibility->element(7, {"File", "Close"});
        QVERIFY(!QXCopyAttribute(open, QStringLiteral("AXNoSuchAttribute")));
        m_accessibility->failAttribute(open, QStringLiteral("AXTitle"));
        QVERIFY(!QXCopyAttribute(open, QStringLiteral("AXTitle")));
        QVERIFY(QXCopyAttribute(open, QStringLiteral("AXEnabled")));

        // An element that vanishes between requests answers nothing afterwards.
        m_accessibility->vanishElement(close, 1);
        QVERIFY(!QXCopyAttribute(close, QStringLiteral("AXTitle")));
        QVERIFY(!QXCopyAttribute(close, QStringLiteral("AXEnabled")));
        QVERIFY(!close.performAction(QStringLiteral("AXPress")));
    }

    void slowRequestsTimeOutAsAbsent()
    {
        m_accessibility->addApplication(7, smallMenuBar());
        const AccessibilityElement open = m_accessibility->element(7, {"File", "Open"});
        QXAccessibilitySetGlobalMessagingTimeout(1.0f);

        m_accessibility->setElementDelay(open, 0.5);
        QVERIFY(QXCopyAttribute(open, QStringLiteral("AXTitle")));
        QCOMPARE(m_accessibility->elapsedSeconds(), 0.5);

        // A hanging application costs the timeout per request, then nothing.
        m_accessibility->setApplicationDelay(7, 30.0);
        QVERIFY(!QXCopyAttribute(open, QStringLiteral("AXTitle")));
        QCOMPARE(m_accessibility->elapsedSeconds(), 1.5);
        QVERIFY(!QXMenuBarItemsForApplication(application(7)));
    }

    void menuBarItemsOfApplications()
    {
        QVERIFY(!QXMenuBarItemsForApplication(RunningApplication()));
        QVERIFY(!QXMenuBarItemsForApplication(application(99)));

        // An agent without a menu bar has none: absent, not empty.
        m_accessibility->addApplicationWithoutMenuBar(8, QStringLiteral("Agent"));
        QVERIFY(!QXMenuBarItemsForApplication(application(8)));

        m_accessibility->addApplication(7, smallMenuBar());
        const auto items = QXMenuBarItemsForApplication(application(7));
        QVERIFY(items);
        QCOMPARE(items->size(), 3);
        QCOMPARE(QXCopyAttribute(items->at(0), QStringLiteral("AXTitle"))->toString(),
                 QStringLiteral("Window"));
        QCOMPARE(QXCopyAttribute(items->at(1), QStringLiteral("AXTitle"))->toString(),
                 QStringLiteral("Small"));
        QCOMPARE(items->at(2), m_accessibility->element(7, {"File"}));
        QCOMPARE(items->at(2).pid(), std::optional<qint64>(7));
    }

    void menuItemImagesFollowTheSetting()
    {
        QVERIFY(QXMenuItemImagesEnabled());
        m_defaults->defaults().setBool(true, QStringLiteral("Disable Menu Item Images"));
        QVERIFY(!QXMenuItemImagesEnabled());
    }
};

TROVIX_TEST_GUILESS_MAIN(AccessibilityAccessTest)
#include "accessibility_access_test.moc"
