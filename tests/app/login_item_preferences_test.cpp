#include "AppTestEnvironment.h"
#include "app/QXMainPreferencesWindow.h"
#include "hotkeys/QXHotKeyHandlerApplication.h"
#include "services/QXLoginItem.h"
#include "services/QXLoginItemSwitch.h"
#include "support/TestProgram.h"

#include <QTest>

// The "start at login" check box sits in the preferences window and shows the
// state in effect when the window opens.
class LoginItemPreferencesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void checkBoxShowsTheLoginItem()
    {
        AppTestEnvironment environment;
        environment.loginItems->addItem(
            {QStringLiteral("com.quirkworks.Trovix.desktop"), QXLoginItem::applicationPath()});
        QXMainController& controller = QXMainController::mainController();
        controller.applicationWillFinishLaunching();
        controller.showPreferencesTab(QStringLiteral("Menu"));
        QXMainPreferencesWindow* window = controller.preferencesWindow();
        QXLoginItemSwitch* loginSwitch = window->loginItemSwitch();
        QVERIFY(loginSwitch);
        QVERIFY(window->sectionPage(QStringLiteral("Menu"))->isAncestorOf(loginSwitch));
        QVERIFY(!loginSwitch->accessibleName().isEmpty());
        QVERIFY(loginSwitch->isChecked());
        QVERIFY(loginSwitch->isEnabled());
    }
};

TROVIX_TEST_MAIN_WITH(LoginItemPreferencesTest, QXHotKeyHandlerApplication)
#include "login_item_preferences_test.moc"
