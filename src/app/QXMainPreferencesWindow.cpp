#include "app/QXMainPreferencesWindow.h"

#include "app/QXListTextField.h"
#include "app/QXPreferencesToolbarImage.h"
#include "app/QXSearchHistoryButton.h"
#include "app/QXWrappingCheckBox.h"
#include "hotkeys/QXHotKeyClearButton.h"
#include "hotkeys/QXHotKeyTextView.h"
#include "platform/application/Activation.h"
#include "platform/menus/qt/MenuPresenter.h"
#include "services/QXLoginItemSwitch.h"
#include "services/QXSparkleWrapper.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QStackedWidget>
#include <QToolBar>
#include <QVBoxLayout>
#include <QVariantAnimation>
#include <algorithm>

namespace {

QString sectionTitle(const QString& identifier)
{
    if (identifier == QLatin1String("Menu")) {
        return QXMainPreferencesWindow::tr("Menu");
    }
    if (identifier == QLatin1String("Advanced")) {
        return QXMainPreferencesWindow::tr("Advanced");
    }
    return QXMainPreferencesWindow::tr("Updates");
}

// Space left below the last control of a page.
constexpr int bottomMargin = 20;
constexpr int windowWidth = 600;
constexpr int animationMilliseconds = 150;

// A short explanation under a control, in a smaller, dimmer type.
QLabel* helpLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setForegroundRole(QPalette::PlaceholderText);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 0.9);
    label->setFont(font);
    return label;
}

// A control with its explanation below it, as one form field.
QWidget* withHelp(QWidget* control, const QString& help, QWidget* parent)
{
    auto* box = new QWidget(parent);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(control);
    layout->addWidget(helpLabel(help, box));
    return box;
}

QFormLayout* createForm(QWidget* page)
{
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(24, 18, 24, bottomMargin);
    auto* form = new QFormLayout();
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    // Labels beside their fields; above them in a narrow window (see
    // fitRowsToWidth).
    form->setRowWrapPolicy(QFormLayout::DontWrapRows);
    form->setHorizontalSpacing(12);
    form->setVerticalSpacing(12);
    pageLayout->addLayout(form);
    pageLayout->addStretch();
    return form;
}

QComboBox* createSelector(const QList<std::pair<QString, int>>& items, QWidget* parent)
{
    auto* selector = new QComboBox(parent);
    for (const auto& [title, tag] : items) {
        selector->addItem(title, tag);
    }
    selector->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return selector;
}

// The page inside a frameless scroll area: a window made smaller than the
// page (a tiling compositor gives it what it likes) scrolls it instead of
// squeezing its controls onto each other. The area takes no focus of its
// own; moving the focus to a control scrolls it into view.
QScrollArea* scrolling(QWidget* page, const QString& title)
{
    auto* area = new QScrollArea(page->parentWidget());
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setFocusPolicy(Qt::NoFocus);
    area->setAccessibleName(title);
    area->setWidget(page);
    return area;
}

// The form that lays out a page (createForm).
QFormLayout* formOf(const QWidget* page)
{
    return qobject_cast<QFormLayout*>(page->layout()->itemAt(0)->layout());
}

// The width the form needs with each label beside its field.
int sideBySideWidth(const QFormLayout& form)
{
    int labels = 0;
    int fields = 0;
    for (int row = 0; row < form.rowCount(); ++row) {
        if (const QLayoutItem* label = form.itemAt(row, QFormLayout::LabelRole)) {
            labels = std::max(labels, label->minimumSize().width());
        }
        if (const QLayoutItem* field = form.itemAt(row, QFormLayout::FieldRole)) {
            fields = std::max(fields, field->minimumSize().width());
        }
    }
    return labels + form.horizontalSpacing() + fields;
}

// Marks a row of two controls side by side that stacks them in a narrow
// window (see QXMainPreferencesWindow::fitRowsToWidth).
const char* const stacksWhenNarrow = "stacksWhenNarrow";

QHBoxLayout* stackingRow(QWidget* row)
{
    row->setProperty(stacksWhenNarrow, true);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    return layout;
}

