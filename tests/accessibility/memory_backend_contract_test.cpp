#include "platform/accessibility/AccessibilityNames.h"
#include "platform/accessibility/memory/MemoryAccessibility.h"
#include "support/TestProgram.h"

#include <QJsonDocument>
#include <QJsonObject>
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

// Where the real backends refuse, time out or answer later, the memory
// backend must do the same, or the tests that run the program against it
// would pass on behaviour no desktop shows.
class MemoryBackendContractTest : public QObject
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

    // The key equivalent as the AT-SPI backend reads it from either toolkit:
    // mnemonics and items that open submenus have none.
    void keyEquivalentsOfBothToolkits_data()
    {
        QTest::addColumn<QString>("toolkit");
        QTest::addColumn<QByteArray>("item");
        QTest::addColumn<QVariant>("character");
        QTest::addColumn<QVariant>("modifiers");
        const auto row = [](const char* name, const char* toolkit, const QByteArray& item,
                            QVariant character, QVariant modifiers) {
            QTest::newRow(name) << QString::fromLatin1(toolkit) << item << character << modifiers;
        };
        const QVariant none;
        const char* submenu = R"("items": [{"title": "One"}])";
        row("qt mnemonic only", "qt", R"({"title": "Save as...", "mnemonic": "a"})", none, none);
        row("qt mnemonic and shortcut", "qt",
            R"({"title": "Print", "mnemonic": "P", "shortcut": "Ctrl+P"})", "P", 12);
        row("qt mnemonic joined with the shortcut", "qt",
            R"({"title": "Save as", "keyBinding": "Alt+a;Ctrl+Shift+S"})", "S", 13);
        row("qt submenu", "qt",
            QByteArray(R"({"title": "Recent", "shortcut": "Ctrl+R", )") + submenu + "}", none,
            none);
        row("gtk mnemonic field", "gtk",
            R"({"title": "New", "keyBinding": "n;<Alt>f:n;<Primary>n"})", "N", 12);
        row("gtk alt accelerator of a title letter", "gtk",
            R"({"title": "Save", "keyBinding": "s;;<Alt>s"})", "S", 10);
        row("gtk shortcut text", "gtk", R"({"title": "Quit", "shortcut": "Ctrl+Q"})", "Q", 12);
        row("gtk submenu", "gtk",
            QByteArray(R"({"title": "Recent", "keyBinding": "r;;<Primary>r", )") + submenu + "}",
            none, none);
    }

    void keyEquivalentsOfBothToolkits()
    {
        QFETCH(QString, toolkit);
        QFETCH(QByteArray, item);
        QFETCH(QVariant, character);
        QFETCH(QVariant, modifiers);
        const QJsonDocument document =
            QJsonDocument::fromJson(R"({"toolkit": ")" + toolkit.toUtf8() +
                                    R"(", "menus": [{"title": "File", "items": [)" + item + "]}]}");
        QVERIFY(document.isObject());
        MemoryAccessibility accessibility;
        accessibility.addApplication(1, document.object());
        const AccessibilityElement element =
            childrenOf(childrenOf(accessibility.element(1, {"File"})).first()).first();
        QCOMPARE(attribute(element, CmdCharAttribute), character);
        QCOMPARE(attribute(element, CmdModifiersAttribute), modifiers);
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
};

TROVIX_TEST_GUILESS_MAIN(MemoryBackendContractTest)
#include "memory_backend_contract_test.moc"
