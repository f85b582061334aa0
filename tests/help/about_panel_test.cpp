#include "help/QXAboutCredits.h"
#include "help/QXAboutPanel.h"
#include "help/QXAboutPanelManager.h"
#include "help/QXAttributedString.h"
#include "platform/application/memory/MemoryActivation.h"
#include "platform/bundle/Bundle.h"
#include "platform/plist/PropertyList.h"
#include "support/AccessibleNames.h"
#include "support/LogCapture.h"
#include "support/TestProgram.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>
#include <memory>

namespace {

// A bundle folder of its own: Info.plist with the given keys, and resources
// written by the test.
class TestBundle
{
public:
    explicit TestBundle(const QVariantMap& info)
    {
        QDir(m_dir.path()).mkpath(QStringLiteral("Test.app/Contents/Resources"));
        platform::plist::writeFile(path() + QStringLiteral("/Contents/Info.plist"), info);
    }

    QString path() const { return m_dir.path() + QStringLiteral("/Test.app"); }
    QString resource(const QString& name) const
    {
        return path() + QStringLiteral("/Contents/Resources/") + name;
    }

    void write(const QString& name, const QByteArray& contents) const
    {
        QFile file(resource(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }

    void copyPicture() const
    {
        QVERIFY(QFile::copy(qEnvironmentVariable("TROVIX_SOURCE_DIR") +
                                QStringLiteral("/resources/images/QXRetinaRunningBird.tiff"),
                            resource(QStringLiteral("QXRetinaRunningBird.tiff"))));
    }

private:
    QTemporaryDir m_dir;
};

QVariantMap standardInfo()
{
    return {
        {QStringLiteral("CFBundleName"), QStringLiteral("Trovix")},
        {QStringLiteral("CFBundleShortVersionString"), QStringLiteral("2.5")},
        {QStringLiteral("CFBundleVersion"), QStringLiteral("250")},
        {QStringLiteral("NSHumanReadableCopyright"), QStringLiteral("Copyright © 2030 Example")}};
}

int imageCount(const QTextDocument* document)
{
    int count = 0;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().isImageFormat()) {
                ++count;
            }
        }
    }
    return count;
}

// The credit lines of the panel, without the empty lines and the picture.
QStringList creditLines(const QXAboutPanel* panel)
{
    QStringList lines;
    for (const QString& line :
         panel->creditsView()->document()->toPlainText().split(QLatin1Char('\n'))) {
        if (!line.isEmpty() && line != QString(QChar::ObjectReplacementCharacter)) {
            lines << line;
        }
    }
    return lines;
}

} // namespace

// The about panel and what it reads from the bundle.
class AboutPanelTest : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> openedUrls;

public Q_SLOTS:
    void openUrl(const QUrl& url) { openedUrls.append(url); }

private:
    QXAboutPanelManager& manager() { return QXAboutPanelManager::aboutPanelManager(); }

    // Shows the panel for bundle and answers it.
    QXAboutPanel* show(const TestBundle& bundle)
    {
        m_bundle = std::make_unique<platform::Bundle>(bundle.path());
        manager().setBundle(m_bundle.get());
        manager().orderFrontStandardAboutPanel();
        return manager().aboutPanel();
    }

    std::unique_ptr<platform::Bundle> m_bundle;