// A pop-up button that keeps its natural width inside a growing form field.
QWidget* leftAligned(QWidget* control, QWidget* parent)
{
    auto* box = new QWidget(parent);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(control);
    layout->addStretch();
    return box;
}

} // namespace

QXMainPreferencesWindow::QXMainPreferencesWindow(QWidget* parent) : QXPreferencesWindow(parent)
{
    setObjectName(QStringLiteral("QXMainPreferencesWindow"));
    m_toolbar = new QToolBar(this);
    m_toolbar->setObjectName(QStringLiteral("Preferences (Independent) 1"));
    m_toolbar->setMovable(false);
    m_toolbar->setFloatable(false);
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_toolbar->setIconSize(
        QSize(QXPreferencesToolbarImage::pointSize, QXPreferencesToolbarImage::pointSize));
    m_toolbar->toggleViewAction()->setEnabled(false);
    addToolBar(Qt::TopToolBarArea, m_toolbar);
    m_toolbar->installEventFilter(this);

    m_pages = new QStackedWidget(this);
    setCentralWidget(m_pages);

    auto* group = new QActionGroup(this);
    for (const QString& identifier : sectionIdentifiers()) {
        QAction* action = m_toolbar->addAction(sectionTitle(identifier));
        action->setCheckable(true);
        action->setData(identifier);
        group->addAction(action);
        // Checked by a click, or by a screen reader's toggle action, which
        // checks the button without triggering it. Selecting a section
        // checks its button too, and is not a choice of the user's.
        connect(action, &QAction::toggled, this, [this, identifier](bool checked) {
            if (checked && selectedSection() != identifier) {
                selectSection(identifier);
                Q_EMIT sectionChosen(identifier);
            }
        });
        m_sectionActions.insert(identifier, action);

        QWidget* page = identifier == QLatin1String("Menu")       ? createMenuPage()
                        : identifier == QLatin1String("Advanced") ? createAdvancedPage()
                                                                  : createUpdatesPage();
        page->setObjectName(identifier);
        QScrollArea* area = scrolling(page, sectionTitle(identifier));
        area->installEventFilter(this);
        m_pages->addWidget(area);
        m_sectionPages.insert(identifier, page);
    }

    updateSectionImages();

    m_heightAnimation = new QVariantAnimation(this);
    m_heightAnimation->setDuration(animationMilliseconds);
    m_heightAnimation->setEasingCurve(QEasingCurve::InOutQuad);
    connect(m_heightAnimation, &QVariantAnimation::valueChanged, this,
            [this](const QVariant& value) { resize(width(), value.toInt()); });

    selectSection(QStringLiteral("Menu"));
    resize(windowWidth, fittingHeight());
}

