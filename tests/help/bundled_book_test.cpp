// The help book as the bundle ships it: pages that the help window can show
// and index, links that lead somewhere, settings links the help window accepts,
// an entry for every setting and none for a setting Trovix does not have, and
// the numbers and messages the book quotes as the code has them.

#include "app/QXSettingsKeys.h"
#include "help/QXHelpPageParser.h"
#include "support/TestProgram.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QUrl>
#include <QXmlStreamReader>
#include <algorithm>
#include <optional>

namespace {

const QString SettingsLinkPrefix = QStringLiteral("x-quirkworks-help://default/");

// What a page holds, read as XML: the pages are written well-formed so that a
// missing end tag is found here rather than by a reader's eye.
struct Page
{
    QString xmlError;
    QString title;
    QStringList hrefs;
    QHash<QString, QString> anchorTexts; // <a name="N">text</a>: N -> text
    QXHelpPageRecord record;
};

Page readPage(const QString& folder, const QString& relativePath)
{
    Page page;
    QFile file(folder + u'/' + relativePath);
    if (!file.open(QIODevice::ReadOnly)) {
        page.xmlError = file.errorString();
        return page;
    }
    const QByteArray data = file.readAll();
    page.record = QXHelpPageParser::pageRepresentationForData(relativePath, data);

    QXmlStreamReader xml(data);
    QString openAnchor;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const QXmlStreamAttributes attributes = xml.attributes();
            // Links, style sheets and pictures alike must lead somewhere.
            for (const QString& attribute : {QStringLiteral("href"), QStringLiteral("src")}) {
                if (attributes.hasAttribute(attribute)) {
                    page.hrefs.append(attributes.value(attribute).toString());
                }
            }
            if (xml.name() == u"a" && attributes.hasAttribute(QStringLiteral("name"))) {
                openAnchor = attributes.value(QStringLiteral("name")).toString();
                page.anchorTexts.insert(openAnchor, QString());
            } else if (xml.name() == u"title") {
                page.title = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            }
        } else if (xml.isCharacters() && !openAnchor.isNull()) {
            page.anchorTexts[openAnchor] += xml.text();
        } else if (xml.isEndElement() && xml.name() == u"a") {
            openAnchor = QString();
        }
    }
    if (xml.hasError()) {
        page.xmlError = QStringLiteral("line %1: %2").arg(xml.lineNumber()).arg(xml.errorString());
    }
    return page;
}

// Every settings key the program has, as its key tables spell them: the
// program's own and the update checker's.
QSet<QString> knownSettingsKeys()
{
    static const QRegularExpression key(QStringLiteral("QStringLiteral\\(\"([^\"]+)\"\\)"));
    QSet<QString> keys;
    for (const char* table : {"/src/app/QXSettingsKeys.h", "/src/platform/updates/Updater.h"}) {
        QFile header(qEnvironmentVariable("TROVIX_SOURCE_DIR") + QLatin1String(table));
        if (!header.open(QIODevice::ReadOnly)) {
            return {};
        }
        const QString text = QString::fromUtf8(header.readAll());
        for (const QRegularExpressionMatch& match : key.globalMatch(text)) {
            keys.insert(match.captured(1));
        }
    }
    return keys;
}

QString sourceText(const QString& file)
{
    QFile source(qEnvironmentVariable("TROVIX_SOURCE_DIR") + u'/' + file);
    return source.open(QIODevice::ReadOnly) ? QString::fromUtf8(source.readAll()) : QString();
}

// The value of "name = 24 * 60 * 60;" (a number or a product of numbers) in
// a source file; nothing when the file does not define it so.
std::optional<qint64> constantIn(const QString& file, const QString& name)
{
    const QRegularExpression definition(QRegularExpression::escape(name) +
                                        QStringLiteral("\\s*=\\s*([0-9][0-9 *]*);"));
    const QRegularExpressionMatch match = definition.match(sourceText(file));
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    qint64 value = 1;
    for (const QString& factor : match.captured(1).split(u'*')) {
        bool ok = false;
        value *= factor.trimmed().toLongLong(&ok);
        if (!ok) {
            return std::nullopt;
        }
    }
    return value;
}

