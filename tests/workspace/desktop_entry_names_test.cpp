#include "platform/workspace/x11/DesktopEntryNames.h"
#include "support/TestProgram.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

using platform::DesktopEntryNames;

// Naming applications after their installed desktop entries: which entry
// matches a process, which of its names is used, and which folder wins.
class DesktopEntryNamesTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_root;
    QByteArray m_savedHome;
    QByteArray m_savedDirs;

    // <root>/<folder>/applications, which XDG_DATA_HOME or XDG_DATA_DIRS name.
    QString applications(const QString& folder) const
    {
        return m_root.filePath(folder + QStringLiteral("/applications"));
    }

    void write(const QString& folder, const QString& fileName, const QString& text) const
    {
        const QString path = applications(folder) + u'/' + fileName;
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text.toUtf8());
    }

    // A desktop entry naming one program.
    void writeEntry(const QString& folder, const QString& fileName, const QString& name,
                    const QString& exec, const QString& extra = {}) const
    {
        write(folder, fileName,
              QStringLiteral("[Desktop Entry]\nName=%1\nExec=%2\n%3").arg(name, exec, extra));
    }

    // The name of an application known only by its program.
    static QString nameOfProgram(const QString& program)
    {
        DesktopEntryNames names;
        return names.name({{}, {}, {program}, {}});
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        m_savedHome = qgetenv("XDG_DATA_HOME");
        m_savedDirs = qgetenv("XDG_DATA_DIRS");
    }

    void init()
    {
        // The user's folder, then two system folders, in precedence order.
        qputenv("XDG_DATA_HOME", m_root.filePath("home").toUtf8());
        qputenv("XDG_DATA_DIRS",
                (m_root.filePath("first") + u':' + m_root.filePath("second")).toUtf8());
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    void cleanup()
    {
        QDir(m_root.path()).removeRecursively();
        QDir().mkpath(m_root.path());
        QLocale::setDefault(QLocale::c());
    }

    void cleanupTestCase()
    {
        qputenv("XDG_DATA_HOME", m_savedHome);
        qputenv("XDG_DATA_DIRS", m_savedDirs);
    }

    void matching_data()
    {
        QTest::addColumn<QString>("entry");      // the [Desktop Entry] group's lines
        QTest::addColumn<QString>("executable"); // asked for
        QTest::addColumn<QString>("expected");   // empty: no name
        const auto row = [](const char* name, const char* entry, const char* executable,
                            const char* expected) {
            QTest::newRow(name) << QString::fromUtf8(entry) << QString::fromUtf8(executable)
                                << QString::fromUtf8(expected);
        };
        row("program path with field codes", "Name=Text Editor\nExec=/usr/bin/texteditor %U",
            "texteditor", "Text Editor");
        row("bare program name", "Name=Calculator\nExec=calc", "calc", "Calculator");
        row("case does not matter", "Name=Paint\nExec=Paint.bin --new", "paint.BIN", "Paint");
        row("quoted path with spaces", "Name=Draw Pad\nExec=\"/opt/Draw Pad/drawpad\" %F",
            "drawpad", "Draw Pad");
        row("env with variables first",
            "Name=Spreadsheet\nExec=env LANG=C GDK_BACKEND=x11 /usr/bin/sheets %f", "sheets",
            "Spreadsheet");
        row("env itself is not the program", "Name=Spreadsheet\nExec=env LANG=C sheets", "env", "");
        row("spaces around keys and values", "  Name =  Notes  \n Exec = notes", "notes", "Notes");
        row("no entry for it", "Name=Calculator\nExec=calc", "clock", "");
        row("hidden entry", "Name=Gone\nExec=gone\nHidden=true", "gone", "");
        row("entry kept out of menus still names", "Name=Helper\nExec=helper\nNoDisplay=true",
            "helper", "Helper");
        row("entry without a name", "Exec=nameless", "nameless", "");
        const char* withAction = "Name=Editor\nExec=editor %F\n\n[Desktop Action new-window]\n"
                                 "Name=New Window\nExec=other --new-window";
        row("other groups' names are ignored", withAction, "editor", "Editor");
        row("other groups' programs are ignored", withAction, "other", "");
    }

    void matching()
    {
        QFETCH(QString, entry);
        QFETCH(QString, executable);
        QFETCH(QString, expected);
        write("first", "app.desktop",
              QStringLiteral("[Desktop Entry]\nType=Application\n") + entry + u'\n');
        QCOMPARE(nameOfProgram(executable), expected);
    }

    void localizedNames_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("expected");
        QTest::newRow("language and country")
            << QLocale(QLocale::German, QLocale::Austria) << "Rechner (Österreich)";
        QTest::newRow("language only") << QLocale(QLocale::German, QLocale::Germany) << "Rechner";
        QTest::newRow("untranslated language")
            << QLocale(QLocale::French, QLocale::France) << "Calculator";
    }

    void localizedNames()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, expected);
        QLocale::setDefault(locale);
        // The localized keys come before and after the plain one, as in
        // real files.
        write("first", "calc.desktop",
              QStringLiteral("[Desktop Entry]\nName[de_AT]=Rechner (Österreich)\n"
                             "Name=Calculator\nName[de]=Rechner\nExec=calc\n"));
        QCOMPARE(nameOfProgram(QStringLiteral("calc")), expected);
    }

    // Desktop entry precedence: the user's folder, then the system folders in order.
    void earlierFoldersWin()
    {
        // The same program in two system folders under different file names.
        writeEntry("second", "a-viewer.desktop", "Old Viewer", "viewer");
        writeEntry("first", "z-viewer.desktop", "Viewer", "viewer");
        // The user's own copy of a system entry.
        writeEntry("first", "player.desktop", "Player", "player");
        writeEntry("home", "player.desktop", "My Player", "player");
        // The user's hidden copy removes the system entry.
        writeEntry("first", "mail.desktop", "Mail", "mail");
        writeEntry("home", "mail.desktop", "Mail", "mail", "Hidden=true\n");
        QCOMPARE(nameOfProgram(QStringLiteral("viewer")), QStringLiteral("Viewer"));
        QCOMPARE(nameOfProgram(QStringLiteral("player")), QStringLiteral("My Player"));
        QCOMPARE(nameOfProgram(QStringLiteral("mail")), QString());
    }

    // Which of several entries names an application: its windows' desktop
    // file id and WM_CLASS first, then the entry that starts its program as
    // it is, then its own name, then an entry that starts a mode of it.
    void choosing_data()
    {
        QTest::addColumn<QStringList>("files"); // file name, then its [Desktop Entry] lines
        QTest::addColumn<QStringList>("desktopIds");
        QTest::addColumn<QStringList>("windowClasses");
        QTest::addColumn<QStringList>("programs");
        QTest::addColumn<QString>("ownName");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const QStringList& files, const QStringList& ids,
                            const QStringList& classes, const QStringList& programs,
                            const char* ownName, const char* expected) {
            QTest::newRow(name) << files << ids << classes << programs << QString::fromUtf8(ownName)
                                << QString::fromUtf8(expected);
        };
        // The settings entry sorts before the editor's own.
        const QStringList editorPair{
            "org.xfce.mousepad-settings.desktop",
            "Name=Text Editor Settings\nExec=mousepad --preferences",
            "org.xfce.mousepad.desktop",
            "Name=Text Editor\nExec=mousepad %U\nStartupNotify=true",
        };
        row("program: the entry without arguments", editorPair, {}, {}, {"mousepad"}, "mousepad",
            "Text Editor");
        row("application id", editorPair, {"org.xfce.mousepad"}, {"Mousepad", "mousepad"},
            {"mousepad"}, "mousepad", "Text Editor");
        row("window class for the last part of a reverse-DNS file id", editorPair, {},
            {"Mousepad", "mousepad"}, {"mousepad"}, "mousepad", "Text Editor");
        row("desktop file id with its suffix",
            {"a-viewer.desktop", "Name=Other Viewer\nExec=viewer %f", "org.example.Viewer.desktop",
             "Name=Viewer\nExec=viewer"},
            {"org.example.Viewer.desktop"}, {}, {"viewer"}, "", "Viewer");
        row("StartupWMClass against the window's class",
            {"a-web.desktop", "Name=Web Apps\nExec=browser %u", "browser.desktop",
             "Name=Browser\nExec=/opt/browser/launcher\nStartupWMClass=WebBrowser"},
            {}, {"WebBrowser", "Navigator"}, {"browser"}, "", "Browser");
        row("window class for the file id of an interpreted program",
            {"notes.desktop", "Name=Notes\nExec=python3 /usr/share/notes/main.py %F"}, {},
            {"Notes", "notes"}, {"python3"}, "", "Notes");
        row("entries kept out of menus come after the others",
            {"a-handler.desktop", "Name=Link Handler\nExec=tool %u\nNoDisplay=true",
             "b-tool.desktop", "Name=Tool\nExec=tool"},
            {}, {}, {"tool"}, "", "Tool");
        row("the executable before the process name",
            {"a.desktop", "Name=By Process\nExec=proc", "b.desktop",
             "Name=By Executable\nExec=exe"},
            {}, {}, {"exe", "proc"}, "", "By Executable");
        row("own name before an entry that starts a mode",
            {"settings.desktop", "Name=Text Editor Settings\nExec=mousepad --preferences"}, {}, {},
            {"mousepad"}, "Mousepad Editor", "Mousepad Editor");
        row("own name before an interpreter's script entry",
            {"script.desktop", "Name=Some Script\nExec=python3 /opt/script.py"}, {}, {},
            {"python3"}, "Calculator", "Calculator");
        row("an entry that starts a mode when the own name is the program's",
            {"code.desktop", "Name=Code Editor\nExec=code --new-window %F"}, {}, {}, {"code"},
            "code", "Code Editor");
        row("an entry in a subfolder by its desktop file id",
            {"kde/calc.desktop", "Name=Calculator\nExec=kcalc"}, {"kde-calc"}, {}, {"other"}, "",
            "Calculator");
        row("no entry fits: the own name", editorPair, {"org.other.App"}, {"Other"}, {"other"},
            "Other App", "Other App");
        row("no entry fits and no own name", editorPair, {}, {}, {"other"}, "", "");
    }

    void choosing()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, desktopIds);
        QFETCH(QStringList, windowClasses);
        QFETCH(QStringList, programs);
        QFETCH(QString, ownName);
        QFETCH(QString, expected);
        for (qsizetype i = 0; i + 1 < files.size(); i += 2) {
            write("first", files.at(i),
                  QStringLiteral("[Desktop Entry]\nType=Application\n") + files.at(i + 1) + u'\n');
        }
        DesktopEntryNames names;
        QCOMPARE(names.name({desktopIds, windowClasses, programs, ownName}), expected);
    }

    // Desktop entries are outside input: a broken one is skipped and never
    // stops the others from naming.
    void brokenEntriesAreSkipped()
    {
        write("first", "binary.desktop",
              QStringLiteral("\xff\xfe\x00 garbage = \n[Desktop Entry\nName"));
        write("first", "no-group.desktop", QStringLiteral("Name=Loose\nExec=loose\n"));
        write("first", "link.desktop",
              QStringLiteral("[Desktop Entry]\nType=Link\nName=Site\nExec=site\n"));
        write("first", "no-program.desktop",
              QStringLiteral("[Desktop Entry]\nName=Nothing\nExec=\n"));
        write("first", "env-only.desktop",
              QStringLiteral("[Desktop Entry]\nName=Env\nExec=env A=1\n"));
        write("first", "open-quote.desktop",
              QStringLiteral("[Desktop Entry]\nName=Quoted\nExec=\"/opt/quoted app\n"));
        write("first", "escapes.desktop",
              QStringLiteral("[Desktop Entry]\nName=Two\\sWords\\\\\nExec=words\n"));
        write("first", "second-group.desktop",
              QStringLiteral("[Desktop Entry]\nName=First\nExec=first\n[Desktop Entry]\n"
                             "Name=Second\nExec=second\n"));
        // Larger than any desktop entry: not read at all.
        write("first", "huge.desktop",
              QStringLiteral("[Desktop Entry]\nName=Huge\nExec=huge\n") +
                  QString(2 * 1024 * 1024, u'x'));
        writeEntry("first", "tool.desktop", "Tool", "tool");
        qputenv("XDG_DATA_DIRS",
                (m_root.filePath("missing") + u':' + m_root.filePath("first")).toUtf8());
        QCOMPARE(nameOfProgram(QStringLiteral("tool")), QStringLiteral("Tool"));
        for (const char* program : {"loose", "site", "env", "huge", "second"}) {
            QCOMPARE(nameOfProgram(QString::fromLatin1(program)), QString());
        }
        QCOMPARE(nameOfProgram(QStringLiteral("quoted app")), QStringLiteral("Quoted"));
        QCOMPARE(nameOfProgram(QStringLiteral("words")), QStringLiteral("Two Words\\"));
        QCOMPARE(nameOfProgram(QStringLiteral("first")), QStringLiteral("First"));
        QCOMPARE(nameOfProgram(QString()), QString());
    }
};

TROVIX_TEST_GUILESS_MAIN(DesktopEntryNamesTest)
#include "desktop_entry_names_test.moc"