QWidget* QXMainPreferencesWindow::createMenuPage()
{
    auto* page = new QWidget(m_pages);
    QFormLayout* form = createForm(page);

    // Right click.
    m_rightClickTriggerSwitch =
        new QXWrappingCheckBox(tr("Open the menu with a right click while holding"));
    m_rightClickTriggerModifierSelector =
        createSelector({{tr("Super"), 0}, {tr("Alt"), 1}, {tr("Control"), 2}, {tr("Fn"), 3}}, page);
    auto* rightClickRow = new QWidget(page);
    QHBoxLayout* rightClickLayout = stackingRow(rightClickRow);
    rightClickLayout->addWidget(m_rightClickTriggerSwitch);
    rightClickLayout->addWidget(m_rightClickTriggerModifierSelector, 0, Qt::AlignLeft);
    rightClickLayout->addStretch();
    QWidget* rightClickBox = withHelp(
        rightClickRow, tr("Hold Shift as well to get the menus of all applications."), page);
    // Shown instead of a working switch where the desktop keeps clicks to itself.
    m_rightClickUnavailableView =
        helpLabel(tr("Not available in a Wayland session: only the compositor sees clicks in "
                     "the windows of other applications. Use a hot key."),
                  rightClickBox);
    m_rightClickUnavailableView->setObjectName(QStringLiteral("rightClickUnavailableView"));
    m_rightClickUnavailableView->setVisible(false);
    rightClickBox->layout()->addWidget(m_rightClickUnavailableView);
    form->addRow(tr("Right click:"), rightClickBox);

    // Hot keys: a recorder with its clear button per menu.
    auto* hotKeys = new QWidget(page);
    auto* hotKeyForm = new QFormLayout(hotKeys);
    hotKeyForm->setContentsMargins(0, 0, 0, 0);
    hotKeyForm->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    hotKeyForm->setHorizontalSpacing(8);
    // The form's labels name the rows; a screen reader reads each control
    // by the name given here.
    auto addRecorder = [this, hotKeys, hotKeyForm](const QString& title, const QString& name) {
        auto* recorder = new QXHotKeyTextView(hotKeys);
        recorder->setAccessibleName(name);
        // Always at their natural height, also when space is short.
        recorder->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        auto* clear = new QXHotKeyClearButton(hotKeys);
        clear->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        clear->setTarget(recorder);
        clear->setAccessibleName(tr("Clear %1").arg(name));
        // Says, beside the field, why the hot key it shows does not work.
        auto* problem = new QLabel(hotKeys);
        problem->setWordWrap(true);
        problem->setVisible(false);
        QObject::connect(recorder, &QXHotKeyTextView::registrationProblemChanged, problem,
                         [problem](const QString& text) {
                             problem->setText(text);
                             problem->setVisible(!text.isEmpty());
                         });
        auto* row = new QWidget(hotKeys);
        auto* rowLayout = new QHBoxLayout(row);
        rowLayout->setContentsMargins(0, 0, 0, 0);
        rowLayout->setSpacing(4);
        rowLayout->addWidget(recorder);
        rowLayout->addWidget(clear);
        rowLayout->addWidget(problem);
        rowLayout->addStretch();
        hotKeyForm->addRow(title, row);
        // Where the user binds the key by hand: the line to add, and a
        // button that copies it.
        auto* lineRow = new QWidget(hotKeys);
        auto* lineLayout = new QHBoxLayout(lineRow);
        lineLayout->setContentsMargins(0, 0, 0, 0);
        lineLayout->setSpacing(4);
        auto* line = new QLineEdit(lineRow);
        line->setReadOnly(true);
        line->setAccessibleName(tr("Line to add: %1").arg(name));
        auto* copy = new QPushButton(tr("Copy"), lineRow);
        copy->setAccessibleName(tr("Copy the line: %1").arg(name));
        QObject::connect(copy, &QPushButton::clicked, line,
                         [line] { QGuiApplication::clipboard()->setText(line->text()); });
        lineLayout->addWidget(line, 1);
        lineLayout->addWidget(copy);
        lineRow->setVisible(false);
        hotKeyForm->addRow(QString(), lineRow);
        m_configurationLineFields.insert(recorder, line);
        return recorder;
    };
    m_frontmostApplicationTriggerHotKeyTextView =
        addRecorder(tr("Active application:"), tr("Hot key for the active application"));
    m_allApplicationsTriggerHotKeyTextView =
        addRecorder(tr("All applications:"), tr("Hot key for all applications"));
    QWidget* hotKeyBox = withHelp(hotKeys,
                                  tr("Click a field, then press the keys. The keys "
                                     "open the menu from any application."),
                                  page);
    // Says how the desktop brings the keys to Trovix.
    m_hotKeyMechanismView = helpLabel(QString(), hotKeyBox);
    m_hotKeyMechanismView->setObjectName(QStringLiteral("hotKeyMechanismView"));
    m_hotKeyMechanismView->setAccessibleName(tr("How the hot keys are set"));
    hotKeyBox->layout()->addWidget(m_hotKeyMechanismView);
    form->addRow(tr("Hot keys:"), hotKeyBox);

    // Launch and presence on the desktop.
    m_stealthModeSwitch = new QXWrappingCheckBox(tr("Open this window at launch"), page);
    m_stealthModeSwitch->setObjectName(QStringLiteral("Stealth Mode"));
    form->addRow(tr("At launch:"),
                 withHelp(m_stealthModeSwitch,
                          tr("When off, the window still opens if no way to the menu is set up."),
                          page));
    // Reads and switches the state itself, refreshing when the window comes back.
    m_loginItemSwitch = new QXLoginItemSwitch(page);
    form->addRow(tr("At login:"), m_loginItemSwitch);

    m_applicationModeSelector = createSelector(
        {{tr("Window in the taskbar"), 0}, {tr("Icon in the tray"), 1}, {tr("No icon"), 2}}, page);
    m_facelessApplicationModeExplanationView =
        helpLabel(tr("Trovix now runs without an icon. Its own menu is at the end of every "
                     "pop-up menu, and starting Trovix again opens this window."),
                  page);
    m_facelessApplicationModeExplanationView->setObjectName(
        QStringLiteral("facelessApplicationModeExplanationView"));
    m_facelessApplicationModeExplanationView->setVisible(false);
    auto* modeBox = new QWidget(page);
    auto* modeLayout = new QVBoxLayout(modeBox);
    modeLayout->setContentsMargins(0, 0, 0, 0);
    modeLayout->setSpacing(4);
    modeLayout->addWidget(leftAligned(m_applicationModeSelector, modeBox));
    modeLayout->addWidget(m_facelessApplicationModeExplanationView);
    form->addRow(tr("Show Trovix as:"), modeBox);
    return page;
}