// A page's HTML with every run of white space made one space, so that a
// sentence reads the same wherever its lines break.
QString simplifiedPage(const QString& folder, const QString& relativePath)
{
    QFile file(folder + u'/' + relativePath);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).simplified()
                                          : QString();
}

// The values a settings link of the book may carry: nothing (back to the
// default), a truth value or a whole number.
bool isSettingsLinkValue(const QString& value)
{
    static const QRegularExpression integer(QStringLiteral("^integer:-?[0-9]+$"));
    return value.isEmpty() || value == u"YES" || value == u"NO" || integer.match(value).hasMatch();
}

} // namespace

class BundledBookTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void pageIsWellFormedAndIndexed_data();
    void pageIsWellFormedAndIndexed();
    void linkLeadsSomewhere_data();
    void linkLeadsSomewhere();
    void contentsOrderIsUnambiguous();
    void quickAccessMenusAreFilled();
    void everySettingHasItsEntry();
    void everyEntryIsASetting();
    void statedNumbersAreTheCodes_data();
    void statedNumbersAreTheCodes();
    void quotedMessagesAreTheCodes_data();
    void quotedMessagesAreTheCodes();

private:
    QString m_folder;
    QMap<QString, Page> m_pages; // relative path -> page
    QSet<QString> m_knownKeys;
    QSet<QString> m_linkKeys;
};

void BundledBookTest::initTestCase()
{
    m_folder =
        qEnvironmentVariable("TROVIX_BUNDLE") + QStringLiteral("/Contents/Resources/TrovixHelp");
    QDirIterator files(m_folder, {QStringLiteral("*.html")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = QDir(m_folder).relativeFilePath(files.next());
        m_pages.insert(path, readPage(m_folder, path));
    }
    QVERIFY2(m_pages.contains(QStringLiteral("index.html")), qPrintable(m_folder));
    m_knownKeys = knownSettingsKeys();
    const QStringList linkKeys = QXSettingsKeys::helpLinkKeys();
    m_linkKeys = QSet<QString>(linkKeys.begin(), linkKeys.end());
    QVERIFY(m_knownKeys.contains(QStringLiteral("Enable Right Click Trigger")));
    QVERIFY(m_knownKeys.contains(QStringLiteral("SUFeedURL")));
}

void BundledBookTest::pageIsWellFormedAndIndexed_data()
{
    QTest::addColumn<QString>("path");
    for (auto it = m_pages.cbegin(); it != m_pages.cend(); ++it) {
        QTest::newRow(qPrintable(it.key())) << it.key();
    }
}

void BundledBookTest::pageIsWellFormedAndIndexed()
{
    QFETCH(QString, path);
    const Page& page = m_pages[path];
    QVERIFY2(page.xmlError.isEmpty(), qPrintable(page.xmlError));
    QVERIFY(!page.title.trimmed().isEmpty());
    // The index reads what the window shows: the same title, words from the
    // body and the quick-access menus above the page.
    QCOMPARE(page.record.title, page.title);
    QVERIFY2(page.record.words.size() > 20, "the index found no body text");
    QVERIFY(page.record.quickAccess.has_value());
    // An anchor the index misses (written with other quotes or spacing) or
    // one named twice shows here as a difference in number.
    const auto indexable = [](const QString& name) {
        return !name.endsWith(QStringLiteral("_noindex"), Qt::CaseInsensitive);
    };
    QCOMPARE(page.record.anchors.size(),
             qsizetype(
                 std::count_if(page.anchorTexts.keyBegin(), page.anchorTexts.keyEnd(), indexable)));
}

void BundledBookTest::linkLeadsSomewhere_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("href");
    for (auto it = m_pages.cbegin(); it != m_pages.cend(); ++it) {
        for (const QString& href : it->hrefs) {
            QTest::addRow("%s %s", qPrintable(it.key()), qPrintable(href)) << it.key() << href;
        }
    }
}

