#include "help/QXHelpCommandLink.h"
#include "help/QXHelpIndex.h"
#include "help/QXHelpManager.h"
#include "help/QXHelpManagerDelegate.h"
#include "platform/application/memory/MemoryActivation.h"
#include "support/LogCapture.h"
#include "support/TemporaryDefaults.h"
#include "support/TestProgram.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <limits>

namespace {

const QString Key = QStringLiteral("Show Key Equivalents");

QString link(const QString& rest)
{
    return QStringLiteral("x-quirkworks-help://") + rest;
}

struct RecordingDelegate : QXHelpManagerDelegate
{
    QStringList messages;
    QStringList changedKeys;
    void helpManagerDidReceiveMessage(QXHelpManager&, const QString& message) override
    {
        messages << message;
    }
    std::optional<QString> helpManagerDidSetOrRemoveUserDefault(QXHelpManager&,
                                                                const QString& key) override
    {
        changedKeys << key;
        return std::nullopt;
    }
};

} // namespace

// The links of help pages that send a message or change a setting: how they
// are read, and that a setting changes only after the user agrees.
class CommandLinksTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_emptyBook;
    std::unique_ptr<QXHelpManager> m_manager;
    QList<QXHelpManager::Alert> m_alerts;
    QList<int> m_answers; // button chosen per alert, in order; OK (0) when none is left

    void click(const QString& text) { m_manager->handleCommandLink(QUrl(text)); }

    QStringList alertTexts() const
    {
        QStringList texts;
        for (const QXHelpManager::Alert& alert : m_alerts) {
            texts << alert.message + u" | " + alert.informativeText;
        }
        return texts;
    }