QWidget* QXMainPreferencesWindow::createAdvancedPage()
{
    auto* page = new QWidget(m_pages);
    QFormLayout* form = createForm(page);

    // Each check box is named after the setting it writes.
    m_keyEquivalentSwitch = new QXWrappingCheckBox(tr("Show keyboard shortcuts"), page);
    m_keyEquivalentSwitch->setObjectName(QStringLiteral("Show Key Equivalents"));
    m_promoteAlternatesSwitch =
        new QXWrappingCheckBox(tr("Show alternate items as ordinary items"), page);
    m_promoteAlternatesSwitch->setObjectName(QStringLiteral("Promote Alternates"));
    m_supportAccessoryApplicationsSwitch =
        new QXWrappingCheckBox(tr("Follow the active application, also without a menu bar"), page);
    m_supportAccessoryApplicationsSwitch->setObjectName(
        QStringLiteral("Support Accessory Applications"));
    m_moveAppleMenuToEndSwitch = new QXWrappingCheckBox(tr("Put the window menu at the end"), page);
    m_moveAppleMenuToEndSwitch->setObjectName(QStringLiteral("Move Apple Menu To End"));
    m_skipDisabledMenuItemsSwitch = new QXWrappingCheckBox(tr("Leave out disabled items"), page);
    m_skipDisabledMenuItemsSwitch->setObjectName(QStringLiteral("Skip Disabled Menu Items"));
    auto* switches = new QWidget(page);
    auto* switchLayout = new QVBoxLayout(switches);
    switchLayout->setContentsMargins(0, 0, 0, 0);
    switchLayout->setSpacing(6);
    for (QCheckBox* box :
         {m_keyEquivalentSwitch, m_promoteAlternatesSwitch, m_supportAccessoryApplicationsSwitch,
          m_moveAppleMenuToEndSwitch, m_skipDisabledMenuItemsSwitch}) {
        switchLayout->addWidget(box);
    }
    form->addRow(tr("Pop-up menu:"), switches);

    m_searchMenusWhileTypingSwitch = new QXWrappingCheckBox(tr("Search menus while typing"), page);
    m_searchMenusWhileTypingSwitch->setObjectName(QStringLiteral("Search Menus While Typing"));
    m_searchMenusWhileTypingSwitch->setAccessibleName(m_searchMenusWhileTypingSwitch->text());
    m_clearSearchHistoryButton = new QXSearchHistoryButton(page);
    auto* search = new QWidget(page);
    QHBoxLayout* searchLayout = stackingRow(search);
    searchLayout->addWidget(m_searchMenusWhileTypingSwitch);
    searchLayout->addStretch();
    searchLayout->addWidget(m_clearSearchHistoryButton, 0, Qt::AlignLeft);
    form->addRow(tr("Search:"),
                 withHelp(search,
                          tr("Type in an open menu to find any of its commands. The commands "
                             "you choose from the results rank higher next time."),
                          page));

    m_appearanceSelector =
        createSelector({{tr("Follow the system"), 0}, {tr("Light"), 1}, {tr("Dark"), 2}}, page);
    form->addRow(tr("Appearance:"), leftAligned(m_appearanceSelector, page));
    // The sizes themselves are added when the controls are filled.
    m_fontSizeSelector = createSelector({{tr("Standard"), 0}}, page);
    m_fontSizeSelector->setMaxVisibleItems(12);
    form->addRow(tr("Font size:"), leftAligned(m_fontSizeSelector, page));

    m_blacklistField = new QXListTextField(page);
    m_blacklistField->setObjectName(QStringLiteral("blacklistField"));
    m_blacklistField->setAccessibleName(tr("Leave out"));
    form->addRow(tr("Leave out:"),
                 withHelp(m_blacklistField,
                          tr("Menus and applications to hide, one per line or separated by "
                             "commas."),
                          page));
    m_fastTrackField = new QXListTextField(page);
    m_fastTrackField->setObjectName(QStringLiteral("fastTrackField"));
    m_fastTrackField->setAccessibleName(tr("Load at once"));
    form->addRow(tr("Load at once:"),
                 withHelp(m_fastTrackField,
                          tr("Menus to read in full before the menu opens, as \"Application > "
                             "Menu\", one per line. An application alone loads all its menus."),
                          page));
    return page;
}