void BundledBookTest::linkLeadsSomewhere()
{
    QFETCH(QString, path);
    QFETCH(QString, href);

    if (href.startsWith(SettingsLinkPrefix)) {
        const qsizetype hash = href.indexOf(u'#');
        QVERIFY2(hash > 0, "a settings link without \"#\" does nothing");
        const QString key = QUrl::fromPercentEncoding(
            href.mid(SettingsLinkPrefix.size(), hash - SettingsLinkPrefix.size()).toUtf8());
        // The help window refuses every other key.
        QVERIFY2(m_linkKeys.contains(key), qPrintable(key));
        QVERIFY2(isSettingsLinkValue(href.mid(hash + 1)), qPrintable(href.mid(hash + 1)));
        return;
    }

    const QUrl base = QUrl::fromLocalFile(m_folder + u'/' + path);
    const QUrl url = base.resolved(QUrl(href));
    QVERIFY2(url.isLocalFile(), "help pages link only to each other");
    const QString target = QDir(m_folder).relativeFilePath(url.toLocalFile());
    QVERIFY2(!target.startsWith(QStringLiteral("..")), "the link leaves the help book");
    QVERIFY2(QFile::exists(url.toLocalFile()), qPrintable(target));
    if (url.hasFragment()) {
        QVERIFY2(m_pages.contains(target), "a place in a file that is no page");
        QVERIFY2(m_pages[target].anchorTexts.contains(url.fragment()), qPrintable(url.fragment()));
    }
}

void BundledBookTest::contentsOrderIsUnambiguous()
{
    // Pages of equal place keep no defined order; a page without a place
    // falls behind all others.
    QHash<QString, QString> pathByIndex;
    for (auto it = m_pages.cbegin(); it != m_pages.cend(); ++it) {
        const QString& index = it->record.index;
        QVERIFY2(index != QXHelpPageParser::fallbackIndex(it.key()), qPrintable(it.key()));
        QVERIFY2(!pathByIndex.contains(index),
                 qPrintable(it.key() + QStringLiteral(" and ") + pathByIndex.value(index)));
        pathByIndex.insert(index, it.key());
    }
}

void BundledBookTest::quickAccessMenusAreFilled()
{
    QSet<QString> shown;
    for (const Page& page : std::as_const(m_pages)) {
        for (const QString& category : page.record.quickAccess.value_or(QStringList())) {
            shown.insert(category);
        }
    }
    QHash<QString, QSet<QString>> namesByCategory;
    for (const Page& page : std::as_const(m_pages)) {
        for (const QXHelpAnchorRecord& anchor : page.record.anchors) {
            if (!anchor.category) {
                continue;
            }
            // An anchor of a category no page shows is reachable from no menu;
            // a second anchor of the same name would silently replace the first.
            QVERIFY2(shown.contains(*anchor.category), qPrintable(anchor.fragment));
            QSet<QString>& names = namesByCategory[*anchor.category];
            QVERIFY2(!names.contains(anchor.name), qPrintable(anchor.fragment));
            names.insert(anchor.name);
        }
    }
    for (const QString& category : std::as_const(shown)) {
        QVERIFY2(!namesByCategory.value(category).isEmpty(), qPrintable(category));
    }
}

void BundledBookTest::everySettingHasItsEntry()
{
    // An entry is a Settings anchor on the settings page whose text is the key
    // as it must be typed.
    QSet<QString> documented;
    const Page& settings = m_pages[QStringLiteral("settings.html")];
    for (auto it = settings.anchorTexts.cbegin(); it != settings.anchorTexts.cend(); ++it) {
        if (it.key().startsWith(QStringLiteral("[Settings]"))) {
            documented.insert(it.value());
        }
    }
    for (const QString& key : std::as_const(m_knownKeys)) {
        QVERIFY2(documented.contains(key), qPrintable(key));
    }
}

