#include "app/DumpMenuCommand.h"
#include "app/PopupCommand.h"
#include "app/QXDefaultsRegistration.h"
#include "app/SearchCommand.h"
#include "platform/accessibility/memory/MemoryAccessibility.h"
#include "platform/menus/Menu.h"
#include "platform/menus/MenuItem.h"
#include "platform/workspace/memory/MemoryWorkspace.h"
#include "support/CommandRun.h"
#include "support/TemporaryDefaults.h"
#include "support/TestProgram.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr qint64 Pid = 6160;

using Result = CommandResult;

// The first character a terminal could take for something other than text:
// a control character (C0, DEL, C1) or a format character (the bidirectional
// overrides and isolates among them). Line breaks and the tab between a path
// and its key are the commands' own.
QString firstControlCharacter(const QString& output)
{
    for (const QChar c : output) {
        if (c == u'\n' || c == u'\t') {
            continue;
        }
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format ||
            c.category() == QChar::Separator_Line || c.category() == QChar::Separator_Paragraph) {
            return QStringLiteral("U+%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        }
    }
    return QString();
}

} // namespace

// What applications publish (titles, their own names) reaches the terminal
// through dump-menu, popup --print and search with every control character
// replaced: no escape sequence can clear the screen, retitle the window,
// rewrite a line or reverse the text around it.
class TerminalOutputTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TemporaryDefaults> m_defaults;
    std::unique_ptr<QTemporaryDir> m_state;
    platform::MemoryAccessibility* m_accessibility = nullptr;
    platform::MemoryWorkspace* m_workspace = nullptr;

    // An application of that name whose File menu holds an item of that
    // title, with a key.
    void addApplication(const QString& name, const QString& title)
    {
        const QJsonObject item{{"title", title}, {"shortcut", "Ctrl+S"}};
        const QJsonObject file{{"title", "File"}, {"items", QJsonArray{item}}};
        m_accessibility->addApplication(Pid,
                                        QJsonObject{{"name", name}, {"menus", QJsonArray{file}}});
        m_workspace->addApplication(Pid, name, "/usr/bin/hostile");
        m_workspace->setFrontmost(Pid);
        m_workspace->setMenuBarOwner(Pid);
    }