QWidget* QXMainPreferencesWindow::createUpdatesPage()
{
    auto* page = new QWidget(m_pages);
    QFormLayout* form = createForm(page);
    QXSparkleWrapper& wrapper = QXSparkleWrapper::sharedSparkleWrapper();

    auto* automatic = new QXWrappingCheckBox(tr("Check Automatically"), page);
    automatic->setObjectName(QStringLiteral("autoUpdateCheckingSwitch"));
    automatic->setAccessibleName(automatic->text());
    auto* checkNow = new QPushButton(tr("Check Now..."), page);
    checkNow->setObjectName(QStringLiteral("checkForUpdatesButton"));
    checkNow->setAccessibleName(checkNow->text());
    auto* checks = new QWidget(page);
    QHBoxLayout* checksLayout = stackingRow(checks);
    checksLayout->addWidget(automatic);
    checksLayout->addStretch();
    checksLayout->addWidget(checkNow, 0, Qt::AlignLeft);
    form->addRow(tr("Updates:"),
                 withHelp(checks,
                          tr("Trovix tells you when a new version is out; install it the way "
                             "you installed this one."),
                          page));

    auto* status = new QLabel(page);
    status->setObjectName(QStringLiteral("statusTextField"));
    status->setWordWrap(true);
    auto* statusDate = new QLabel(page);
    statusDate->setObjectName(QStringLiteral("statusDateTextField"));
    statusDate->setWordWrap(true);
    auto* statusBox = new QWidget(page);
    auto* statusLayout = new QVBoxLayout(statusBox);
    statusLayout->setContentsMargins(0, 0, 0, 0);
    statusLayout->setSpacing(2);
    statusLayout->addWidget(status);
    statusLayout->addWidget(statusDate);
    form->addRow(tr("Last result:"), statusBox);

    auto* productPage = new QPushButton(tr("Visit Product Page"), page);
    productPage->setObjectName(QStringLiteral("productPageButton"));
    productPage->setAccessibleName(productPage->text());
    productPage->setToolTip(QXSparkleWrapper::productPageAddress());
    form->addRow(QString(), leftAligned(productPage, page));

    connect(automatic, &QCheckBox::clicked, &wrapper,
            [automatic, &wrapper] { wrapper.toggleAutomaticChecking(automatic); });
    connect(checkNow, &QPushButton::clicked, &wrapper,
            [checkNow, &wrapper] { wrapper.checkForUpdates(checkNow); });
    connect(productPage, &QPushButton::clicked, &wrapper,
            [productPage, &wrapper] { wrapper.visitProductPage(productPage); });
    wrapper.setAutoUpdateCheckingSwitch(automatic);
    wrapper.setStatusTextField(status);
    wrapper.setStatusDateTextField(statusDate);
    wrapper.updateControls();
    return page;
}

QXMainPreferencesWindow::~QXMainPreferencesWindow() = default;