void BundledBookTest::everyEntryIsASetting()
{
    const Page& settings = m_pages[QStringLiteral("settings.html")];
    for (auto it = settings.anchorTexts.cbegin(); it != settings.anchorTexts.cend(); ++it) {
        if (it.key().startsWith(QStringLiteral("[Settings]"))) {
            QVERIFY2(m_knownKeys.contains(it.value()), qPrintable(it.value()));
        }
    }
}

void BundledBookTest::statedNumbersAreTheCodes_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("sentence"); // %1: the constant's value
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("constant");
    const QString feed = QStringLiteral("src/platform/updates/appcast/FeedDownload.h");
    const QString schedule = QStringLiteral("src/platform/updates/UpdateSchedule.h");
    const QString keys = QStringLiteral("src/app/QXSettingsKeys.h");
    QTest::newRow("stalled feed") << "updates.html"
                                  << "no data for %1 seconds" << feed << "transferTimeoutSeconds";
    QTest::newRow("slow feed") << "updates.html"
                               << "not complete after %1 seconds in all" << feed
                               << "overallTimeoutSeconds";
    QTest::newRow("check interval")
        << "settings.html"
        << "default: %1 (one day)" << schedule << "defaultIntervalSeconds";
    QTest::newRow("shortest interval")
        << "settings.html"
        << "Less than %1 (an hour)" << schedule << "minimumIntervalSeconds";
    QTest::newRow("panel gap") << "settings.html"
                               << "reserves more than %1 pixels"
                               << "src/help/QXBrowserWindowController.cpp"
                               << "DockDetectionGap";
    QTest::newRow("smallest font") << "settings.html"
                                   << "in points, from %1 to" << keys << "SmallestMenuFontSize";
    QTest::newRow("largest font") << "settings.html"
                                  << "to %1. Smaller numbers" << keys << "LargestMenuFontSize";
}

void BundledBookTest::statedNumbersAreTheCodes()
{
    QFETCH(QString, page);
    QFETCH(QString, sentence);
    QFETCH(QString, source);
    QFETCH(QString, constant);
    const std::optional<qint64> value = constantIn(source, constant);
    QVERIFY2(value, qPrintable(constant + QStringLiteral(" not found in ") + source));
    const QString stated = sentence.arg(*value);
    QVERIFY2(simplifiedPage(m_folder, page).contains(stated), qPrintable(stated));
}

void BundledBookTest::quotedMessagesAreTheCodes_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("quoted");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("written"); // as the source spells it
    QTest::newRow("unknown help page") << "command-line.html"
                                       << "<code>no help page \"NAME\"</code>"
                                       << "src/app/ShowCommand.cpp"
                                       << "\"no help page \\\"%1\\\"\"";
    QTest::newRow("skipped version") << "updates.html"
                                     << "is available and was skipped. You are currently using"
                                     << "src/services/QXSparkleWrapper.cpp"
                                     << "is available and was skipped. You are currently using";
    QTest::newRow("up to date") << "updates.html"
                                << "Trovix 1.2 is up to date."
                                << "src/services/QXSparkleWrapper.cpp"
                                << "\"%1 %2 is up to date.\"";
}

void BundledBookTest::quotedMessagesAreTheCodes()
{
    QFETCH(QString, page);
    QFETCH(QString, quoted);
    QFETCH(QString, source);
    QFETCH(QString, written);
    QVERIFY2(simplifiedPage(m_folder, page).contains(quoted), qPrintable(quoted));
    QVERIFY2(sourceText(source).contains(written), qPrintable(written));
}

TROVIX_TEST_GUILESS_MAIN(BundledBookTest)
#include "bundled_book_test.moc"
