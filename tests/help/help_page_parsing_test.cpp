#include "help/QXHelpPageParser.h"
#include "help/QXHelpStringExtension.h"

#include <QTest>

namespace {

const QString path = QStringLiteral("page.html");

QByteArray page(const QByteArray& body, const QByteArray& head = {})
{
    return "<html><head>" + head + "</head><body>" + body + "</body></html>";
}

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
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QStringList>("expected");

        const QByteArray noHead;
        QTest::newRow("category and display part")
            << noHead << QByteArray("words <a name=\"[Menus]Keyboard_Shortcuts\"></a>")
            << QStringList{"[Menus]Keyboard_Shortcuts|Keyboard Shortcuts|Keyboard Shortcuts|Menus"};
        QTest::newRow("text before the bracket is not category")
            << noHead << QByteArray("words <a name=\"x[Menus]Y\"> <a name=\"Menus]Z\">")
            << QStringList{"x[Menus]Y|Y|Y|Menus", "Menus]Z|Z|Z|Menus"};
        QTest::newRow("=L= keeps lower case")
            << noHead << QByteArray("words <a name=\"Using_=L=iCloud\">")
            << QStringList{"Using_=L=iCloud|Using icloud|Using icloud|-"};
        QTest::newRow("=U= capitalises inside a word")
            << noHead << QByteArray("words <a name=\"Mac=U=Book\">")
            << QStringList{"Mac=U=Book|MacBook|MacBook|-"};
        QTest::newRow("punctuation leaves the sort string")
            << noHead << QByteArray("words <a name=\"hot_keys: basics\">")
            << QStringList{"hot_keys: basics|Hot Keys: Basics|Hot Keys Basics|-"};
        QTest::newRow("noindex in any case is skipped")
            << noHead
            << QByteArray("words <a name=\"details_noindex\"> <a name=\"Details_NOINDEX\"> "
                          "<a name=\"kept\">")
            << QStringList{"kept|Kept|Kept|-"};
        QTest::newRow("an empty name ends the scan")
            << noHead << QByteArray("words <a name=\"one\"> <a name=\"\"> <a name=\"two\">")
            << QStringList{"one|One|One|-"};
        QTest::newRow("only the exact opening makes an anchor")
            << noHead
            << QByteArray("words <a name='single'> <a  name=\"spaces\"> <a id=\"id\"> "
                          "<A NAME=\"Upper\">")
            << QStringList{"Upper|Upper|Upper|-"};
        QTest::newRow("not inside a comment nor before the body")
            << QByteArray("<a name=\"inHead\">")
            << QByteArray("words <!-- <a name=\"commented\"> --> <a name=\"visible\">")
            << QStringList{"visible|Visible|Visible|-"};
        QTest::newRow("duplicates on one page are both kept")
            << noHead << QByteArray("words <a name=\"[M]same\"> <a name=\"[M]same\">")
            << QStringList{"[M]same|Same|Same|M", "[M]same|Same|Same|M"};
        QTest::newRow("unterminated name runs to the end")
            << noHead << QByteArray("words <a name=\"tail")
            << QStringList{"tail</body></html>|Tail</Body></Html>|Tail< Body>< Html>|-"};
        QTest::newRow("a page without words has no anchors")
            << noHead << QByteArray("<a name=\"lonely\"></a>") << QStringList{};
    }

    void anchors()
    {
        QFETCH(QByteArray, head);
        QFETCH(QByteArray, body);
        QFETCH(QStringList, expected);
        const QXHelpPageRecord record =
            QXHelpPageParser::pageRepresentationForData(path, page(body, head));
        QCOMPARE(described(record.anchors), expected);
        for (const QXHelpAnchorRecord& anchor : record.anchors)
            QCOMPARE(anchor.path, path);
    }

    void record_data()
    {
        QTest::addColumn<QByteArray>("html");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("index");
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<bool>("hasQuickAccess");
        QTest::addColumn<QStringList>("quickAccess");

        const QString fallback = QStringLiteral("9223372036854775807.page.html");
        QTest::newRow("marked page")
            << QByteArray("<title>Basics</title><!--com.quirkworks.help.index[1.2_]-->"
                          "<!--com.quirkworks.help.quickaccess[Menus|Hot Keys]-->"
                          "<body>Hello world</body>")
            << "Basics"
            << "1.2_" << QStringList{"hello", "world"} << true << QStringList{"Menus", "Hot Keys"};
        QTest::newRow("quick-access names are verbatim, empty ones kept")
            << QByteArray("<!--com.quirkworks.help.quickaccess[Menus| Hot Keys||]--><body>x yz")
            << "page.html" << fallback << QStringList{"yz"} << true
            << QStringList{"Menus", " Hot Keys", "", ""};
        QTest::newRow("keywords ignore letter case")
            << QByteArray("<TITLE>Upper</TITLE><!--COM.QUIRKWORKS.HELP.INDEX[3]--><BODY>ab")
            << "Upper"
            << "3" << QStringList{"ab"} << false << QStringList{};
        QTest::newRow("body tag with attributes: no words, no markers")
            << QByteArray("<title>T</title><!--com.quirkworks.help.index[1]-->"
                          "<!--com.quirkworks.help.quickaccess[A]--><body class=x>Hello</body>")
            << "page.html" << fallback << QStringList{} << false << QStringList{};
        QTest::newRow("missing and empty titles fall back to the path")
            << QByteArray("<title></title><body>text") << "page.html" << fallback
            << QStringList{"text"} << false << QStringList{};
        QTest::newRow("title is taken verbatim")
            << QByteArray("<title> A &amp; B </title><body>text") << " A &amp; B " << fallback
            << QStringList{"text"} << false << QStringList{};
        QTest::newRow("unbalanced markers are absent")
            << QByteArray("<!--com.quirkworks.help.index[4<!--com.quirkworks.help.quickaccess[A"
                          "--><body>text")
            << "page.html" << fallback << QStringList{"text"} << false << QStringList{};
        QTest::newRow("empty index marker")
            << QByteArray("<!--com.quirkworks.help.index[]--><body>text") << "page.html" << fallback
            << QStringList{"text"} << false << QStringList{};
        QTest::newRow("unterminated comment removes the rest")
            << QByteArray("<body>before <!-- hidden <b>after</b>") << "page.html" << fallback
            << QStringList{"before"} << false << QStringList{};
        QTest::newRow("markers and comments give no words")
            << QByteArray("<body><!--com.quirkworks.help.index[secret]-->shown <!-- gone -->")
            << "page.html"
            << "secret" << QStringList{"shown"} << false << QStringList{};
        QTest::newRow("tags give no words, entities stay")
            << QByteArray("<body><p class=\"note\">one&amp;two</p>") << "page.html" << fallback
            << QStringList{"one", "amp", "two"} << false << QStringList{};
        QTest::newRow("unclosed tag hides the rest")
            << QByteArray("<body>seen <b class=\"x\" never") << "page.html" << fallback
            << QStringList{"seen"} << false << QStringList{};
        QTest::newRow("empty file")
            << QByteArray() << "page.html" << fallback << QStringList{} << false << QStringList{};
    }

    void record()
    {
        QFETCH(QByteArray, html);
        const QXHelpPageRecord record = QXHelpPageParser::pageRepresentationForData(path, html);
        QCOMPARE(record.path, path);
        QTEST(record.title, "title");
        QTEST(record.index, "index");
        QTEST(record.words, "words");
        QFETCH(bool, hasQuickAccess);
        QCOMPARE(record.quickAccess.has_value(), hasQuickAccess);
        if (hasQuickAccess)
            QTEST(*record.quickAccess, "quickAccess");
    }

    void words_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("words");

        QTest::newRow("hyphenated terms stay whole")
            << "Use the drop-down menu" << QStringList{"use", "the", "drop-down", "menu"};
        QTest::newRow("digits separate") << "mp3 player" << QStringList{"mp", "player"};
        QTest::newRow("short pieces are dropped") << "a 1 b2" << QStringList{};
        QTest::newRow("distinct, in order of first appearance")
            << "Hello, hello HELLO world. Hello!" << QStringList{"hello", "world"};
        QTest::newRow("non-ASCII letters") << "Über café Clé" << QStringList{"über", "café", "clé"};
        QTest::newRow("letters that grow when lowered")
            << "İ İx ab AB" << QStringList{"i\u0307x", "ab"};
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

        QTest::newRow("UTF-8") << QByteArray("<body>Cl\xc3\xa9");
        QTest::newRow("Latin-1 bytes that are not UTF-8") << QByteArray("<body>Cl\xe9 \xff");
        QTest::newRow("UTF-16 with byte-order mark")
            << QByteArray("\xff\xfe<\0b\0o\0d\0y\0>\0C\0l\0\xe9\0", 20);
        QTest::newRow("stray bytes and NULs") << QByteArray("<body>Cl\xc3\xa9 \x80\x00\xc3", 14);
    }

    void encodings()
    {
        QFETCH(QByteArray, html);
        const QXHelpPageRecord record = QXHelpPageParser::pageRepresentationForData(path, html);
        QVERIFY2(!record.words.isEmpty(), qPrintable(record.text));
        QCOMPARE(record.words.first(), QStringLiteral("clé"));
    }

    // Pages far larger than any real one are read whole, in one pass.
    void largePages_data()
    {
        QTest::addColumn<QByteArray>("html");
        QTest::addColumn<int>("anchorCount");

        QByteArray text = "<body>";
        while (text.size() < 5 * 1024 * 1024)
            text += "Some words about hot keys <a name=\"[Big]Place\"></a>\n";
        QTest::newRow("5 MB of text") << text << int(text.count("<a name="));
        QTest::newRow("5 MB of tag openings") << "<body>x " + QByteArray(5 * 1024 * 1024, '<') << 0;
        QTest::newRow("5 MB of comment openings")
            << "<body>xy " + QByteArray("<!--").repeated(1300 * 1024) << 0;
        QTest::newRow("5 MB of anchor openings")
            << "<body>xy " + QByteArray("<a name=\"").repeated(600 * 1024) << 600 * 1024 / 2;
    }

    void largePages()
    {
        QFETCH(QByteArray, html);
        const QXHelpPageRecord record = QXHelpPageParser::pageRepresentationForData(path, html);
        QTEST(int(record.anchors.size()), "anchorCount");
    }

    void contentBetweenPrefixAndSuffix_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("content");

        QTest::newRow("first prefix, first suffix after it") << "a[1]b[2]"
                                                             << "["
                                                             << "]" << true << "1";
        QTest::newRow("case ignored") << "<TITLE>x</Title>"
                                      << "<title>"
                                      << "</title>" << true << "x";
        QTest::newRow("empty prefix: from the start") << "abc]"
                                                      << ""
                                                      << "]" << true << "abc";
        QTest::newRow("empty suffix: to the end") << "[abc"
                                                  << "["
                                                  << "" << true << "abc";
        QTest::newRow("missing prefix") << "abc"
                                        << "["
                                        << "]" << false << "";
        QTest::newRow("suffix only before the prefix") << "]a["
                                                       << "["
                                                       << "]" << false << "";
    }

    void contentBetweenPrefixAndSuffix()
    {
        QFETCH(QString, text);
        QFETCH(QString, prefix);
        QFETCH(QString, suffix);
        QFETCH(bool, found);
        const std::optional<QString> content =
            QXExtension::helpManagerContentBetweenPrefix(text, prefix, suffix);
        QCOMPARE(content.has_value(), found);
        if (found)
            QTEST(*content, "content");
    }
};

QTEST_GUILESS_MAIN(HelpPageParsingTest)
#include "help_page_parsing_test.moc"