private Q_SLOTS:
    void init()
    {
        m_defaults = std::make_unique<TemporaryDefaults>();
        QXDefaultsRegistration::registerDefaults(m_defaults->defaults());
        m_state = std::make_unique<QTemporaryDir>();
        qputenv("XDG_STATE_HOME", m_state->path().toUtf8());
        m_accessibility = new platform::MemoryAccessibility();
        m_workspace = new platform::MemoryWorkspace();
        platform::Accessibility::setCurrent(
            std::unique_ptr<platform::Accessibility>(m_accessibility));
        platform::Workspace::setCurrent(std::unique_ptr<platform::Workspace>(m_workspace));
    }

    void cleanup()
    {
        platform::Workspace::setCurrent(nullptr);
        platform::Accessibility::setCurrent(nullptr);
        m_defaults.reset();
        m_state.reset();
    }

    void applicationTextIsPrintedWithoutControlCharacters_data()
    {
        QTest::addColumn<QString>("hostile");
        QTest::newRow("clear screen, window title, bell")
            << QStringLiteral("\x1b[2J\x1b]0;owned\x07Zebra");
        QTest::newRow("carriage return over the line") << QStringLiteral("Zebra\r\x1b[Kfake");
        QTest::newRow("line break, tab, backspace") << QStringLiteral("Ze\nbra\t\b\x7f Zebra");
        QTest::newRow("eight-bit CSI") << QStringLiteral("\u009b31mZebra");
        QTest::newRow("bidirectional override and isolate")
            << QStringLiteral("Zebra \u202etxt.exe\u2066x\u2069\u200f");
        QTest::newRow("line and paragraph separators") << QStringLiteral("Zebra\u2028\u2029x");
    }

    void applicationTextIsPrintedWithoutControlCharacters()
    {
        QFETCH(QString, hostile);
        addApplication(hostile, hostile);

        const Result dump = runCommand(runDumpMenuCommand, {"--pid", QString::number(Pid)});
        QCOMPARE(dump.status, 0);
        QCOMPARE(firstControlCharacter(dump.out), QString());
        QVERIFY2(dump.out.count(QStringLiteral("Zebra")) >= 2, qPrintable(dump.out)); // name, item
        QVERIFY(dump.out.contains(QStringLiteral("key=⌃S")));

        const Result search = runCommand(runSearchCommand, {"--all", "zebra"});
        QCOMPARE(search.status, 0);
        QCOMPARE(firstControlCharacter(search.out), QString());
        const QString best = search.out.section(u'\n', 0, 0);
        QVERIFY2(best.count(QStringLiteral("Zebra")) >= 2, qPrintable(best)); // name and item
        QVERIFY2(best.endsWith(QStringLiteral("\t⌃S")), qPrintable(best));

        platform::Menu menu(hostile);
        menu.addItem(hostile, QString(), {}, QStringLiteral("\x1b"));
        menu.addItem(QStringLiteral("Plain"), QString(), {}, hostile.left(1));
        QString popup;
        QTextStream out(&popup);
        printPopUpMenu(menu, 1, out);
        QCOMPARE(firstControlCharacter(popup), QString());
        QCOMPARE(popup.count(QStringLiteral("Zebra")), 2); // the menu and the item
    }

    // A menu cut short (an application claiming more entries than are read)
    // says in dump-menu's text and JSON how many entries it left out.
    void aCutMenuSaysHowManyEntriesItLeftOut()
    {
        addApplication(QStringLiteral("Big"), QStringLiteral("Open"));
        const platform::AccessibilityElement file = m_accessibility->element(Pid, {"File"});
        const platform::AccessibilityElementList menus =
            platform::accessibilityElementListFromVariant(
                file.copyAttribute(QStringLiteral("AXChildren")).value_or(QVariant()));
        QVERIFY(!menus.isEmpty());
        m_accessibility->setClaimedChildCount(menus.first(), 2500);

        const Result dump = runCommand(runDumpMenuCommand, {"--pid", QString::number(Pid)});
        QCOMPARE(dump.status, 0);
        QVERIFY2(dump.out.contains(QStringLiteral("  500 more items not shown  [disabled]\n")),
                 qPrintable(dump.out.right(300)));
        const Result json =
            runCommand(runDumpMenuCommand, {"--pid", QString::number(Pid), "--json"});
        const QJsonArray bar =
            QJsonDocument::fromJson(json.out.toUtf8()).object().value("menus").toArray();
        QVERIFY(!bar.isEmpty());
        QCOMPARE(bar.last().toObject().value("omitted").toInteger(), 500);
        QCOMPARE(bar.last().toObject().value("items").toArray().size(), 2000);
    }

    // JSON output is for programs: it keeps the text as published, and the
    // JSON writer escapes the control characters in it.
    void jsonKeepsTheTextEscaped()
    {
        const QString hostile = QStringLiteral("\x1b[2J\rZebra\x07");
        addApplication(QStringLiteral("Hostile"), hostile);
        const Result dump =
            runCommand(runDumpMenuCommand, {"--pid", QString::number(Pid), "--json"});
        QCOMPARE(dump.status, 0);
        QCOMPARE(firstControlCharacter(dump.out), QString());
        const QJsonObject document = QJsonDocument::fromJson(dump.out.toUtf8()).object();
        const QJsonArray menus = document.value("menus").toArray();
        QVERIFY(!menus.isEmpty());
        const QJsonObject file = menus.last().toObject();
        QCOMPARE(file.value("items").toArray().first().toObject().value("title").toString(),
                 hostile);
    }
};

TROVIX_TEST_MAIN(TerminalOutputTest)
#include "terminal_output_test.moc"
