// Typing in the pop-up while accessibility is on, when Qt holds every key
// until the accessibility registry has seen it and then hands it to the
// window it was typed into: the keys still turn the menu into a search that
// presses the item chosen, and the keys that come back after the menu and
// the search are gone still find their windows (a key that finds none is
// never freed) and do nothing there.

#include "PopUpTestEnvironment.h"
#include "support/HeldKeys.h"
#include "support/TestProgram.h"

#include <QApplication>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

namespace {

constexpr qint64 FixturePid = 100;

QWidget* topPopup()
{
    return QApplication::activePopupWidget();
}

bool searchIsOpen()
{
    return topPopup() && topPopup()->objectName() == QStringLiteral("menuSearch");
}

} // namespace

class HeldKeysTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // The search remembers what it pressed; not in the user's files.
        QVERIFY(m_state.isValid());
        qputenv("XDG_STATE_HOME", m_state.path().toLocal8Bit());
    }

    void keysComeBackAfterThePopUpEnds_data()
    {
        QTest::addColumn<bool>("returnToTheMenu");
        QTest::newRow("Return typed into the search") << false;
        // The window system sends keys to the menu until the search has
        // taken the keyboard over; the menu passes them on.
        QTest::newRow("Return typed into the menu before the search took the keys") << true;
    }

    void keysComeBackAfterThePopUpEnds()
    {
        QFETCH(bool, returnToTheMenu);
        PopUpTestEnvironment environment;
        environment.addFixture(FixturePid, QStringLiteral("Trovix Fixture"),
                               QStringLiteral("/usr/bin/fixture"));
        QXMainController& controller = QXMainController::mainController();
        controller.resetForTesting();

        HeldKeys keys;
        QPointer<QWidget> menu;
        QPointer<QWidget> search;
        QTimer::singleShot(0, this, [&] {
            menu = topPopup();
            QVERIFY(menu);
            for (const char key : {'r', 'e', 'd', 'o'}) {
                QTest::keyClick(menu->windowHandle(), key);
            }
            // The first key turns the menu into the search.
            keys.handBack(1);
            QVERIFY(QTest::qWaitFor(searchIsOpen));
            search = topPopup();
            QTest::keyClick((returnToTheMenu ? menu : search)->windowHandle(), Qt::Key_Return);
            // All but the release of Return, which comes back after the
            // pop-up has ended.
            keys.handBack(keys.held() - 1);
        });
        QVERIFY(controller.popUpMenuForAllApplications(false));
        QTRY_COMPARE(environment.accessibility->pressedItems(), QStringList{"Edit > Redo"});

        QCOMPARE(keys.held(), 1);
        keys.handBack();
        QCOMPARE(keys.lost(), 0);
        QCOMPARE(topPopup(), nullptr);
        QCOMPARE(environment.accessibility->pressedItems(), QStringList{"Edit > Redo"});
        // The windows go once no key can come back to them.
        QTRY_VERIFY_WITH_TIMEOUT(!menu && !search, 5000);
        controller.resetForTesting();
    }

private:
    QTemporaryDir m_state;
};

TROVIX_TEST_MAIN(HeldKeysTest)

#include "held_keys_test.moc"