private Q_SLOTS:
    void initTestCase()
    {
        platform::Activation::setCurrent(std::make_unique<platform::MemoryActivation>());
    }

    void init()
    {
        m_manager = std::make_unique<QXHelpManager>(std::make_unique<QXHelpIndex>(
            QXHelpBookSource{QStringLiteral("Help"), QString(), m_emptyBook.path()},
            QStringLiteral("Test Help")));
        m_manager->setAcceptableUserDefaultKeys({Key, QStringLiteral("Activation Delay")});
        m_alerts.clear();
        m_answers.clear();
        m_manager->setAlertPresenterForTesting([this](const QXHelpManager::Alert& alert) {
            m_alerts << alert;
            return m_answers.isEmpty() ? 0 : m_answers.takeFirst();
        });
    }

    void cleanup() { m_manager.reset(); }

    void parsing_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("keyOrMessage");
        QTest::addColumn<QVariant>("value"); // invalid: no value

        const int message = int(QXHelpCommandLink::Kind::Message);
        const int setting = int(QXHelpCommandLink::Kind::Default);
        const int malformed = int(QXHelpCommandLink::Kind::Malformed);

        QTest::newRow("true") << link("default/Some%20Key#true") << setting << "Some Key"
                              << QVariant(true);
        QTest::newRow("YES") << link("default/K#YES") << setting << "K" << QVariant(true);
        QTest::newRow("empty value removes") << link("default/K#") << setting << "K" << QVariant();
        QTest::newRow("integer") << link("default/K#Integer:5") << setting << "K"
                                 << QVariant(qint64(5));
        QTest::newRow("integer sign and tail")
            << link("default/K#integer:-12px") << setting << "K" << QVariant(qint64(-12));
        QTest::newRow("integer without digits")
            << link("default/K#integer:abc") << setting << "K" << QVariant(qint64(0));
        QTest::newRow("integer too big")
            << link("default/K#integer:99999999999999999999") << setting << "K"
            << QVariant(std::numeric_limits<qint64>::max());
        QTest::newRow("integer alone is text")
            << link("default/K#integer:") << setting << "K" << QVariant(QStringLiteral("integer:"));
        QTest::newRow("double") << link("default/K#double:0.25") << setting << "K"
                                << QVariant(0.25);
        QTest::newRow("double not finite")
            << link("default/K#double:1e999") << setting << "K" << QVariant(0.0);
        QTest::newRow("double alone is text")
            << link("default/K#Double:") << setting << "K" << QVariant(QStringLiteral("Double:"));
        QTest::newRow("text keeps case")
            << link("default/K#Hello") << setting << "K" << QVariant(QStringLiteral("Hello"));
        QTest::newRow("utf-8 escapes")
            << link("default/K#caf%C3%A9") << setting << "K" << QVariant(QStringLiteral("café"));
        QTest::newRow("keyword case")
            << link("DEFAULT/K#1") << setting << "K" << QVariant(QStringLiteral("1"));
        QTest::newRow("no #") << link("default/Some%20Key") << malformed << "" << QVariant();
        QTest::newRow("empty key") << link("default/#true") << malformed << "" << QVariant();
        QTest::newRow("blank key") << link("default/%20#true") << malformed << "" << QVariant();
        QTest::newRow("bad escape in key")
            << link("default/Some%ZZKey#1") << malformed << "" << QVariant();
        QTest::newRow("cut escape in value")
            << link("default/K#50%") << malformed << "" << QVariant();
        QTest::newRow("not utf-8") << link("default/K#%E9") << malformed << "" << QVariant();
        QTest::newRow("unknown command") << link("other/K#1") << malformed << "" << QVariant();
        QTest::newRow("huge") << link("default/K#") + QString(5000, u'x') << malformed << ""
                              << QVariant();
        QTest::newRow("message verbatim")
            << link("message/hello%20there") << message << "hello%20there" << QVariant();
        QTest::newRow("empty message") << link("MESSAGE/") << message << "" << QVariant();
        QTest::newRow("message wins")
            << link("default/x://message/y#1") << message << "y#1" << QVariant();
    }

    void parsing()
    {
        QFETCH(QString, text);
        QFETCH(int, kind);
        QFETCH(QString, keyOrMessage);
        QFETCH(QVariant, value);

        const QXHelpCommandLink parsed = QXHelpCommandLink::parse(text);
        QCOMPARE(int(parsed.kind), kind);
        if (parsed.kind == QXHelpCommandLink::Kind::Message) {
            QCOMPARE(parsed.message, keyOrMessage);
        } else if (parsed.kind == QXHelpCommandLink::Kind::Default) {
            QCOMPARE(parsed.key, keyOrMessage);
            QCOMPARE(parsed.value.has_value(), value.isValid());
            if (value.isValid()) {
                QCOMPARE(parsed.value->typeId(), value.typeId());
                QCOMPARE(*parsed.value, value);
            }
        } else {
            QVERIFY(!parsed.problem.isEmpty());
        }
    }

    void confirmedChangeIsStoredAndNotified()
    {
        TemporaryDefaults defaults;
        QSignalSpy changes(&defaults.defaults(), &platform::UserDefaults::didChange);
        click(link("default/Show%20Key%20Equivalents#true"));
        QCOMPARE(alertTexts(),
                 QStringList({"Change Show Key Equivalents? | Show Key Equivalents will be set "
                              "to Yes; it is now (No Value).",
                              "User default updated | Show Key Equivalents is now set to Yes."}));
        QCOMPARE(m_alerts.at(1).buttons,
                 QStringList({QStringLiteral("OK"), QStringLiteral("Revert to (No Value)")}));
        // Escape cancels the change, and never reverts it afterwards.
        QCOMPARE(m_alerts.at(0).escapeButton, 1);
        QCOMPARE(m_alerts.at(1).escapeButton, 0);
        QCOMPARE(defaults.defaults().objectForKey(Key), QVariant(true));
        QVERIFY(!changes.isEmpty());

        // Written through at once, for `trovix defaults read`.
        platform::UserDefaults reader(defaults.filePath());
        QCOMPARE(reader.objectForKey(Key), QVariant(true));

        m_alerts.clear();
        click(link("default/Show%20Key%20Equivalents#yes"));
        QCOMPARE(alertTexts(), QStringList({"That didn't do anything | Show Key Equivalents was "
                                            "already set to Yes."}));
    }

    void cancelledChangeLeavesEverything()
    {
        TemporaryDefaults defaults;
        m_answers = {1};
        click(link("default/Show%20Key%20Equivalents#true"));
        QCOMPARE(m_alerts.size(), 1);
        QVERIFY(!defaults.defaults().hasStoredValue(Key));
    }

    void revertRestoresTheExactValue_data()
    {
        QTest::addColumn<QVariant>("before"); // invalid: not stored
        QTest::addColumn<QString>("value");
        QTest::newRow("integer back") << QVariant(qint64(5)) << "Integer:7";
        QTest::newRow("string back") << QVariant(QStringLiteral("Hello")) << "Integer:7";
        QTest::newRow("removed again") << QVariant() << "Integer:7";
        QTest::newRow("removal reverted") << QVariant(qint64(5)) << "";
    }

    void revertRestoresTheExactValue()
    {
        QFETCH(QVariant, before);
        QFETCH(QString, value);
        TemporaryDefaults defaults;
        RecordingDelegate delegate;
        m_manager->setDelegate(&delegate);
        const QString key = QStringLiteral("Activation Delay");
        if (before.isValid()) {
            defaults.defaults().setObject(before, key);
        }
        m_answers = {0, 1};
        click(link("default/Activation%20Delay#") + value);
        QCOMPARE(m_alerts.size(), 2);
        QCOMPARE(defaults.defaults().hasStoredValue(key), before.isValid());
        if (before.isValid()) {
            QCOMPARE(defaults.defaults().objectForKey(key).typeId(), before.typeId());
            QCOMPARE(defaults.defaults().objectForKey(key), before);
        }
        // Told after the change and after the revert.
        QCOMPARE(delegate.changedKeys, QStringList({key, key}));
        m_manager->setDelegate(nullptr);
    }

    void removingAnAbsentValueDoesNothing()
    {
        TemporaryDefaults defaults;
        click(link("default/Show%20Key%20Equivalents#"));
        QCOMPARE(alertTexts(), QStringList({"That didn't do anything | Show Key Equivalents was "
                                            "already set to (No Value)."}));
    }

    // Only Trovix's own settings: anything else is refused with an alert.
    void foreignKeysAreRefused_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("unknown key") << link("default/Some%20Key#true");
        QTest::newRow("frame key") << link("default/Window%20Frame%20x#1");
        QTest::newRow("stray percent taken literally") << link("default/Some%ZZKey#1");
    }

    void foreignKeysAreRefused()
    {
        QFETCH(QString, text);
        TemporaryDefaults defaults;
        LogCapture log;
        click(text);
        QCOMPARE(m_alerts.size(), 1);
        QCOMPARE(m_alerts.first().message, QStringLiteral("Cannot change this setting"));
        QVERIFY(defaults.defaults().persistentDomain().isEmpty());
        QCOMPARE(log.lines().size(), 1);
    }

    // A value the program would not read as the setting's type, or a number
    // outside what the preferences window offers, is refused like an
    // unknown key; a registered default without a rule sets the type.
    void valuesMustFitTheSetting_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("size in range") << "Menu Font Size"
                                       << "integer:14" << true;
        QTest::newRow("smallest size") << "Menu Font Size"
                                       << "integer:10" << true;
        QTest::newRow("largest size") << "Menu Font Size"
                                      << "integer:30" << true;
        QTest::newRow("size too large") << "Menu Font Size"
                                        << "integer:31" << false;
        QTest::newRow("size too small") << "Menu Font Size"
                                        << "integer:9" << false;
        QTest::newRow("huge double size") << "Menu Font Size"
                                          << "double:1e300" << false;
        QTest::newRow("size as text") << "Menu Font Size"
                                      << "large" << false;
        QTest::newRow("size as boolean") << "Menu Font Size"
                                         << "yes" << false;
        QTest::newRow("size removed") << "Menu Font Size"
                                      << "" << true;
        QTest::newRow("whole timeout") << "Accessibility API Timeout"
                                       << "integer:2" << true;
        QTest::newRow("decimal timeout") << "Accessibility API Timeout"
                                         << "double:2.5" << true;
        QTest::newRow("timeout as text") << "Accessibility API Timeout"
                                         << "soon" << false;
        QTest::newRow("boolean") << "Show Key Equivalents"
                                 << "no" << true;
        QTest::newRow("boolean as number") << "Show Key Equivalents"
                                           << "integer:1" << false;
        QTest::newRow("registered integer") << "Application Mode"
                                            << "integer:0" << true;
        QTest::newRow("registered integer as text") << "Application Mode"
                                                    << "two" << false;
        QTest::newRow("registered text") << "Fast Track"
                                         << "Editor > Edit" << true;
        QTest::newRow("registered text as number") << "Fast Track"
                                                   << "integer:3" << false;
    }

    void valuesMustFitTheSetting()
    {
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(bool, accepted);
        TemporaryDefaults defaults;
        defaults.defaults().registerDefaults(
            {{QStringLiteral("Application Mode"), qint64(1)},
             {QStringLiteral("Fast Track"), QStringLiteral("Editor > Format")}});
        using Rule = QXHelpManager::SettingRule;
        m_manager->setAcceptableUserDefaults(
            {{QStringLiteral("Menu Font Size"), Rule{Rule::Type::Integer, 10, 30}},
             {QStringLiteral("Accessibility API Timeout"),
              Rule{Rule::Type::Number, std::nullopt, std::nullopt}},
             {Key, Rule{Rule::Type::Boolean, std::nullopt, std::nullopt}}});
        defaults.defaults().setInteger(12, QStringLiteral("Menu Font Size"));
        const QVariant before = defaults.defaults().objectForKey(key);
        LogCapture log;
        click(link("default/") + QString::fromLatin1(QUrl::toPercentEncoding(key)) + u'#' + value);
        QVERIFY(!m_alerts.isEmpty());
        if (accepted) {
            QVERIFY2(m_alerts.first().message != QStringLiteral("Cannot change this setting"),
                     qPrintable(m_alerts.first().informativeText));
            return;
        }
        QCOMPARE(m_alerts.size(), 1);
        QCOMPARE(m_alerts.first().message, QStringLiteral("Cannot change this setting"));
        QVERIFY(
            m_alerts.first().informativeText.startsWith(key + QStringLiteral(" cannot be set")));
        QCOMPARE(defaults.defaults().objectForKey(key), before);
        QCOMPARE(log.lines().size(), 1);
    }

    void malformedLinksDoNothing()
    {
        TemporaryDefaults defaults;
        LogCapture log;
        click(link("default/Show%20Key%20Equivalents"));
        click(link("default/#true"));
        QVERIFY(m_alerts.isEmpty());
        QVERIFY(defaults.defaults().persistentDomain().isEmpty());
        QCOMPARE(log.lines().size(), 2);
    }

    void messagesGoToTheDelegate()
    {
        TemporaryDefaults defaults;
        click(link("message/ignored")); // no delegate: nothing
        RecordingDelegate delegate;
        m_manager->setDelegate(&delegate);
        click(link("message/hello%20there"));
        QCOMPARE(delegate.messages, QStringList{QStringLiteral("hello%20there")});
        QVERIFY(m_alerts.isEmpty());
        m_manager->setDelegate(nullptr);
    }

    // A command link never loads and never reaches the desktop; it is handled
    // once the click is over.
    void commandLinksAreHandledInTheWindow()
    {
        TemporaryDefaults defaults;
        QList<QUrl> opened;
        m_manager->setExternalURLOpenerForTesting([&opened](const QUrl& url) {
            opened << url;
            return true;
        });
        const auto policy = m_manager->decidePolicyForNavigation(
            QUrl(link("default/Show%20Key%20Equivalents#true")));
        QCOMPARE(policy, platform::WebView::Policy::Ignore);
        QVERIFY(m_alerts.isEmpty());
        QTRY_COMPARE(m_alerts.size(), 2);
        QVERIFY(opened.isEmpty());
    }
};

TROVIX_TEST_MAIN(CommandLinksTest)
#include "command_links_test.moc"
