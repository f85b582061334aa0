#include "AppTestEnvironment.h"
#include "app/QXHotKeyPurposes.h"
#include "app/QXListTextField.h"
#include "app/QXMainPreferencesWindow.h"
#include "app/QXSearchHistoryButton.h"
#include "app/QXSettingsKeys.h"
#include "hotkeys/QXHotKey.h"
#include "hotkeys/QXHotKeyHandlerApplication.h"
#include "hotkeys/QXHotKeyTextView.h"
#include "menus/QXRightClickTrigger.h"
#include "platform/input/desktop/DesktopHotKeyService.h"
#include "platform/input/memory/MemoryHotKeyService.h"
#include "platform/menus/Menu.h"
#include "platform/menus/MenuItem.h"
#include "search/SearchHistory.h"
#include "services/QXLoginItem.h"
#include "services/QXLoginItemSwitch.h"
#include "support/AccessibleNames.h"
#include "support/TestProgram.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>

using namespace QXSettingsKeys;

// The preferences window's controls: what each one shows at first and what
// it writes when the user changes it.
class PreferencesWindowTest : public QObject
{
    Q_OBJECT

private:
    // The search history lives here, never in the user's own folder.
    QTemporaryDir m_state;

    QXMainController& controller() { return QXMainController::mainController(); }

    QXMainPreferencesWindow* show(const QString& section = {})
    {
        controller().applicationWillFinishLaunching();
        controller().showPreferencesTab(section);
        return controller().preferencesWindow();
    }

    static void choose(QComboBox* selector, int tag)
    {
        const int index = selector->findData(tag);
        QVERIFY2(index >= 0, qPrintable(QStringLiteral("no item tagged %1").arg(tag)));
        selector->setCurrentIndex(index);
    }

    // The controls a user sees on page, each once: the parts of a control
    // (a combo box's field, a text view's viewport) are left to it.
    static QList<QWidget*> controlsOn(QWidget* page)
    {
        const auto isControl = [](const QWidget* widget) {
            if (const auto* label = qobject_cast<const QLabel*>(widget)) {
                return !label->text().isEmpty();
            }
            return widget->focusPolicy() != Qt::NoFocus ||
                   qobject_cast<const QAbstractButton*>(widget) != nullptr;
        };
        QList<QWidget*> controls;
        for (QWidget* widget : page->findChildren<QWidget*>()) {
            if (!widget->isVisibleTo(page) || !isControl(widget)) {
                continue;
            }
            bool part = false;
            for (const QWidget* up = widget->parentWidget(); up != page && !part;
                 up = up->parentWidget()) {
                part = isControl(up);
            }
            if (!part) {
                controls.append(widget);
            }
        }
        return controls;
    }

    // What is wrong with how the controls of page are laid out: one smaller
    // than it needs to be, or two covering each other.
    static QStringList layoutFaults(QWidget* page)
    {
        QStringList faults;
        const QList<QWidget*> controls = controlsOn(page);
        const auto nameOf = [](const QWidget* widget) {
            const auto* label = qobject_cast<const QLabel*>(widget);
            return QStringLiteral("%1 '%2'").arg(
                QString::fromLatin1(widget->metaObject()->className()),
                label != nullptr ? label->text().left(30) : widget->objectName());
        };
        for (qsizetype i = 0; i < controls.size(); ++i) {
            const QWidget* control = controls.at(i);
            const QSize needed = control->minimumSizeHint();
            const int neededHeight = control->hasHeightForWidth()
                                         ? control->heightForWidth(control->width())
                                         : needed.height();
            if (control->width() < needed.width() || control->height() < neededHeight) {
                faults << QStringLiteral("%1 squeezed").arg(nameOf(control));
            }
            const QRect area(control->mapTo(page, QPoint()), control->size());
            for (qsizetype j = i + 1; j < controls.size(); ++j) {
                const QWidget* other = controls.at(j);
                if (area.intersects(QRect(other->mapTo(page, QPoint()), other->size()))) {
                    faults << QStringLiteral("%1 covers %2").arg(nameOf(control), nameOf(other));
                }
            }
        }
        return faults;
    }

