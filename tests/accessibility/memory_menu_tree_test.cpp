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
