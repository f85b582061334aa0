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
        qputenv("XDG_DATA_HOME", m_root.filePath(QStringLiteral("home")).toUtf8());
        qputenv("XDG_DATA_DIRS", (m_root.filePath(QStringLiteral("first")) + u':' +
                                  m_root.filePath(QStringLiteral("second")))
                                     .toUtf8());
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

        QTest::newRow("program path with field codes")
            << "Name=Text Editor\nExec=/usr/bin/texteditor %U"
            << "texteditor"
            << "Text Editor";
        QTest::newRow("bare program name") << "Name=Calculator\nExec=calc"
                                           << "calc"
                                           << "Calculator";
        QTest::newRow("case does not matter") << "Name=Paint\nExec=Paint.bin --new"
                                              << "paint.BIN"
                                              << "Paint";
        QTest::newRow("quoted path with spaces")
            << "Name=Draw Pad\nExec=\"/opt/Draw Pad/drawpad\" %F"
            << "drawpad"
            << "Draw Pad";
        QTest::newRow("env with variables first")
            << "Name=Spreadsheet\nExec=env LANG=C GDK_BACKEND=x11 /usr/bin/sheets %f"
            << "sheets"
            << "Spreadsheet";
        QTest::newRow("env itself is not the program") << "Name=Spreadsheet\nExec=env LANG=C sheets"
                                                       << "env"
                                                       << "";
        QTest::newRow("window class") << "Name=Browser\nExec=/opt/browser/launcher\n"
                                         "StartupWMClass=WebBrowser"
                                      << "webbrowser"
                                      << "Browser";
        QTest::newRow("spaces around keys and values") << "  Name =  Notes  \n Exec = notes"
                                                       << "notes"
                                                       << "Notes";
        QTest::newRow("no entry for it") << "Name=Calculator\nExec=calc"
                                         << "clock"
                                         << "";
        QTest::newRow("hidden entry") << "Name=Gone\nExec=gone\nHidden=true"
                                      << "gone"
                                      << "";
        QTest::newRow("entry kept out of menus still names")
            << "Name=Helper\nExec=helper\nNoDisplay=true"
            << "helper"
            << "Helper";
        QTest::newRow("entry without a name") << "Exec=nameless"
                                              << "nameless"
                                              << "";
    }

    void matching()
    {
        QFETCH(QString, entry);
        QFETCH(QString, executable);
        QFETCH(QString, expected);
        write(QStringLiteral("first"), QStringLiteral("app.desktop"),
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
        write(QStringLiteral("first"), QStringLiteral("calc.desktop"),
              QStringLiteral("[Desktop Entry]\nName[de_AT]=Rechner (Österreich)\n"
                             "Name=Calculator\nName[de]=Rechner\nExec=calc\n"));
        DesktopEntryNames names;
        QCOMPARE(names.nameForExecutable(QStringLiteral("calc")), expected);
    }

    void otherGroupsAreIgnored()
    {
        write(QStringLiteral("first"), QStringLiteral("editor.desktop"),
              QStringLiteral("[Desktop Entry]\nName=Editor\nExec=editor %F\n\n"
                             "[Desktop Action new-window]\nName=New Window\n"
                             "Exec=other --new-window\n"));
        DesktopEntryNames names;
        QCOMPARE(names.nameForExecutable(QStringLiteral("editor")), QStringLiteral("Editor"));
        QCOMPARE(names.nameForExecutable(QStringLiteral("other")), QString());
    }

    void earlierFoldersWin()
    {
        // The same program in two system folders under different file names.
        write(QStringLiteral("second"), QStringLiteral("a-viewer.desktop"),
              QStringLiteral("[Desktop Entry]\nName=Old Viewer\nExec=viewer\n"));
        write(QStringLiteral("first"), QStringLiteral("z-viewer.desktop"),
              QStringLiteral("[Desktop Entry]\nName=Viewer\nExec=viewer\n"));
        // The user's own copy of a system entry.
        write(QStringLiteral("first"), QStringLiteral("player.desktop"),
              QStringLiteral("[Desktop Entry]\nName=Player\nExec=player\n"));
        write(QStringLiteral("home"), QStringLiteral("player.desktop"),
              QStringLiteral("[Desktop Entry]\nName=My Player\nExec=player\n"));
        DesktopEntryNames names;
        QCOMPARE(names.nameForExecutable(QStringLiteral("viewer")), QStringLiteral("Viewer"));
        QCOMPARE(names.nameForExecutable(QStringLiteral("player")), QStringLiteral("My Player"));
    }

    void userHiddenEntryRemovesTheSystemOne()
    {
        write(QStringLiteral("first"), QStringLiteral("mail.desktop"),
              QStringLiteral("[Desktop Entry]\nName=Mail\nExec=mail\n"));
        write(QStringLiteral("home"), QStringLiteral("mail.desktop"),
              QStringLiteral("[Desktop Entry]\nName=Mail\nExec=mail\nHidden=true\n"));
        DesktopEntryNames names;
        QCOMPARE(names.nameForExecutable(QStringLiteral("mail")), QString());
    }

    void unreadableFilesAndMissingFoldersAreSkipped()
    {
        write(QStringLiteral("first"), QStringLiteral("broken.desktop"),
              QStringLiteral("\xff\xfe garbage without groups = \n[Desktop Entry\nName"));
        write(QStringLiteral("first"), QStringLiteral("tool.desktop"),
              QStringLiteral("[Desktop Entry]\nName=Tool\nExec=tool\n"));
        qputenv("XDG_DATA_DIRS", (m_root.filePath(QStringLiteral("missing")) + u':' +
                                  m_root.filePath(QStringLiteral("first")))
                                     .toUtf8());
        DesktopEntryNames names;
        QCOMPARE(names.nameForExecutable(QStringLiteral("tool")), QStringLiteral("Tool"));
        QCOMPARE(names.nameForExecutable(QString()), QString());
    }
};

QTEST_GUILESS_MAIN(DesktopEntryNamesTest)
#include "desktop_entry_names_test.moc"