void QXMainPreferencesWindow::updateSectionImages()
{
    const QPalette palette = m_toolbar->palette();
    for (auto it = m_sectionActions.cbegin(); it != m_sectionActions.cend(); ++it) {
        it.value()->setIcon(QXPreferencesToolbarImage::icon(it.key(), palette, devicePixelRatio()));
    }
}

bool QXMainPreferencesWindow::eventFilter(QObject* watched, QEvent* event)
{
    // The images are template images: drawn again in the colours of the
    // toolbar's new palette (a switch between light and dark themes).
    if (watched == m_toolbar &&
        (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)) {
        updateSectionImages();
    }
    if (event->type() == QEvent::Resize) {
        if (const auto* area = qobject_cast<const QScrollArea*>(watched)) {
            fitRowsToWidth(*area);
        }
    }
    return QXPreferencesWindow::eventFilter(watched, event);
}

void QXMainPreferencesWindow::showEvent(QShowEvent* event)
{
    // The window follows the user from workspace to workspace. Asked before
    // every showing, since the desktop forgets it when the window is hidden.
    if (!event->spontaneous()) {
        platform::Activation::current().setWindowOnAllWorkspaces(this);
        updateSectionImages();
    }
    QXPreferencesWindow::showEvent(event);
}

void QXMainPreferencesWindow::setWindowMenu(platform::Menu* menu)
{
    m_windowMenuPresenter.reset();
    if (menu != nullptr) {
        m_windowMenuPresenter = std::make_unique<platform::MenuPresenter>(*menu);
    }
}

platform::Menu* QXMainPreferencesWindow::windowMenu() const
{
    return m_windowMenuPresenter ? &m_windowMenuPresenter->model() : nullptr;
}

void QXMainPreferencesWindow::contextMenuEvent(QContextMenuEvent* event)
{
    // Controls with menus of their own (the list fields) never pass their
    // events on; a click anywhere else, the toolbar included, opens the
    // window's menu.
    if (m_windowMenuPresenter) {
        event->accept();
        m_windowMenuPresenter->popUp(event->globalPos());
        return;
    }
    event->ignore();
}

QAction* QXMainPreferencesWindow::sectionAction(const QString& identifier) const
{
    return m_sectionActions.value(identifier);
}

QStringList QXMainPreferencesWindow::sectionIdentifiers()
{
    return {QStringLiteral("Menu"), QStringLiteral("Advanced"), QStringLiteral("Updates")};
}

QLineEdit* QXMainPreferencesWindow::configurationLineField(const QXHotKeyTextView* recorder) const
{
    return m_configurationLineFields.value(recorder);
}

void QXMainPreferencesWindow::setConfigurationLine(const QXHotKeyTextView* recorder,
                                                   const QString& line)
{
    if (QLineEdit* field = configurationLineField(recorder)) {
        field->setText(line);
        field->parentWidget()->setVisible(!line.isEmpty());
    }
}

void QXMainPreferencesWindow::setRightClickUnavailable()
{
    m_rightClickTriggerSwitch->setEnabled(false);
    m_rightClickTriggerModifierSelector->setEnabled(false);
    m_rightClickTriggerSwitch->setAccessibleDescription(m_rightClickUnavailableView->text());
    m_rightClickUnavailableView->setVisible(true);
}

bool QXMainPreferencesWindow::selectSection(const QString& identifier)
{
    QWidget* page = m_sectionPages.value(identifier);
    if (page == nullptr) {
        return false;
    }
    // Only the shown page counts towards the window's size.
    for (QWidget* other : std::as_const(m_sectionPages)) {
        const QSizePolicy::Policy policy =
            other == page ? QSizePolicy::Preferred : QSizePolicy::Ignored;
        scrollAreaOf(other)->setSizePolicy(policy, policy);
    }
    m_pages->setCurrentWidget(scrollAreaOf(page));
    m_sectionActions.value(identifier)->setChecked(true);
    return true;
}

QString QXMainPreferencesWindow::selectedSection() const
{
    const QWidget* page = selectedPage();
    return page != nullptr ? page->objectName() : QString();
}

QWidget* QXMainPreferencesWindow::selectedPage() const
{
    const auto* area = qobject_cast<const QScrollArea*>(m_pages->currentWidget());
    return area != nullptr ? area->widget() : nullptr;
}

