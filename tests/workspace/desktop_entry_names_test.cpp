#include "platform/workspace/x11/DesktopEntryNames.h"

#include <QDir>
#include <QFile>
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
        QDir().mkpath(applications(folder));
        QFile file(applications(folder) + u'/' + fileName);
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
        row("window class", "Name=Browser\nExec=/opt/browser/launcher\nStartupWMClass=WebBrowser",
            "webbrowser", "Browser");
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
        DesktopEntryNames names;
        QCOMPARE(names.nameForExecutable(executable), expected);
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
        DesktopEntryNames names;
        QCOMPARE(names.nameForExecutable(QStringLiteral("calc")), expected);
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
        DesktopEntryNames names;
        QCOMPARE(names.nameForExecutable(QStringLiteral("viewer")), QStringLiteral("Viewer"));
        QCOMPARE(names.nameForExecutable(QStringLiteral("player")), QStringLiteral("My Player"));
        QCOMPARE(names.nameForExecutable(QStringLiteral("mail")), QString());
    }

    void unreadableFilesAndMissingFoldersAreSkipped()
    {
        write("first", "broken.desktop",
              QStringLiteral("\xff\xfe garbage without groups = \n[Desktop Entry\nName"));
        writeEntry("first", "tool.desktop", "Tool", "tool");
        qputenv("XDG_DATA_DIRS",
                (m_root.filePath("missing") + u':' + m_root.filePath("first")).toUtf8());
        DesktopEntryNames names;
        QCOMPARE(names.nameForExecutable(QStringLiteral("tool")), QStringLiteral("Tool"));
        QCOMPARE(names.nameForExecutable(QString()), QString());
    }
};

QTEST_GUILESS_MAIN(DesktopEntryNamesTest)
#include "desktop_entry_names_test.moc"