    static void recordSearchPress()
    {
        SearchHistory history;
        history.load();
        history.recordPress(QStringLiteral("Editor"), QStringLiteral("File › Save"));
        QVERIFY(history.save());
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_state.isValid());
        qputenv("XDG_STATE_HOME", m_state.path().toUtf8());
    }

    void controlsShowTheStoredSettings()
    {
        AppTestEnvironment environment;
        platform::UserDefaults& settings = environment.settings();
        settings.setInteger(3, EnableRightClickTriggerModifier);
        settings.setBool(false, EnableRightClickTrigger);
        settings.setBool(true, StealthMode);
        settings.setInteger(0, ApplicationMode);
        settings.setBool(true, PromoteAlternates);
        settings.setInteger(2, MenuAppearance);
        settings.setInteger(14, MenuFontSize);
        settings.setObject(QStringLiteral("Files\nEdit"), Blacklist);
        QXMainPreferencesWindow* window = show();

        QCOMPARE(window->rightClickTriggerModifierSelector()->currentText(), QStringLiteral("Fn"));
        QVERIFY(!window->rightClickTriggerSwitch()->isChecked());
        QVERIFY(!window->rightClickTriggerModifierSelector()->isEnabled());
        QVERIFY(!window->stealthModeSwitch()->isChecked());
        QCOMPARE(QXMainPreferencesWindow::selectedTag(window->applicationModeSelector()), 0);
        QVERIFY(window->keyEquivalentSwitch()->isChecked()); // registered default
        QVERIFY(window->promoteAlternatesSwitch()->isChecked());
        QVERIFY(!window->skipDisabledMenuItemsSwitch()->isChecked());
        QVERIFY(window->searchMenusWhileTypingSwitch()->isChecked()); // registered default
        QCOMPARE(QXMainPreferencesWindow::selectedTag(window->appearanceSelector()), 2);
        QCOMPARE(window->fontSizeSelector()->currentText(), QStringLiteral("14"));
        QCOMPARE(window->blacklistField()->toPlainText(), QStringLiteral("Files\nEdit"));
        QCOMPARE(window->fastTrackField()->toPlainText(), settings.stringForKey(FastTrack));
        QVERIFY(window->facelessApplicationModeExplanationView()->isHidden());
        // Filling wrote nothing back.
        QVERIFY(!settings.hasStoredValue(ShowKeyEquivalents));
        QVERIFY(!settings.hasStoredValue(FastTrack));

        // Filled only once: a later change of the setting is not shown.
        settings.setInteger(31, MenuFontSize);
        controller().showPreferencesTab(QStringLiteral("Advanced"));
        QCOMPARE(window->fontSizeSelector()->currentText(), QStringLiteral("14"));
    }

    // A screen reader finds a name for every control of every section.
    void everySectionCanBeRead()
    {
        AppTestEnvironment environment;
        QXMainPreferencesWindow* window = show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        for (const QString& section : QXMainPreferencesWindow::sectionIdentifiers()) {
            QVERIFY(window->selectSection(section));
            const QStringList unnamed = unnamedControls(window);
            QVERIFY2(unnamed.isEmpty(), qPrintable(section + u": " + unnamed.join(u", ")));
        }
    }

    // The "start at login" switch sits in the Menu section and shows the
    // login item in effect when the window opens.
    void loginItemSwitchShowsTheLoginItem()
    {
        AppTestEnvironment environment;
        environment.loginItems->addItem(
            {QStringLiteral("com.quirkworks.Trovix.desktop"), QXLoginItem::applicationPath()});
        QXMainPreferencesWindow* window = show(QStringLiteral("Menu"));
        QXLoginItemSwitch* loginSwitch = window->loginItemSwitch();
        QVERIFY(loginSwitch);
        QVERIFY(window->sectionPage(QStringLiteral("Menu"))->isAncestorOf(loginSwitch));
        QVERIFY(loginSwitch->isChecked());
        QVERIFY(loginSwitch->isEnabled());
    }

    // A stored value that no item carries shows the choice with the same
    // effect, and stays stored as it is.
    void storedValuesShowTheChoiceInEffect_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<qint64>("stored");
        QTest::addColumn<qint64>("shown");
        QTest::newRow("mode above faceless: no tray icon")
            << ApplicationMode << qint64(7) << qint64(2);
        QTest::newRow("mode below dock: dock") << ApplicationMode << qint64(-3) << qint64(0);
        QTest::newRow("font size above the largest") << MenuFontSize << qint64(31) << qint64(30);
        QTest::newRow("font size far above") << MenuFontSize << qint64(200) << qint64(30);
        QTest::newRow("font size below the smallest") << MenuFontSize << qint64(9) << qint64(0);
        QTest::newRow("unknown modifier: Super")
            << EnableRightClickTriggerModifier << qint64(7) << qint64(0);
        QTest::newRow("unknown appearance: system") << MenuAppearance << qint64(-1) << qint64(0);
    }

    void storedValuesShowTheChoiceInEffect()
    {
        QFETCH(QString, key);
        QFETCH(qint64, stored);
        QFETCH(qint64, shown);
        AppTestEnvironment environment;
        environment.settings().setInteger(stored, key);
        QXMainPreferencesWindow* window = show();
        const QHash<QString, QComboBox*> selectors = {
            {ApplicationMode, window->applicationModeSelector()},
            {MenuFontSize, window->fontSizeSelector()},
            {EnableRightClickTriggerModifier, window->rightClickTriggerModifierSelector()},
            {MenuAppearance, window->appearanceSelector()}};
        QCOMPARE(QXMainPreferencesWindow::selectedTag(selectors.value(key)), shown);
        QCOMPARE(environment.settings().integerForKey(key), stored);
        QVERIFY(window->facelessApplicationModeExplanationView()->isHidden());
    }

    void checkBoxesWriteTheirKeys_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("inverted");
        QTest::newRow("key equivalents") << ShowKeyEquivalents << false;
        QTest::newRow("alternates") << PromoteAlternates << false;
        QTest::newRow("accessory applications") << SupportAccessoryApplications << false;
        QTest::newRow("system menu at end") << MoveAppleMenuToEnd << false;
        QTest::newRow("disabled items") << SkipDisabledMenuItems << false;
        QTest::newRow("search while typing") << SearchMenusWhileTyping << false;
        QTest::newRow("stealth, shown as open at launch") << StealthMode << true;
    }

    void checkBoxesWriteTheirKeys()
    {
        QFETCH(QString, key);
        QFETCH(bool, inverted);
        AppTestEnvironment environment;
        QXMainPreferencesWindow* window = show();
        auto* box = window->findChild<QCheckBox*>(key);
        QVERIFY(box != nullptr);
        for (int round = 0; round < 2; ++round) {
            box->click();
            QVERIFY(environment.settings().hasStoredValue(key));
            QCOMPARE(environment.settings().boolForKey(key), box->isChecked() != inverted);
        }
    }

    // The history button is enabled only while there is a history; a click
    // clears it without asking, logs it and disables the button. A press
    // made while the window stays open shows when the user comes back.
    void searchHistoryButtonClearsOnlyWhatThereIs()
    {
        AppTestEnvironment environment;
        QFile::remove(SearchHistory::defaultPath());
        QXMainPreferencesWindow* window = show(QStringLiteral("Advanced"));
        QXSearchHistoryButton* button = window->clearSearchHistoryButton();
        QVERIFY(button->isVisible());
        QVERIFY(!button->isEnabled());

        recordSearchPress();
        window->selectSection(QStringLiteral("Menu"));
        window->selectSection(QStringLiteral("Advanced"));
        QVERIFY(button->isEnabled());

        environment.log.clear();
        button->click();
        QVERIFY(!button->isEnabled());
        QVERIFY(!QFileInfo::exists(SearchHistory::defaultPath()));
        QVERIFY(environment.alerts.isEmpty());
        QCOMPARE(environment.log.lines().size(), 1);
        QVERIFY(environment.log.lines().constFirst().contains(
            QStringLiteral("cleared the search history")));

        // The user works elsewhere, a press is recorded, the user comes back.
        QWidget elsewhere;
        elsewhere.show();
        elsewhere.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
        recordSearchPress();
        QVERIFY(!button->isEnabled());
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QVERIFY(button->isEnabled());
    }

    void rightClickControlsSwitchTheTriggerAndItsModifier()
    {
        AppTestEnvironment environment;
        QXMainPreferencesWindow* window = show();
        QVERIFY(window->rightClickTriggerSwitch()->isChecked());
        QVERIFY(window->rightClickTriggerModifierSelector()->isEnabled());

        window->rightClickTriggerSwitch()->click();
        QCOMPARE(environment.settings().objectForKey(EnableRightClickTrigger), QVariant(false));
        QVERIFY(!window->rightClickTriggerModifierSelector()->isEnabled());
        QVERIFY(!QXIsRightClickTriggerEnabled());

        window->rightClickTriggerSwitch()->click();
        QCOMPARE(environment.settings().objectForKey(EnableRightClickTrigger), QVariant(true));
        QVERIFY(window->rightClickTriggerModifierSelector()->isEnabled());

        // The modifier goes to the settings and to the running trigger.
        for (int tag : {2, 1, 3, 0}) {
            choose(window->rightClickTriggerModifierSelector(), tag);
            QCOMPARE(environment.settings().integerForKey(EnableRightClickTriggerModifier), tag);
            QCOMPARE(QXRightClickTriggerModifier(), tag);
        }
    }

    void standardChoicesRemoveTheirKeys()
    {
        AppTestEnvironment environment;
        QXMainPreferencesWindow* window = show();
        const std::tuple<QComboBox*, QString, int> selectors[] = {
            {window->appearanceSelector(), MenuAppearance, 1},
            {window->fontSizeSelector(), MenuFontSize, 30}};
        for (const auto& [selector, key, tag] : selectors) {
            choose(selector, tag);
            QCOMPARE(environment.settings().integerForKey(key), tag);
            choose(selector, 0);
            QVERIFY(!environment.settings().hasStoredValue(key));
        }
    }

    void listFieldsWriteTheirText()
    {
        AppTestEnvironment environment;
        QXMainPreferencesWindow* window = show();
        window->blacklistField()->setPlainText(QStringLiteral(" Help\nFiles "));
        QCOMPARE(environment.settings().stringForKey(Blacklist), QStringLiteral(" Help\nFiles "));
        window->blacklistField()->setPlainText(QStringLiteral(" \n\t "));
        QVERIFY(!environment.settings().hasStoredValue(Blacklist));

        // Fast track text is stored as typed and parsed again at once.
        QCOMPARE(controller().fastTrackMenuTitlesForApplicationName(QStringLiteral("BBEdit")),
                 std::optional<QStringList>(QStringList{QStringLiteral("text")}));

        window->fastTrackField()->setPlainText(QStringLiteral("Editor > Text"));
        QCOMPARE(environment.settings().stringForKey(FastTrack), QStringLiteral("Editor > Text"));
        QCOMPARE(controller().fastTrackMenuTitlesForApplicationName(QStringLiteral("editor")),
                 std::optional<QStringList>(QStringList{QStringLiteral("text")}));

        // Emptied: stored as empty text, so the registered entries are gone.
        window->fastTrackField()->clear();
        QVERIFY(environment.settings().hasStoredValue(FastTrack));
        QCOMPARE(environment.settings().stringForKey(FastTrack), QString());
        QCOMPARE(controller().fastTrackMenuTitlesForApplicationName(QStringLiteral("BBEdit")),
                 std::nullopt);
    }

    void returnAddsALineAndTheFieldGrowsWithinItsLimits()
    {
        AppTestEnvironment environment;
        QXMainPreferencesWindow* window = show(QStringLiteral("Advanced"));
        QXListTextField* field = window->fastTrackField();
        field->clear();
        field->setFocus();
        const int oneLine = field->height();
        QCOMPARE(oneLine, field->fittingHeight());
        QVERIFY(oneLine >= QXListTextField::minimumFieldHeight);

        QTest::keyClicks(field, QStringLiteral("Editor > Text"));
        QTest::keyClick(field, Qt::Key_Return);
        QTest::keyClicks(field, QStringLiteral("Viewer"));
        QVERIFY(window->isVisible()); // Return did not end anything
        QCOMPARE(environment.settings().stringForKey(FastTrack),
                 QStringLiteral("Editor > Text\nViewer"));
        QVERIFY(field->height() > oneLine);

        field->setPlainText(QStringLiteral("x\n").repeated(40));
        QCOMPARE(field->height(), QXListTextField::maximumFieldHeight);
    }

    void modeSelectorSwitchesModeAndExplanation()
    {
        AppTestEnvironment environment;
        environment.settings().setBool(false, EnableRightClickTrigger);
        QXMainPreferencesWindow* window = show();
        // Faceless mode without any trigger is refused; the selector is back
        // on the mode that stays while the alert explains why.
        QList<qint64> shownDuringAlert;
        QXAlert::setPresenterForTesting([&](const QString&, const QString&) {
            shownDuringAlert << QXMainPreferencesWindow::selectedTag(
                window->applicationModeSelector());
        });
        choose(window->applicationModeSelector(), 2);
        QCOMPARE(shownDuringAlert, QList<qint64>{1});
        QCOMPARE(QXMainPreferencesWindow::selectedTag(window->applicationModeSelector()), 1);
        QCOMPARE(environment.settings().integerForKey(ApplicationMode), 1);
        QVERIFY(window->facelessApplicationModeExplanationView()->isHidden());

        window->rightClickTriggerSwitch()->click();
        choose(window->applicationModeSelector(), 2);
        QCOMPARE(shownDuringAlert.size(), 1);
        QCOMPARE(environment.settings().integerForKey(ApplicationMode), 2);
        QVERIFY(!window->facelessApplicationModeExplanationView()->isHidden());
        choose(window->applicationModeSelector(), 0);
        QCOMPARE(environment.settings().integerForKey(ApplicationMode), 0);
        QVERIFY(window->facelessApplicationModeExplanationView()->isHidden());
    }

    void explanationShownAtFirstShowGetsItsRoom()
    {
        AppTestEnvironment environment;
        environment.settings().setInteger(2, ApplicationMode);
        QXMainPreferencesWindow* window = show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QVERIFY(!window->facelessApplicationModeExplanationView()->isHidden());
        QCOMPARE(window->height(), window->fittingHeight());
        // Nothing squeezed below its natural height.
        QXHotKeyTextView* recorder = window->allApplicationsTriggerHotKeyTextView();
        QCOMPARE(recorder->height(), recorder->sizeHint().height());
    }

    // A tiling compositor gives the window half a screen or less, whatever its
    // natural size: that is enough, and there each section keeps every
    // control at its size and off the others, the page scrolling instead.
    void narrowWindowScrollsInsteadOfSqueezing()
    {
        AppTestEnvironment environment;
        environment.settings().setInteger(2, ApplicationMode); // the explanation shows
        QXMainPreferencesWindow* window = show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QSize half = window->screen()->availableGeometry().size() / 2;
        const QSize smallest = window->minimumSize().expandedTo(window->minimumSizeHint());
        QVERIFY2(smallest.width() <= half.width() && smallest.height() <= half.height(),
                 qPrintable(QStringLiteral("%1x%2").arg(smallest.width()).arg(smallest.height())));
        window->resize(half);
        for (const QString& section : QXMainPreferencesWindow::sectionIdentifiers()) {
            QVERIFY(window->selectSection(section));
            QWidget* page = window->sectionPage(section);
            QTRY_VERIFY(page->isVisible());
            // The layouts settle once the events of the resizing are handled.
            const bool laidOut =
                QTest::qWaitFor([page] { return layoutFaults(page).isEmpty(); }, 1000);
            QVERIFY2(laidOut, qPrintable(section + u": " + layoutFaults(page).join(u", ")));
            QVERIFY(controlsOn(page).size() >= 3);
            // Scrolling hides nothing from a screen reader.
            const QStringList unnamed = unnamedControls(window);
            QVERIFY2(unnamed.isEmpty(), qPrintable(section + u": " + unnamed.join(u", ")));
        }
    }

    // Narrower still, a third of a small screen as a tiling compositor
    // makes it beside two other windows: the check boxes' labels wrap, and
    // no page is wider than the window (nothing scrolls sideways), in large
    // type too.
    void narrowWindowWrapsInsteadOfScrollingSideways()
    {
        AppTestEnvironment environment;
        const QFont font = QApplication::font();
        const auto restore = qScopeGuard([&font] { QApplication::setFont(font); });
        QFont large = font;
        large.setPointSizeF(font.pointSizeF() * 1.25);
        QApplication::setFont(large);
        QXMainPreferencesWindow* window = show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        window->resize(360, 500);
        for (const QString& section : QXMainPreferencesWindow::sectionIdentifiers()) {
            QVERIFY(window->selectSection(section));
            QWidget* page = window->sectionPage(section);
            QTRY_VERIFY(page->isVisible());
            const QWidget* viewport = page->parentWidget();
            const auto sideways = [page, viewport] { return page->width() > viewport->width(); };
            QTRY_VERIFY2(!sideways(), qPrintable(QStringLiteral("%1: %2 px in %3 px")
                                                     .arg(section)
                                                     .arg(page->width())
                                                     .arg(viewport->width())));
            const bool laidOut =
                QTest::qWaitFor([page] { return layoutFaults(page).isEmpty(); }, 1000);
            QVERIFY2(laidOut, qPrintable(section + u": " + layoutFaults(page).join(u", ")));
        }
        // The longest label takes more than one line, and a click on its
        // last line still switches it.
        QCheckBox* box = window->supportAccessoryApplicationsSwitch();
        QVERIFY(window->selectSection(QStringLiteral("Advanced")));
        QTRY_VERIFY(box->height() >= 2 * box->fontMetrics().height());
        const bool checked = box->isChecked();
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() / 2, box->height() - 3));
        QCOMPARE(box->isChecked(), !checked);
    }

    // A screen reader switches sections with the toolbar buttons' toggle
    // action, which checks a button without triggering it.
    void sectionButtonsSwitchSectionsWhenToggled()
    {
        AppTestEnvironment environment;
        QXMainPreferencesWindow* window = show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QSignalSpy chosen(window, &QXMainPreferencesWindow::sectionChosen);
        QCOMPARE(window->selectedSection(), QStringLiteral("Menu"));
        const QString advanced = QStringLiteral("Advanced");
        auto* button = qobject_cast<QAbstractButton*>(
            window->findChild<QToolBar*>()->widgetForAction(window->sectionAction(advanced)));
        QVERIFY(button != nullptr);
        button->toggle();
        QCOMPARE(window->selectedSection(), advanced);
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(chosen.constFirst().constFirst().toString(), advanced);
        // Selected by the program: the button follows, and no choice is told.
        QVERIFY(window->selectSection(QStringLiteral("Updates")));
        QVERIFY(window->sectionAction(QStringLiteral("Updates"))->isChecked());
        QVERIFY(!button->isChecked());
        QCOMPARE(chosen.count(), 1);
    }

    // The window grows with its list fields no further than the screen, in
    // large type too; moving the keyboard focus to a control out of sight
    // scrolls to it.
    void windowStaysOnTheScreenAndScrollsToTheFocus()
    {
        AppTestEnvironment environment;
        environment.settings().setBool(true, DisableSettingsWindowAnimation);
        const QFont font = QApplication::font();
        const auto restore = qScopeGuard([&font] { QApplication::setFont(font); });
        QFont large = font;
        large.setPointSizeF(font.pointSizeF() * 1.6);
        QApplication::setFont(large);
        QXMainPreferencesWindow* window = show(QStringLiteral("Advanced"));
        QVERIFY(QTest::qWaitForWindowExposed(window));
        window->blacklistField()->setPlainText(QStringLiteral("x\n").repeated(40));
        window->fastTrackField()->setPlainText(QStringLiteral("y\n").repeated(40));
        QCOMPARE(window->fastTrackField()->height(), QXListTextField::maximumFieldHeight);
        const QRect available = window->screen()->availableGeometry();
        QTRY_COMPARE(window->height(), window->fittingHeight());
        QVERIFY2(window->frameGeometry().height() <= available.height(),
                 qPrintable(QStringLiteral("%1 > %2")
                                .arg(window->frameGeometry().height())
                                .arg(available.height())));

        QXListTextField* last = window->fastTrackField();
        const QWidget* viewport = window->sectionPage(QStringLiteral("Advanced"))->parentWidget();
        // Where the text cursor is, at the field's top.
        const auto inView = [last, viewport] {
            const int top = last->mapTo(viewport, QPoint()).y();
            return top >= 0 && top + last->fontMetrics().height() <= viewport->height();
        };
        window->resize(window->width(), window->height() / 2);
        QTRY_VERIFY(!inView());
        window->blacklistField()->setFocus();
        QTest::keyClick(window->blacklistField(), Qt::Key_Tab);
        QVERIFY(last->hasFocus());
        QTRY_VERIFY(inView());
    }

    void windowHeightFollowsTheSection()
    {
        AppTestEnvironment environment;
        environment.settings().setBool(true, DisableSettingsWindowAnimation);
        QXMainPreferencesWindow* window = show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const int menuHeight = window->height();
        QCOMPARE(menuHeight, window->fittingHeight());

        controller().showPreferencesTab(QStringLiteral("Updates"));
        const int updatesHeight = window->height(); // at once, without animation
        QVERIFY2(updatesHeight < menuHeight,
                 qPrintable(QStringLiteral("%1 %2").arg(updatesHeight).arg(menuHeight)));
        controller().showPreferencesTab(QStringLiteral("Advanced"));
        QVERIFY(window->height() > updatesHeight);
        QCOMPARE(window->height(), window->fittingHeight());

        // With animation the height gets there in steps.
        environment.settings().setBool(false, DisableSettingsWindowAnimation);
        controller().showPreferencesTab(QStringLiteral("Updates"));
        QVERIFY(window->height() > updatesHeight);
        QTRY_COMPARE(window->height(), updatesHeight);
    }

    void recordersShowTheRegisteredHotKeysAndClearTheirOwnKey()
    {
        AppTestEnvironment environment;
        auto* service = new platform::MemoryHotKeyService();
        platform::HotKeyService::setCurrent(std::unique_ptr<platform::HotKeyService>(service));
        platform::UserDefaults& settings = environment.settings();
        settings.setBool(false, FlatUserInterfaceDrawing);
        const QXHotKey frontmost(MenuTrigger, QStringLiteral("^M"), 46,
                                 platform::ModifierFlag::Control);
        const QXHotKey all(MenuTriggerAllApplications, QStringLiteral("^A"), 0,
                           platform::ModifierFlag::Control);
        settings.setObject(frontmost.dictionaryRepresentation(), MenuTrigger);
        settings.setObject(all.dictionaryRepresentation(), MenuTriggerAllApplications);
        controller().applicationWillFinishLaunching();
        controller().applicationDidFinishLaunching();
        QXMainPreferencesWindow* window = controller().preferencesWindow();

        QXHotKeyTextView* frontmostRecorder = window->frontmostApplicationTriggerHotKeyTextView();
        QXHotKeyTextView* allRecorder = window->allApplicationsTriggerHotKeyTextView();
        QVERIFY(frontmostRecorder->hotKey() != nullptr);
        QCOMPARE(frontmostRecorder->hotKey(), controller().hotKeyForIdentifier(MenuTrigger));
        QCOMPARE(allRecorder->hotKey(),
                 controller().hotKeyForIdentifier(MenuTriggerAllApplications));

        allRecorder->deleteHotKey();
        QVERIFY(!settings.hasStoredValue(MenuTriggerAllApplications));
        QVERIFY(settings.hasStoredValue(MenuTrigger));
        QVERIFY(!controller().hotKeyForIdentifier(MenuTriggerAllApplications));

        controller().resetForTesting();
        platform::HotKeyService::setCurrent(nullptr);
    }

    // In a Wayland session of a compositor that binds keys itself, each
    // recorder offers the line to add; the right click is switched off with
    // the reason.
    void waylandDesktopsGetTheLineToAddAndNoRightClick()
    {
        AppTestEnvironment environment;
        const QByteArray sessionType = qgetenv("XDG_SESSION_TYPE");
        qputenv("XDG_SESSION_TYPE", "wayland");
        const auto restore = qScopeGuard([this, &sessionType] {
            qputenv("XDG_SESSION_TYPE", sessionType);
            controller().resetForTesting();
            platform::HotKeyService::setCurrent(nullptr);
        });
        platform::HotKeyService::setCurrent(std::make_unique<platform::DesktopHotKeyService>(
            platform::HotKeyMechanism::ConfigurationLine,
            [](platform::HotKeyMechanism) { return nullptr; }, QStringLiteral("sway")));
        const QXHotKey frontmost(MenuTrigger, QStringLiteral("◆M"), 46,
                                 platform::ModifierFlag::Command);
        environment.settings().setObject(frontmost.dictionaryRepresentation(), MenuTrigger);
        controller().applicationWillFinishLaunching();
        controller().applicationDidFinishLaunching();
        QXMainPreferencesWindow* window = show();

        QLineEdit* line =
            window->configurationLineField(window->frontmostApplicationTriggerHotKeyTextView());
        QCOMPARE(line->text(), QStringLiteral("bindsym Mod4+m exec %1 popup")
                                   .arg(QCoreApplication::applicationFilePath()));
        QVERIFY(line->isVisibleTo(window));
        QVERIFY(!window->configurationLineField(window->allApplicationsTriggerHotKeyTextView())
                     ->isVisibleTo(window));
        QVERIFY(window->hotKeyMechanismView()->text().contains(QLatin1String("configuration")));
        QVERIFY(!window->rightClickTriggerSwitch()->isEnabled());
        QVERIFY(window->rightClickUnavailableView()->isVisibleTo(window));
    }

    // GNOME before the portal: the first hot key asks once whether Trovix may
    // add it to GNOME's keyboard settings; clearing it takes away what was
    // added.
    void gnomeIsAskedOnceAndClearingRemovesTheShortcut()
    {
        AppTestEnvironment environment;
        QStringList desktop;
        class Binder : public platform::DesktopShortcutBinder
        {
        public:
            explicit Binder(QStringList* log) : m_log(log) {}
            platform::HotKeyMechanism mechanism() const override
            {
                return platform::HotKeyMechanism::GnomeSettings;
            }
            void bind(const QList<platform::DesktopShortcut>& shortcuts) override
            {
                for (const platform::DesktopShortcut& shortcut : shortcuts) {
                    m_log->append(QStringLiteral("bind ") + shortcut.name + u' ' +
                                  shortcut.command.join(u' '));
                }
            }
            void remove(const QString& name) override
            {
                m_log->append(QStringLiteral("remove ") + name);
            }

        private:
            QStringList* m_log;
        };
        platform::HotKeyService::setCurrent(std::make_unique<platform::DesktopHotKeyService>(
            platform::HotKeyMechanism::GnomeSettings,
            [&desktop](platform::HotKeyMechanism) { return std::make_unique<Binder>(&desktop); },
            QStringLiteral("GNOME")));
        int questions = 0;
        QXHotKeyPurposes::setQuestionForTesting([&questions] {
            ++questions;
            return true;
        });
        const auto restore = qScopeGuard([this] {
            QXHotKeyPurposes::setQuestionForTesting({});
            controller().resetForTesting();
            platform::HotKeyService::setCurrent(nullptr);
        });
        controller().applicationWillFinishLaunching();

        const auto all = std::make_shared<QXHotKey>(
            MenuTriggerAllApplications, QStringLiteral("◆A"), 0, platform::ModifierFlag::Command);
        QVERIFY(controller().shouldSetHotKey(all, MenuTriggerAllApplications));
        controller().didSetHotKey(all, MenuTriggerAllApplications);
        QCOMPARE(questions, 1);
        QVERIFY(environment.settings().boolForKey(HotKeysInDesktopSettings));
        QTRY_COMPARE(desktop, QStringList{QStringLiteral("bind trovix-all %1 popup --all")
                                              .arg(QCoreApplication::applicationFilePath())});

        QVERIFY(controller().shouldSetHotKey(nullptr, MenuTriggerAllApplications));
        QCOMPARE(desktop.last(), QStringLiteral("remove trovix-all"));
        const auto front = std::make_shared<QXHotKey>(MenuTrigger, QStringLiteral("◆M"), 46,
                                                      platform::ModifierFlag::Command);
        QVERIFY(controller().shouldSetHotKey(front, MenuTrigger));
        QCOMPARE(questions, 1);
    }

    // The section images are drawn in the window's text colour on
    // transparency, and again when the palette changes: they stay visible
    // on a dark desktop.
    void toolbarImagesFollowThePalette()
    {
        AppTestEnvironment environment;
        QXMainPreferencesWindow* window = show();
        QPalette dark = window->palette();
        dark.setColor(QPalette::Window, QColor(0x2a, 0x2a, 0x2e));
        dark.setColor(QPalette::WindowText, QColor(0xee, 0xe8, 0xd5));
        for (const QPalette& palette : {window->palette(), dark}) {
            window->setPalette(palette);
            const QRgb text = palette.color(QPalette::WindowText).rgb();
            for (const QString& section : QXMainPreferencesWindow::sectionIdentifiers()) {
                const QImage image =
                    window->sectionAction(section)->icon().pixmap(QSize(32, 32), 1.0).toImage();
                int opaque = 0;
                int clear = 0;
                for (int y = 0; y < image.height(); ++y) {
                    for (int x = 0; x < image.width(); ++x) {
                        const QColor pixel = image.pixelColor(x, y);
                        // Edge pixels are too faint to carry the exact colour.
                        if (pixel.alpha() == 255) {
                            ++opaque;
                            QCOMPARE(pixel.rgb(), text);
                        } else if (pixel.alpha() == 0) {
                            ++clear;
                        }
                    }
                }
                QVERIFY2(opaque > 0 && clear > 0, qPrintable(section));
            }
        }
    }

    void windowMenuTogglesAnimation()
    {
        AppTestEnvironment environment;
        QXMainPreferencesWindow* window = show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        platform::Menu* menu = window->windowMenu();
        QVERIFY(menu != nullptr);
        platform::MenuItem* item = nullptr;
        for (const auto& candidate : menu->items()) {
            if (candidate->actionName() == QLatin1String("toggleWindowAnimation:")) {
                item = candidate.get();
            }
        }
        QVERIFY(item != nullptr);
        menu->update();
        QCOMPARE(item->state(), platform::MenuItem::State::On);
        QVERIFY(item->performAction());
        QVERIFY(environment.settings().boolForKey(DisableSettingsWindowAnimation));
        menu->update();
        QCOMPARE(item->state(), platform::MenuItem::State::Off);

        // A context click on the toolbar opens that menu.
        QStringList offered;
        QTimer::singleShot(0, this, [&offered] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                for (const QAction* action : popup->actions()) {
                    offered << action->text();
                }
                popup->close();
            }
        });
        QWidget* toolbar = window->findChild<QToolBar*>();
        const QPoint inside(toolbar->width() - 5, toolbar->height() / 2);
        QContextMenuEvent click(QContextMenuEvent::Mouse, inside, toolbar->mapToGlobal(inside));
        QApplication::sendEvent(toolbar, &click);
        QCOMPARE(offered, QStringList{item->title()});
    }

    void windowIsOnAllWorkspacesEachTimeItShows()
    {
        AppTestEnvironment environment;
        QXMainPreferencesWindow* window = show();
        QVERIFY(environment.activation->isOnAllWorkspaces(window));
        window->close();
        QVERIFY(!environment.activation->isOnAllWorkspaces(window));
        controller().showPreferences();
        QVERIFY(environment.activation->isOnAllWorkspaces(window));
    }

    void escapeClosesTheWindowExceptInARecorder()
    {
        AppTestEnvironment environment;
        QXMainPreferencesWindow* window = show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QXHotKeyTextView* recorder = window->frontmostApplicationTriggerHotKeyTextView();
        QTest::mouseClick(recorder, Qt::LeftButton);
        QVERIFY(recorder->hasFocus());
        QTest::keyClick(recorder, Qt::Key_Escape);
        QVERIFY(window->isVisible());
        QVERIFY(!recorder->isRecording());
        // The recorder keeps the focus and its keys.
        if (recorder->hasFocus()) {
            QTest::keyClick(recorder, Qt::Key_Escape);
            QVERIFY(window->isVisible());
        }
        window->stealthModeSwitch()->setFocus();
        QTest::keyClick(window->stealthModeSwitch(), Qt::Key_Escape);
        QVERIFY(!window->isVisible());

        // Ctrl+. closes from a list field too, without typing a period.
        controller().showPreferencesTab(QStringLiteral("Advanced"));
        QVERIFY(QTest::qWaitForWindowExposed(window));
        window->blacklistField()->setFocus();
        QTest::keyClick(window->blacklistField(), Qt::Key_Period, Qt::ControlModifier);
        QVERIFY(!window->isVisible());
        QCOMPARE(window->blacklistField()->toPlainText(), QString());
    }
};

TROVIX_TEST_MAIN_WITH(PreferencesWindowTest, QXHotKeyHandlerApplication)

#include "preferences_window_test.moc"
