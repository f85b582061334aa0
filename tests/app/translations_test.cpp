// Trovix speaks the user's language where it has a catalogue for it: the
// localization chosen from the preferred languages, the texts of the program
// menu, the preferences window and pop-ups, Qt's own buttons, and English
// whenever no catalogue fits.

#include "AppTestEnvironment.h"
#include "app/QXMainPreferencesWindow.h"
#include "app/QXSettingsKeys.h"
#include "app/QXTranslations.h"
#include "hotkeys/QXHotKeyHandlerApplication.h"
#include "menus/PopUpTestEnvironment.h"
#include "platform/bundle/Bundle.h"
#include "platform/menus/Menu.h"
#include "support/TestProgram.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

class TranslationsTest : public QObject
{
    Q_OBJECT

private:
    static QString withoutMnemonic(QString text) { return text.remove(QLatin1Char('&')); }

    // The title the first submenu of a pop-up shows when the foreign menu
    // holds nothing but separators.
    static QString emptySubmenuTitle()
    {
        PopUpTestEnvironment environment;
        ForeignMenu foreign;
        platform::Menu menu;
        QXProxyMenuItem::addMenuItemWithUIElement(
            platform::AccessibilityElement(foreign.menu("Bare", {foreign.item({})})), menu, 2,
            false, {});
        platform::Menu& submenu = *menu.lastItem()->submenu();
        submenu.update();
        return submenu.numberOfItems() == 1 ? submenu.itemAtIndex(0)->title() : QString();
    }

private Q_SLOTS:
    void cleanup() { QXInstallTranslations(QStringList{QStringLiteral("C")}); }

    void choosesTheBestLocalizationOfTheBundle_data()
    {
        QTest::addColumn<QStringList>("languages");
        QTest::addColumn<QString>("localization");
        QTest::newRow("region and script fall back to the language")
            << QStringList{"de-Latn-DE"} << "de";
        QTest::newRow("a regional folder comes before the language")
            << QStringList{"pt-BR"} << "pt_BR";
        QTest::newRow("a folder without the catalogue is passed over")
            << QStringList{"it", "fr"} << "fr";
        QTest::newRow("the order of the list decides") << QStringList{"fr-CA", "de"} << "fr";
        QTest::newRow("English first keeps the English texts") << QStringList{"en-US", "de"} << "";
        QTest::newRow("C, as QLocale lists it after an unknown language, is passed over")
            << QStringList{"xx", "C", "de"} << "de";
        QTest::newRow("an English variant with a folder of its own")
            << QStringList{"en-GB", "de"} << "en_GB";
        QTest::newRow("a path is passed over, not obeyed")
            << QStringList{"../../../outside", "de"} << "de";
        QTest::newRow("odd spellings are passed over")
            << QStringList{"", "de_", "-de", "de/../fr", "fr"} << "fr";
    }

    void choosesTheBestLocalizationOfTheBundle()
    {
        QFETCH(QStringList, languages);
        QFETCH(QString, localization);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString resources = folder.filePath(QStringLiteral("Test.app/Contents/Resources"));
        const auto addCatalogue = [](const QString& lproj) {
            QFile catalogue(lproj + QStringLiteral("/Localizable.qm"));
            return QDir().mkpath(lproj) && catalogue.open(QIODevice::WriteOnly);
        };
        for (const char* name : {"de", "fr", "pt", "pt_BR", "en_GB"}) {
            QVERIFY(addCatalogue(resources + QLatin1Char('/') + QLatin1String(name) +
                                 QStringLiteral(".lproj")));
        }
        // Other resources only.
        QVERIFY(QDir().mkpath(resources + QStringLiteral("/it.lproj")));
        // What "../../../outside" would reach from the resources.
        QVERIFY(addCatalogue(folder.filePath(QStringLiteral("outside.lproj"))));

        const platform::Bundle bundle(folder.filePath(QStringLiteral("Test.app")));
        QCOMPARE(bundle.preferredLocalization(languages, QStringLiteral("Localizable.qm")),
                 localization);
    }

    void programTextsFollowTheLanguage_data()
    {
        QTest::addColumn<QStringList>("languages");
        QTest::addColumn<QString>("localization");
        QTest::addColumn<QStringList>("programMenu");
        QTest::addColumn<QString>("preferencesTitle");
        QTest::addColumn<QString>("shortcutsSwitch");
        QTest::addColumn<QString>("empty");
        QTest::addColumn<QString>("cancelButton");
        QTest::newRow("German") << QStringList{"de"} << "de"
                                << QStringList{"Über Trovix", "Nach Aktualisierungen suchen …",
                                               "Hilfe", "Einstellungen …", "Beenden"}
                                << "Einstellungen"
                                << "Tastenkürzel anzeigen"
                                << "Leer"
                                << "Abbrechen";
        QTest::newRow("French for Canada")
            << QStringList{"fr-CA", "fr-Latn-CA"} << "fr"
            << QStringList{"À propos de Trovix", "Rechercher des mises à jour…", "Aide",
                           "Préférences…", "Quitter"}
            << "Préférences"
            << "Afficher les raccourcis clavier"
            << "Vide"
            << "Annuler";
        QTest::newRow("no catalogue: English")
            << QStringList{"xx", "C"} << ""
            << QStringList{"About Trovix", "Check for Updates...", "Help", "Preferences...", "Quit"}
            << "Preferences"
            << "Show keyboard shortcuts"
            << "Empty"
            << "Cancel";
    }