private Q_SLOTS:
    void cleanup()
    {
        manager().resetForTesting();
        m_bundle.reset();
        openedUrls.clear();
    }

    void creditsFileLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("suffix");

        QTest::newRow("sorted case-insensitively, suffix line taken out")
            << "Zoe\nadam\n=> All rights reserved.\nBob" << QStringList{"adam", "Bob", "Zoe"}
            << "All rights reserved.";
        QTest::newRow("numbers by value")
            << "Item 10\nItem 9\nitem 100" << QStringList{"Item 9", "Item 10", "item 100"}
            << QString();
        QTest::newRow("every newline character, empty lines skipped")
            << QString::fromUtf8("c\r\nb\r\ra\u2028e\u2029d\u0085f\n\n")
            << QStringList{"a", "b", "c", "d", "e", "f"} << QString();
        QTest::newRow("the last suffix line wins")
            << "=> first\nx\n=> second" << QStringList{"x"} << "second";
        QTest::newRow("an empty suffix is still a suffix") << "=> \nx" << QStringList{"x"} << "";
        QTest::newRow("no space after the arrow: an entry")
            << "=>x\n => y" << QStringList{" => y", "=>x"} << QString();
    }

    void creditsFileLines()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, entries);
        QFETCH(QString, suffix);

        const QXAboutCredits credits = QXAboutCredits::fromText(text);
        QCOMPARE(credits.sortedEntries(), entries);
        QCOMPARE(credits.copyrightSuffix, suffix);
        QCOMPARE(credits.copyrightSuffix.isNull(), suffix.isNull());
    }

    void appendingAnswersWhetherSomethingWasAppended()
    {
        QTextDocument document;
        QTextCursor cursor(&document);
        QVERIFY(!QXAttributedString::appendString(cursor, QString()));
        QVERIFY(!QXAttributedString::appendImageFileWrapper(cursor, "a.tiff", QByteArray(), 0));
        QVERIFY(!QXAttributedString::appendImageFileWrapper(cursor, "a.tiff", "not a picture", 0));
        QVERIFY(!QXAttributedString::appendImage(cursor, QImage(), "a", 0));
        QVERIFY(document.isEmpty());

        QImage image(400, 200, QImage::Format_RGB32);
        image.fill(Qt::red);
        QVERIFY(QXAttributedString::appendImage(cursor, image, QString(), 4));
        QVERIFY(QXAttributedString::appendImage(cursor, image, QString(), 0));
        QVERIFY(QXAttributedString::appendString(cursor, "<i>x</i>"));
        QCOMPARE(imageCount(&document), 2);
        QVERIFY(document.toPlainText().endsWith("<i>x</i>"));

        // Both unnamed pictures keep their own pixels, scaled down to fit.
        QList<QTextImageFormat> formats;
        for (auto it = document.begin().begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().isImageFormat()) {
                formats << it.fragment().charFormat().toImageFormat();
            }
        }
        QCOMPARE(formats.size(), 2);
        QVERIFY(formats[0].name() != formats[1].name());
        QCOMPARE(formats[0].width(), double(QXAttributedString::MaximumImageWidth));
        QCOMPARE(formats[0].height(), QXAttributedString::MaximumImageWidth / 2.0);
        QVERIFY(!document.resource(QTextDocument::ImageResource, QUrl(formats[1].name())).isNull());
    }

    void showsVersionCopyrightCreditsAndPicture()
    {
        TestBundle bundle(standardInfo());
        bundle.write(QStringLiteral("Credits.txt"),
                     "Zoe\nadam\n=> All rights reserved.\nBob\nMarkup <b>stays</b> & text\n");
        bundle.copyPicture();
        QXAboutPanel* panel = show(bundle);
        QVERIFY(panel != nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(panel));

        QCOMPARE(panel->windowTitle(), QStringLiteral("About Trovix"));
        QCOMPARE(panel->nameLabel()->text(), QStringLiteral("Trovix"));
        QCOMPARE(panel->versionLabel()->text(), QStringLiteral("Version 2.5 (250)"));
        QCOMPARE(panel->copyrightLabel()->text(),
                 QStringLiteral("Copyright © 2030 Example — All rights reserved."));
        // Entries are text, never markup.
        QCOMPARE(creditLines(panel),
                 (QStringList{"adam", "Bob", "Markup <b>stays</b> & text", "Zoe"}));
        QVERIFY(panel->creditsView()->isVisible());
        QVERIFY(panel->creditsView()->isReadOnly());

        // The picture is the last thing in the credits, and everything is
        // centred.
        const QTextDocument* credits = panel->creditsView()->document();
        QCOMPARE(imageCount(credits), 1);
        QVERIFY(credits->toPlainText().trimmed().endsWith(QChar::ObjectReplacementCharacter));
        for (QTextBlock block = credits->begin(); block.isValid(); block = block.next()) {
            QCOMPARE(block.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        }
        QCOMPARE(credits->defaultFont().pointSizeF(), QXAboutPanelManager::CreditsFontSize);

        QCOMPARE(unnamedControls(panel), QStringList());
    }

    void missingOrBrokenResourcesShrinkThePanel_data()
    {
        QTest::addColumn<QByteArray>("creditsFile"); // null: no file
        QTest::addColumn<bool>("directoryInstead");
        QTest::addColumn<QByteArray>("picture"); // null: no file; "copy": the real one
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<int>("images");
        QTest::addColumn<bool>("creditsShown");
        QTest::addColumn<QString>("copyright");

        const QString plain = QStringLiteral("Copyright © 2030 Example");
        QTest::newRow("nothing") << QByteArray() << false << QByteArray() << QStringList() << 0
                                 << false << plain;
        QTest::newRow("picture only")
            << QByteArray() << false << QByteArray("copy") << QStringList() << 1 << true << plain;
        QTest::newRow("credits only") << QByteArray("b\na\n") << false << QByteArray()
                                      << QStringList{"a", "b"} << 0 << true << plain;
        QTest::newRow("credits not UTF-8: read as none")
            << QByteArray("caf\xe9\n=> x\n") << false << QByteArray() << QStringList() << 0 << false
            << plain;
        QTest::newRow("a folder where the credits file should be")
            << QByteArray() << true << QByteArray() << QStringList() << 0 << false << plain;
        QTest::newRow("credits too large to be credits")
            << QByteArray(QXAboutCredits::MaximumFileSize + 1, 'a') << false << QByteArray()
            << QStringList() << 0 << false << plain;
        QTest::newRow("a picture that is no picture")
            << QByteArray("a\n=> end\n") << false << QByteArray("II*\0garbage", 11)
            << QStringList{"a"} << 0 << true << plain + QStringLiteral(" — end");
        QTest::newRow("only a suffix line: copyright, no credits")
            << QByteArray("=> end\n") << false << QByteArray() << QStringList() << 0 << false
            << plain + QStringLiteral(" — end");
    }

    void missingOrBrokenResourcesShrinkThePanel()
    {
        QFETCH(QByteArray, creditsFile);
        QFETCH(bool, directoryInstead);
        QFETCH(QByteArray, picture);
        QFETCH(QStringList, entries);
        QFETCH(int, images);
        QFETCH(bool, creditsShown);
        QFETCH(QString, copyright);

        TestBundle bundle(standardInfo());
        if (!creditsFile.isNull()) {
            bundle.write(QStringLiteral("Credits.txt"), creditsFile);
        }
        if (directoryInstead) {
            QVERIFY(QDir().mkpath(bundle.resource(QStringLiteral("Credits.txt"))));
        }
        if (picture == "copy") {
            bundle.copyPicture();
        } else if (!picture.isNull()) {
            bundle.write(QStringLiteral("QXRetinaRunningBird.tiff"), picture);
        }

        QXAboutPanel* panel = show(bundle);
        QVERIFY(panel != nullptr);
        QCOMPARE(panel->creditsView()->isVisible(), creditsShown);
        QCOMPARE(creditLines(panel), entries);
        QCOMPARE(imageCount(panel->creditsView()->document()), images);
        QCOMPARE(panel->copyrightLabel()->text(), copyright);
        QVERIFY(panel->versionLabel()->isVisible());
    }

    void incompleteInformationKeys_data()
    {
        QTest::addColumn<QVariantMap>("info");
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("copyright");

        QTest::newRow("same version and build: shown once")
            << QVariantMap{{"CFBundleShortVersionString", "1.0"}, {"CFBundleVersion", "1.0"}}
            << "Version 1.0"
            << "end";
        QTest::newRow("build only") << QVariantMap{{"CFBundleVersion", "7"}} << "Version 7"
                                    << "end";
        QTest::newRow("neither: no version line, suffix alone as copyright") << QVariantMap{} << ""
                                                                             << "end";
        QTest::newRow("copyright not a string")
            << QVariantMap{{"NSHumanReadableCopyright", 5}} << ""
            << "end";
    }

    void incompleteInformationKeys()
    {
        QFETCH(QVariantMap, info);
        QFETCH(QString, version);
        QFETCH(QString, copyright);

        TestBundle bundle(info);
        bundle.write(QStringLiteral("Credits.txt"), "=> end\n");
        QXAboutPanel* panel = show(bundle);
        QCOMPARE(panel->versionLabel()->text(), version);
        QCOMPARE(panel->versionLabel()->isVisible(), !version.isEmpty());
        QCOMPARE(panel->copyrightLabel()->text(), copyright);
    }

    void shortCreditsLoseTheirScrollBarLongOnesKeepIt()
    {
        TestBundle bundle(standardInfo());
        bundle.write(QStringLiteral("Credits.txt"), "One\nTwo\n");
        QXAboutPanel* panel = show(bundle);
        QVERIFY(QTest::qWaitForWindowExposed(panel));
        QVERIFY(!panel->creditsScroll());
        QCOMPARE(panel->creditsView()->frameShape(), QFrame::NoFrame);
        QCOMPARE(panel->creditsView()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QVERIFY(panel->creditsView()->height() < QXAboutPanel::MaximumCreditsHeight);

        QByteArray many;
        for (int i = 0; i < 60; ++i) {
            many += "Component " + QByteArray::number(i) + '\n';
        }
        bundle.write(QStringLiteral("Credits.txt"), many);
        manager().orderFrontStandardAboutPanel();
        QVERIFY(panel->creditsScroll());
        QCOMPARE(panel->creditsView()->height(), QXAboutPanel::MaximumCreditsHeight);
        QVERIFY(panel->creditsView()->verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff);
    }

    void showingAgainReusesThePanel()
    {
        TestBundle bundle(standardInfo());
        bundle.write(QStringLiteral("Credits.txt"), "One\nTwo\n");
        bundle.copyPicture();
        QXAboutPanel* panel = show(bundle);
        QVERIFY(QTest::qWaitForWindowExposed(panel));
        const QSize size = panel->size();

        manager().orderFrontStandardAboutPanel();
        QCOMPARE(manager().aboutPanel(), panel);
        QCOMPARE(panel->findChildren<QPushButton*>().size(), 1);
        QCOMPARE(imageCount(panel->creditsView()->document()), 1);
        QCOMPARE(panel->size(), size);

        // Escape closes it; showing it again brings back the same window.
        QTest::keyClick(panel, Qt::Key_Escape);
        QVERIFY(!panel->isVisible());
        manager().orderFrontStandardAboutPanel();
        QCOMPARE(manager().aboutPanel(), panel);
        QVERIFY(panel->isVisible());
        QCOMPARE(panel->size(), size);
    }

    void eulaButtonOpensTheLicenceInTheBundle()
    {
        QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "openUrl");
        auto* activation = new platform::MemoryActivation();
        platform::Activation::setCurrent(std::unique_ptr<platform::Activation>(activation));
        LogCapture log;

        TestBundle bundle(standardInfo());
        bundle.write(QStringLiteral("License.txt"), "Terms\n");
        QXAboutPanel* panel = show(bundle);
        QTest::mouseClick(panel->eulaButton(), Qt::LeftButton);
        QCOMPARE(openedUrls,
                 QList<QUrl>{QUrl::fromLocalFile(bundle.resource(QStringLiteral("License.txt")))});
        QCOMPARE(activation->beeps, 0);

        // Without the licence: a beep and a log line, nothing opened.
        QFile::remove(bundle.resource(QStringLiteral("License.txt")));
        QTest::mouseClick(panel->eulaButton(), Qt::LeftButton);
        QCOMPARE(openedUrls.size(), 1);
        QCOMPARE(activation->beeps, 1);
        QCOMPARE(log.lines().size(), 1);

        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        platform::Activation::setCurrent(nullptr);
    }

    void builtBundleCarriesTheResources()
    {
        // The bundle the build produces holds all the panel shows.
        const platform::Bundle built(qEnvironmentVariable("TROVIX_BUNDLE"));
        QVERIFY(built.isValid());
        const QXAboutCredits credits = QXAboutCredits::fromFile(
            built.pathForResource(QStringLiteral("Credits"), QStringLiteral("txt")));
        QVERIFY(credits.entries.size() >= 5);
        QVERIFY(!credits.copyrightSuffix.isNull());
        for (const char* component : {"Qt", "libplist", "libatspi", "xkbcommon", "libsystemd"}) {
            QVERIFY2(!credits.entries.filter(QString::fromLatin1(component)).isEmpty(), component);
        }
        QVERIFY(!built.pathForResource(QStringLiteral("License"), QStringLiteral("txt")).isEmpty());
        // The picture must decode, or the panel silently drops it.
        QVERIFY(!QImage(built.pathForResource(QStringLiteral("QXRetinaRunningBird"),
                                              QStringLiteral("tiff")))
                     .isNull());
    }
};

TROVIX_TEST_MAIN_WITH(AboutPanelTest, QApplication)

#include "about_panel_test.moc"
