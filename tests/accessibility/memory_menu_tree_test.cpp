#include "platform/accessibility/AccessibilityNames.h"
#include "platform/accessibility/memory/MemoryAccessibility.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QPointF>
#include <QTest>

using namespace platform;
using namespace platform::accessibility;

namespace {

QVariant attribute(const AccessibilityElement& element, QLatin1StringView name)
{
    return element.copyAttribute(QString(name)).value_or(QVariant());
}

AccessibilityElementList childrenOf(const AccessibilityElement& element)
{
    return accessibilityElementListFromVariant(attribute(element, ChildrenAttribute));
}

} // namespace

// The memory backend builds the shape the program reads from the fixture
// description: the fixture applications are built from the same file, so
// tests on this tree stand for tests on the real ones.
class MemoryMenuTreeTest : public QObject
{
    Q_OBJECT

private:
    MemoryAccessibility m_accessibility;
    static constexpr qint64 Pid = 4242;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_accessibility.addApplicationFromFile(
            Pid, qEnvironmentVariable("TROVIX_SOURCE_DIR") + "/tests/fixtures/menu.json"));
    }

    void menuBarHasTheWindowMenuFirst()
    {
        const AccessibilityElement application = m_accessibility.applicationElement(Pid);
        const AccessibilityElement bar =
            accessibilityElementFromVariant(attribute(application, MenuBarAttribute));
        QCOMPARE(bar, m_accessibility.element(Pid, {}));
        QStringList titles;
        for (const AccessibilityElement& item : childrenOf(bar)) {
            QCOMPARE(attribute(item, RoleAttribute).toString(), QString(MenuBarItemRole));
            titles << attribute(item, TitleAttribute).toString();
        }
        QCOMPARE(titles, (QStringList{"Window", "Fixture", "File", "Edit", "View", "Go", "Archive",
                                      "Help"}));
    }

    void submenusAreOneMenuChild()
    {
        const AccessibilityElement recent = m_accessibility.element(Pid, {"File", "Open Recent"});
        const AccessibilityElementList below = childrenOf(recent);
        QCOMPARE(below.size(), 1);
        QCOMPARE(attribute(below.first(), RoleAttribute).toString(), QString(MenuRole));
        QCOMPARE(childrenOf(below.first()).size(), 4);

        const AccessibilityElement empty = m_accessibility.element(Pid, {"File", "Nothing Here"});
        QCOMPARE(childrenOf(empty).size(), 1);
        QVERIFY(childrenOf(childrenOf(empty).first()).isEmpty());

        QVERIFY(childrenOf(m_accessibility.element(Pid, {"File", "Save"})).isEmpty());
        QVERIFY(
            !m_accessibility.element(Pid, {"File", "Open Recent", "Projects", "Alpha"}).isNull());
    }

    void itemAttributes_data()
    {
        QTest::addColumn<QStringList>("path");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("positioned");
        QTest::addColumn<QVariant>("mark");
        QTest::addColumn<QVariant>("character");
        QTest::addColumn<QVariant>("virtualKey");
        QTest::addColumn<QVariant>("modifiers");
        const QVariant none;
        QTest::newRow("plain") << QStringList{"Fixture", "About Fixture"} << true << true << none
                               << none << none << none;
        QTest::newRow("ctrl shift") << QStringList{"File", "Save As"} << true << true << none
                                    << QVariant("S") << none << QVariant(13);
        QTest::newRow("disabled") << QStringList{"File", "Export"} << false << true << none
                                  << QVariant("E") << none << QVariant(12);
        QTest::newRow("hidden") << QStringList{"File", "Secret"} << true << false << none << none
                                << none << none;
        QTest::newRow("checked") << QStringList{"View", "Show Toolbar"} << true << true
                                 << QVariant(QStringLiteral("\u2713")) << none << none << none;
        QTest::newRow("unchecked")
            << QStringList{"View", "Show Sidebar"} << true << true << none << none << none << none;
        QTest::newRow("mixed") << QStringList{"View", "Mixed Selection"} << true << true
                               << QVariant("-") << none << none << none;
        QTest::newRow("named key") << QStringList{"View", "Full Screen"} << true << true << none
                                   << none << QVariant(103) << QVariant(8);
        QTest::newRow("disabled menu")
            << QStringList{"Archive"} << false << true << none << none << none << none;
    }

    void itemAttributes()
    {
        QFETCH(QStringList, path);
        QFETCH(bool, enabled);
        QFETCH(bool, positioned);
        QFETCH(QVariant, mark);
        QFETCH(QVariant, character);
        QFETCH(QVariant, virtualKey);
        QFETCH(QVariant, modifiers);
        const AccessibilityElement item = m_accessibility.element(Pid, path);
        QVERIFY(!item.isNull());
        QCOMPARE(attribute(item, EnabledAttribute).toBool(), enabled);
        QCOMPARE(item.copyAttribute(QString(PositionAttribute)).has_value(), positioned);
        QCOMPARE(attribute(item, MarkCharAttribute), mark);
        QCOMPARE(attribute(item, CmdCharAttribute), character);
        QCOMPARE(attribute(item, CmdVirtualKeyAttribute), virtualKey);
        QCOMPARE(attribute(item, CmdModifiersAttribute), modifiers);
    }

    void separatorsHaveNoTitle()
    {
        const AccessibilityElement file = m_accessibility.element(Pid, {"File"});
        const AccessibilityElementList entries = childrenOf(childrenOf(file).first());
        QCOMPARE(attribute(entries.first(), TitleAttribute).toString(), QString());
        QCOMPARE(attribute(entries.last(), TitleAttribute).toString(), QString());
    }

    void pressingRecordsEnabledItemsOnly()
    {
        m_accessibility.resetCounters();
        QVERIFY(m_accessibility.element(Pid, {"File", "Open Recent", "Projects", "Alpha"})
                    .performAction(QString(PressAction)));
        QVERIFY(
            !m_accessibility.element(Pid, {"File", "Export"}).performAction(QString(PressAction)));
        QVERIFY(!m_accessibility.element(Pid, {"File", "Save"}).performAction("AXCancel"));
        QCOMPARE(m_accessibility.pressedItems(),
                 QStringList{"File > Open Recent > Projects > Alpha"});
        QCOMPARE(m_accessibility.requestCount(QString(PressAction)), 2);
    }

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

    void alternatesNameTheirPrimary()
    {
        MemoryAccessibility accessibility;
        const QJsonDocument document = QJsonDocument::fromJson(R"({"menus": [{"title": "File",
            "items": [{"title": "Close", "shortcut": "Ctrl+W"},
                      {"title": "Close All", "shortcut": "Ctrl+Alt+W", "alternateOf": "Close"}]}]})");
        accessibility.addApplication(1, document.object());
        const AccessibilityElement primary = accessibility.element(1, {"File", "Close"});
        const AccessibilityElement alternate = accessibility.element(1, {"File", "Close All"});
        QCOMPARE(accessibilityElementFromVariant(attribute(alternate, PrimaryUIElementAttribute)),
                 primary);
        QVERIFY(!primary.copyAttribute(QString(PrimaryUIElementAttribute)));
    }
};

QTEST_GUILESS_MAIN(MemoryMenuTreeTest)
#include "memory_menu_tree_test.moc"