QScrollArea* QXMainPreferencesWindow::scrollAreaOf(const QWidget* page)
{
    // The page's parent is the area's viewport.
    return qobject_cast<QScrollArea*>(page->parentWidget()->parentWidget());
}

QWidget* QXMainPreferencesWindow::sectionPage(const QString& identifier) const
{
    return m_sectionPages.value(identifier);
}

int QXMainPreferencesWindow::fittingHeight() const
{
    const QWidget* page = selectedPage();
    int pageHeight = page->sizeHint().height();
    if (page->layout() != nullptr && page->layout()->hasHeightForWidth()) {
        // Wrapped help texts need the real width to give their height; the
        // width beside a vertical scroll bar, since the scroll area keeps one
        // that showed for a moment unless the page fits at that width too.
        const int pageWidth = (m_pages->width() > 0 && isVisible() ? m_pages->width() : width()) -
                              scrollAreaOf(page)->verticalScrollBar()->sizeHint().width();
        pageHeight = page->layout()->totalHeightForWidth(pageWidth);
    }
    // What the window shows besides the page, as it is laid out; before
    // that, the heights the toolbar and the menu bar ask for.
    int chrome = height() - m_pages->height();
    if (!isVisible() || m_pages->height() <= 0) {
        chrome = m_toolbar->sizeHint().height();
        if (const QWidget* bar = menuWidget(); bar != nullptr && !bar->isHidden()) {
            chrome += bar->sizeHint().height();
        }
    }
    // Never taller than the screen: the page scrolls instead. The frame's
    // title bar and borders are known once the window has been shown.
    if (const QScreen* screen = this->screen()) {
        const int frame = frameGeometry().height() - height();
        return std::min(chrome + pageHeight, screen->availableGeometry().height() - frame);
    }
    return chrome + pageHeight;
}

void QXMainPreferencesWindow::fitHeightToSelectedSection(bool animate)
{
    // While the window is hidden, showing or hiding a control leaves the
    // cached sizes of the layouts around it stale: measure afresh.
    QWidget* page = selectedPage();
    for (QWidget* child : page->findChildren<QWidget*>()) {
        child->updateGeometry();
    }
    for (QLayout* layout : page->findChildren<QLayout*>()) {
        layout->invalidate();
    }
    const int target = fittingHeight();
    m_heightAnimation->stop();
    if (std::abs(target - height()) < 1) {
        return;
    }
    if (!animate || !isVisible()) {
        resize(width(), target);
        return;
    }
    m_heightAnimation->setStartValue(height());
    m_heightAnimation->setEndValue(target);
    m_heightAnimation->start();
}

void QXMainPreferencesWindow::fitRowsToWidth(const QScrollArea& area)
{
    const QWidget* page = area.widget();
    QFormLayout* form = formOf(page);
    // Measured while the page is laid out side by side: stacked, its
    // controls need less.
    const bool sideBySide = form->rowWrapPolicy() == QFormLayout::DontWrapRows;
    if (sideBySide || !m_sideBySideWidths.contains(page)) {
        m_sideBySideWidths.insert(page, sideBySideWidth(*form));
    }
    const QMargins margins = page->layout()->contentsMargins();
    const int available = area.width() - area.verticalScrollBar()->sizeHint().width() -
                          margins.left() - margins.right();
    const bool narrow = available < m_sideBySideWidths.value(page);
    if (narrow == sideBySide) {
        form->setRowWrapPolicy(narrow ? QFormLayout::WrapAllRows : QFormLayout::DontWrapRows);
        for (QWidget* row : page->findChildren<QWidget*>()) {
            auto* layout = qobject_cast<QBoxLayout*>(row->layout());
            if (layout != nullptr && row->property(stacksWhenNarrow).toBool()) {
                layout->setDirection(narrow ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight);
            }
        }
    }
}

void QXMainPreferencesWindow::selectItemWithTag(QComboBox* selector, qint64 tag)
{
    const int index = selector->findData(QVariant::fromValue(tag));
    selector->setCurrentIndex(index >= 0 ? index : 0);
}

qint64 QXMainPreferencesWindow::selectedTag(const QComboBox* selector)
{
    return selector->currentData().toLongLong();
}