    void programTextsFollowTheLanguage()
    {
        QFETCH(QStringList, languages);
        QFETCH(QString, localization);
        QFETCH(QStringList, programMenu);
        QFETCH(QString, preferencesTitle);
        QFETCH(QString, shortcutsSwitch);
        QFETCH(QString, empty);
        QFETCH(QString, cancelButton);

        QCOMPARE(QXInstallTranslations(languages), localization);
        {
            AppTestEnvironment environment;
            QXMainController& controller = QXMainController::mainController();
            platform::Menu menu;
            controller.populateContextMenu(menu);
            QStringList titles;
            for (int index : {0, 1, 2, 4, 7}) {
                titles << menu.itemAtIndex(index)->title();
            }
            QCOMPARE(titles, programMenu);

            // Dock mode titles the preferences window with the translated word.
            environment.settings().setInteger(0, QXSettingsKeys::ApplicationMode);
            controller.showPreferencesTab(QStringLiteral("Menu"));
            QXMainPreferencesWindow* window = controller.preferencesWindow();
            QVERIFY(window);
            QCOMPARE(window->windowTitle(), preferencesTitle);
            QCOMPARE(window->keyEquivalentSwitch()->text(), shortcutsSwitch);
            window->close();
        }
        QCOMPARE(emptySubmenuTitle(), empty);

        // Qt's own catalogue comes with the program's.
        QDialogButtonBox buttons(QDialogButtonBox::Cancel);
        QCOMPARE(withoutMnemonic(buttons.button(QDialogButtonBox::Cancel)->text()), cancelButton);
    }

    // The installed program reads the languages from the environment as
    // gettext does: LANGUAGE (a list) first, then LC_ALL, LC_MESSAGES, LANG.
    void environmentChoosesTheLanguage_data()
    {
        QTest::addColumn<QStringList>("variables");
        QTest::addColumn<QString>("usage");
        const QString german = QStringLiteral("Aufruf: trovix login-item");
        const QString french = QStringLiteral("usage\u00a0: trovix login-item");
        const QString english = QStringLiteral("usage: trovix login-item");
        QTest::newRow("LANGUAGE=de") << QStringList{"LANGUAGE=de"} << german;
        QTest::newRow("LANGUAGE=xx") << QStringList{"LANGUAGE=xx"} << english;
        QTest::newRow("a LANGUAGE list") << QStringList{"LANGUAGE=xx:fr_CA:de"} << french;
        QTest::newRow("LANGUAGE before LANG")
            << QStringList{"LANGUAGE=fr", "LANG=de_DE.UTF-8"} << french;
        QTest::newRow("LANG alone") << QStringList{"LANG=de_DE.UTF-8"} << german;
        QTest::newRow("LC_ALL before LANG")
            << QStringList{"LC_ALL=fr_FR.UTF-8", "LANG=de_DE.UTF-8"} << french;
        QTest::newRow("LC_MESSAGES before LANG")
            << QStringList{"LC_MESSAGES=de_DE.UTF-8", "LANG=fr_FR.UTF-8"} << german;
        QTest::newRow("English before German")
            << QStringList{"LANGUAGE=en_GB:de", "LANG=de_DE.UTF-8"} << english;
    }

    void environmentChoosesTheLanguage()
    {
        QFETCH(QStringList, variables);
        QFETCH(QString, usage);
        const QString program =
            qEnvironmentVariable("TROVIX_BUNDLE") + QStringLiteral("/Contents/MacOS/trovix");
        QVERIFY2(QFileInfo(program).isExecutable(), qPrintable(program));

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
            environment.remove(QLatin1String(name));
        }
        for (const QString& variable : variables) {
            environment.insert(variable.section(QLatin1Char('='), 0, 0),
                               variable.section(QLatin1Char('='), 1));
        }
        QProcess trovix;
        trovix.setProcessEnvironment(environment);
        trovix.start(program, {QStringLiteral("login-item"), QStringLiteral("sideways")});
        QVERIFY(trovix.waitForFinished(60000));
        QCOMPARE(trovix.exitCode(), 1);
        // Qt may warn about the locale first; the usage is a line of its own.
        const QStringList lines = QString::fromUtf8(trovix.readAllStandardError()).split('\n');
        QVERIFY2(lines.contains(usage + QStringLiteral(" on|off|status")),
                 qPrintable(lines.join(QLatin1Char('\n'))));
    }
};

TROVIX_TEST_MAIN_WITH(TranslationsTest, QXHotKeyHandlerApplication)
#include "translations_test.moc"
