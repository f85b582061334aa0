#include "help/QXHelpPageParser.h"
#include "support/TestProgram.h"

#include <QTest>

namespace {

const QString path = QStringLiteral("page.html");

// One anchor as "fragment|name|sort string|category", "-" for no category.
QStringList described(const QList<QXHelpAnchorRecord>& anchors)
{
    QStringList result;
    for (const QXHelpAnchorRecord& anchor : anchors) {
        result.append(QStringList{anchor.fragment, anchor.name, anchor.sortString,
                                  anchor.category.value_or(QStringLiteral("-"))}
                          .join(QLatin1Char('|')));
    }
    return result;
}

} // namespace

class HelpPageParsingTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void anchors_data()
    {
        QTest::addColumn<QByteArray>("html");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("category and display names")
            << QByteArray("<body>words <a name=\"[Menus]Keyboard_Shortcuts\"> <a name=\"x[K]Y\">"
                          "<a name=\"Using_=L=iCloud\"><a name=\"Mac=U=Book\">"
                          "<a name=\"hot_keys: basics\">")
            << QStringList{"[Menus]Keyboard_Shortcuts|Keyboard Shortcuts|Keyboard Shortcuts|Menus",
                           "x[K]Y|Y|Y|K", "Using_=L=iCloud|Using icloud|Using icloud|-",
                           "Mac=U=Book|MacBook|MacBook|-",
                           "hot_keys: basics|Hot Keys: Basics|Hot Keys Basics|-"};
        QTest::newRow("noindex skipped, an empty name ends the scan")
            << QByteArray("<body>words <a name=\"details_noindex\"> <a name=\"Details_NOINDEX\">"
                          "<a name=\"one\"> <a name=\"\"> <a name=\"two\">")
            << QStringList{"one|One|One|-"};
        QTest::newRow("only the exact opening, only in the body, not in comments")
            << QByteArray("<a name=\"head\"><body>words <a name='single'> <a  name=\"spaces\">"
                          "<a id=\"id\"> <!-- <a name=\"commented\"> --> <A NAME=\"Upper\">")
            << QStringList{"Upper|Upper|Upper|-"};
        QTest::newRow("a page without words has no anchors")
            << QByteArray("<body><a name=\"lonely\"></a>") << QStringList{};
    }

    void anchors()
    {
        QFETCH(QByteArray, html);
        const QXHelpPageRecord record = QXHelpPageParser::pageRepresentationForData(path, html);
        QTEST(described(record.anchors), "expected");
    }

    void record_data()
    {
        QTest::addColumn<QByteArray>("html");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("index");
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<QStringList>("quickAccess"); // {"<absent>"} without the marker

        const QString fallback = QStringLiteral("9223372036854775807.page.html");
        const QStringList absent{QStringLiteral("<absent>")};
        QTest::newRow("marked page")
            << QByteArray("<TITLE> A &amp; B </TITLE><!--com.quirkworks.HELP.index[1.2_]-->"
                          "<!--com.quirkworks.help.quickaccess[Menus| Hot Keys||]-->"
                          "<BODY>Hello <!-- hidden --><b>world</b>&amp;co")
            << " A &amp; B "
            << "1.2_" << QStringList{"hello", "world", "amp", "co"}
            << QStringList{"Menus", " Hot Keys", "", ""};
        QTest::newRow("body tag with attributes: no words, no markers")
            << QByteArray("<title>T</title><!--com.quirkworks.help.index[1]-->"
                          "<!--com.quirkworks.help.quickaccess[A]--><body class=x>Hello</body>")
            << "page.html" << fallback << QStringList{} << absent;
        QTest::newRow("empty title, empty marker")
            << QByteArray("<title></title><!--com.quirkworks.help.index[]--><body>text")
            << "page.html" << fallback << QStringList{"text"} << absent;
        QTest::newRow("unbalanced markers, comment and tag")
            << QByteArray("<!--com.quirkworks.help.index[4<!--com.quirkworks.help.quickaccess[A"
                          "--><body>before <b class=\"x\" never> <!-- open")
            << "page.html" << fallback << QStringList{"before"} << absent;
    }

    void record()
    {
        QFETCH(QByteArray, html);
        const QXHelpPageRecord record = QXHelpPageParser::pageRepresentationForData(path, html);
        QTEST(record.title, "title");
        QTEST(record.index, "index");
        QTEST(record.words, "words");
        QTEST(record.quickAccess.value_or(QStringList{QStringLiteral("<absent>")}), "quickAccess");
    }

    void words_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("words");

        QTest::newRow("hyphens join, digits separate")
            << "the drop-down mp3 player" << QStringList{"the", "drop-down", "mp", "player"};
        QTest::newRow("short pieces are dropped") << "a 1 b2" << QStringList{};
        QTest::newRow("distinct, in order of first appearance")
            << "Hello, Clé hello CLÉ!" << QStringList{"hello", "clé"};
        QTest::newRow("letters that grow when lowered") << "İ İx" << QStringList{"i\u0307x"};
    }

    void words()
    {
        QFETCH(QString, text);
        QTEST(QXHelpPageParser::wordsFromString(text), "words");
    }

    // Pages come in whatever encoding their author saved them in.
    void encodings_data()
    {
        QTest::addColumn<QByteArray>("html");

        QTest::newRow("Latin-1 bytes that are not UTF-8") << QByteArray("<body>Cl\xe9 \xff");
        QTest::newRow("UTF-16 with byte-order mark")
            << QByteArray("\xff\xfe<\0b\0o\0d\0y\0>\0C\0l\0\xe9\0", 20);
        QTest::newRow("UTF-8 with stray bytes and NULs")
            << QByteArray("<body>Cl\xc3\xa9 \x80\x00\xc3", 14);
    }

    void encodings()
    {
        QFETCH(QByteArray, html);
        const QXHelpPageRecord record = QXHelpPageParser::pageRepresentationForData(path, html);
        QVERIFY2(!record.words.isEmpty(), qPrintable(record.text));
        QCOMPARE(record.words.first(), QStringLiteral("clé"));
    }

    // Pages far larger than any real one are parsed in one pass.
    void largePages_data()
    {
        QTest::addColumn<QByteArray>("html");
        QTest::addColumn<int>("anchorCount");

        // A megabyte is enough to show up work that grows with the square of
        // the page's size, and keeps the test quick under the sanitizers.
        QByteArray text = "<body>";
        while (text.size() < 1024 * 1024)
            text += "Some words about hot keys <a name=\"[Big]Place\"></a>\n";
        QTest::newRow("1 MB of text") << text << int(text.count("<a name="));
        QTest::newRow("1 MB of comment openings")
            << "<body>xy " + QByteArray("<!--").repeated(260 * 1024) << 0;
        QTest::newRow("1 MB of anchor openings")
            << "<body>xy " + QByteArray("<a name=\"").repeated(120 * 1024) << 120 * 1024 / 2;
    }

    void largePages()
    {
        QFETCH(QByteArray, html);
        const QXHelpPageRecord record = QXHelpPageParser::pageRepresentationForData(path, html);
        QTEST(int(record.anchors.size()), "anchorCount");
    }
};

TROVIX_TEST_GUILESS_MAIN(HelpPageParsingTest)
#include "help_page_parsing_test.moc"
