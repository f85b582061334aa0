#include "platform/loginitems/memory/MemoryLoginItems.h"
#include "services/QXLoginItem.h"
#include "services/QXLoginItemSwitch.h"
#include "support/TestProgram.h"

#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QTest>
#include <QVBoxLayout>

using platform::MemoryLoginItems;

namespace {

const QString ownEntry = QStringLiteral("com.quirkworks.Trovix.desktop");

void activate(QWidget* window)
{
    QEvent event(QEvent::WindowActivate);
    QApplication::sendEvent(window, &event);
}

void click(QCheckBox* box)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
}

} // namespace

// The check box as the user sees it: following changes made elsewhere, but
// reading the system at most once per 2 seconds; after a switch it shows the
// state that holds, and says why a switch failed.
class LoginItemSwitchTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        auto loginItems = std::make_unique<MemoryLoginItems>();
        m_loginItems = loginItems.get();
        platform::LoginItems::setCurrent(std::move(loginItems));
        m_now = 800000000;
        QXLoginItemSwitch::setClock([this] { return m_now; });
    }

    void cleanup()
    {
        QXLoginItemSwitch::setClock({});
        platform::LoginItems::setCurrent(nullptr);
    }

    void followsChangesMadeOutside()
    {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* loginSwitch = new QXLoginItemSwitch;
        QVERIFY(!loginSwitch->isChecked());
        layout->addWidget(loginSwitch);
        QCOMPARE(m_loginItems->snapshotCount(), 1);
        QVERIFY(!loginSwitch->isChecked());
        QVERIFY(loginSwitch->isEnabled());

        // Someone else adds the entry; coming back to the window at once
        // shows nothing new, two seconds later it does.
        m_loginItems->addItem({ownEntry, QXLoginItem::applicationPath()});
        activate(&window);
        QCOMPARE(m_loginItems->snapshotCount(), 1);
        QVERIFY(!loginSwitch->isChecked());
        m_now += 2;
        activate(&window);
        QCOMPARE(m_loginItems->snapshotCount(), 2);
        QVERIFY(loginSwitch->isChecked());

        // Another window becoming active is no reason to read.
        QWidget other;
        m_now += 10;
        loginSwitch->updateLoginItemState(&other);
        QCOMPARE(m_loginItems->snapshotCount(), 2);
    }

    void clickSwitches()
    {
        QWidget window;
        auto* loginSwitch = new QXLoginItemSwitch(&window);
        click(loginSwitch);
        QVERIFY(loginSwitch->isChecked());
        QCOMPARE(m_loginItems->items().size(), 1);
        click(loginSwitch);
        QVERIFY(!loginSwitch->isChecked());
        QVERIFY(m_loginItems->items().isEmpty());
        QVERIFY(!loginSwitch->failureAlert());
    }

    // A switch that fails shows the state that really holds at once, and an
    // alert says why, both ways.
    void failedSwitchShowsTheRealStateAndWhy()
    {
        QWidget window;
        auto* loginSwitch = new QXLoginItemSwitch(&window);
        m_loginItems->setInsertionRefused(true);
        click(loginSwitch);
        QVERIFY(!loginSwitch->isChecked());
        QVERIFY(loginSwitch->failureAlert());
        QCOMPARE(loginSwitch->failureAlert()->text(),
                 QStringLiteral("Trovix could not be set to start when you log in."));
        QCOMPARE(loginSwitch->failureAlert()->informativeText(),
                 QStringLiteral("com.quirkworks.Trovix.desktop cannot be written: refused"));
        QVERIFY(!loginSwitch->failureAlert()->accessibleName().isEmpty());
        loginSwitch->failureAlert()->close();
        QTRY_VERIFY(!loginSwitch->failureAlert());

        m_loginItems->setInsertionRefused(false);
        m_loginItems->addItem({ownEntry, QXLoginItem::applicationPath()});
        m_now += 2;
        activate(&window);
        QVERIFY(loginSwitch->isChecked());
        m_loginItems->setRemovalRefused(ownEntry, true);
        click(loginSwitch);
        QVERIFY(loginSwitch->isChecked());
        QVERIFY(loginSwitch->failureAlert());
        QCOMPARE(loginSwitch->failureAlert()->text(),
                 QStringLiteral("Trovix could not be kept from starting when you log in."));
    }

    // Where the desktop answers a switch later (the sandbox's portal), the
    // check box shows the state in effect until the answer, then the answer.
    void anAnswerThatArrivesLaterShows()
    {
        m_loginItems->setHelper(true, false, true);
        m_loginItems->setHelperAnswersLater(true);
        QWidget window;
        auto* loginSwitch = new QXLoginItemSwitch(&window);
        click(loginSwitch);
        QVERIFY(!loginSwitch->isChecked());
        QVERIFY(!loginSwitch->failureAlert());
        QVERIFY(m_loginItems->answerHelperRequest(true));
        QVERIFY(loginSwitch->isChecked());

        click(loginSwitch);
        QVERIFY(loginSwitch->isChecked());
        QVERIFY(m_loginItems->answerHelperRequest(false));
        QVERIFY(loginSwitch->isChecked());
        m_loginItems->setHelper(false, false, false);
    }

private:
    MemoryLoginItems* m_loginItems = nullptr;
    qint64 m_now = 0;
};

TROVIX_TEST_MAIN(LoginItemSwitchTest)
#include "login_item_switch_test.moc"
