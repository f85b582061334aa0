#include "platform/loginitems/memory/MemoryLoginItems.h"
#include "services/QXLoginItem.h"
#include "services/QXLoginItemSwitch.h"
#include "support/TestProgram.h"

#include <QApplication>
#include <QEvent>
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

} // namespace

// The check box as the user sees it: following changes made elsewhere, but
// reading the system at most once per 2 seconds.
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

    void clickSwitchesAndFailureIsLeftForNextRefresh()
    {
        QWidget window;
        auto* loginSwitch = new QXLoginItemSwitch(&window);
        QTest::mouseClick(loginSwitch, Qt::LeftButton, {}, QPoint(4, loginSwitch->height() / 2));
        QVERIFY(loginSwitch->isChecked());
        QCOMPARE(m_loginItems->items().size(), 1);
        QTest::mouseClick(loginSwitch, Qt::LeftButton, {}, QPoint(4, loginSwitch->height() / 2));
        QVERIFY(m_loginItems->items().isEmpty());

        // A refused switch keeps the user's state until the next refresh.
        m_loginItems->setInsertionRefused(true);
        QTest::mouseClick(loginSwitch, Qt::LeftButton, {}, QPoint(4, loginSwitch->height() / 2));
        QVERIFY(loginSwitch->isChecked());
        m_now += 2;
        activate(&window);
        QVERIFY(!loginSwitch->isChecked());
    }

private:
    MemoryLoginItems* m_loginItems = nullptr;
    qint64 m_now = 0;
};

TROVIX_TEST_MAIN(LoginItemSwitchTest)
#include "login_item_switch_test.moc"
