#include "help/QXBrowserWindowController.h"

#include "foundation/QXLocalized.h"
#include "help/QXBrowserWindow.h"
#include "help/QXBrowserWindowSearchContainer.h"
#include "platform/application/Activation.h"
#include "platform/bundle/Bundle.h"
#include "platform/defaults/UserDefaults.h"
#include "platform/log/SystemLog.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCompleter>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QStringListModel>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

const QString QXBrowserWindowController::NavigateItem = QStringLiteral("Navigate");
const QString QXBrowserWindowController::TitleItem = QStringLiteral("Title");
const QString QXBrowserWindowController::SearchItem = QStringLiteral("Search");
const QString QXBrowserWindowController::SpaceItem = QStringLiteral("Space");
const QString QXBrowserWindowController::FlexibleSpaceItem = QStringLiteral("FlexibleSpace");

namespace {

// A gap of this many pixels or less between a screen edge and its available
// area means there is no panel on that side.
constexpr int DockDetectionGap = 10;

// Pixels of window border assumed around a window's content besides its title bar.
constexpr int FrameBorderAllowance = 8;

const QString VisibleFrameExtraDockSpacingKey = QStringLiteral("QXVisibleFrameExtraDockSpacing");

// The height a desktop's window frame adds above a window's content: unknown
// before the window is mapped, so the style's title bar height and a few
// pixels of border stand for it.
int titleBarAllowance()
{
    return QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight) + FrameBorderAllowance;
}

QString& sharedFindString()
{
    static QString text;
    return text;
}

void beep()
{
    platform::Activation::current().beep();
}

} // namespace

QXBrowserWindowController::QXBrowserWindowController(QObject* parent) : QObject(parent) {}

QXBrowserWindowController::~QXBrowserWindowController()
{
    m_webView.reset();
    delete m_window.data();
}

QXBrowserWindow* QXBrowserWindowController::window() const
{
    return m_window;
}

QLineEdit* QXBrowserWindowController::searchField() const
{
    return m_searchContainer ? m_searchContainer->searchField() : nullptr;
}

// Populating -----------------------------------------------------------------

bool QXBrowserWindowController::populateWithHTMLContent(const QString& html, const QUrl& url,
                                                        const QString& windowTitle)
{
    if (html.isNull() && url.isEmpty()) {
        return false;
    }
    if (m_webView && m_window) {
        m_webView->stopLoading();
    } else {
        createWindow(windowTitle);
    }
    enableSpinner(true);
    m_webView->setResourceFolders(resourceFolders());
    if (!html.isNull()) {
        m_webView->loadHtml(html, url);
        return true;
    }
    return m_webView->load(url);
}

bool QXBrowserWindowController::showHTMLContent(const QString& html, const QUrl& url,
                                                const QString& windowTitle)
{
    if (!populateWithHTMLContent(html, url, windowTitle) || !m_window) {
        return false;
    }
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    platform::Activation::current().activateIgnoringOtherApps();
    return true;
}

void QXBrowserWindowController::createWindow(const QString& windowTitle)
{
    QScreen* screen = preferredScreen();
    if (!screen) {
        screen = QGuiApplication::primaryScreen();
    }
    QSize minimum = windowMinimumContentSize();
    QSize size = windowDefaultContentSizeForScreen(screen);
    if (screen) {
        // The content area of a window whose frame fits the usable area.
        const QSize usable = visibleFrameWithExtraDockSpacing(screen).size().shrunkBy(
            {0, titleBarAllowance(), 0, 0});
        size = size.boundedTo(usable);
        minimum = minimum.boundedTo(usable);
    }

    m_window = new QXBrowserWindow(*this);
    m_window->setAttribute(Qt::WA_DeleteOnClose, false);
    m_window->setWindowTitle(windowTitle);
    m_window->setAccessibleName(windowTitle);
    m_window->setMinimumSize(minimum);
    m_window->resize(size);
    if (screen) {
        m_window->setScreen(screen);
    }

    auto* central = new QWidget(m_window);
    m_contentLayout = new QVBoxLayout(central);
    m_contentLayout->setContentsMargins(0, 0, 0, 0);
    m_contentLayout->setSpacing(0);
    m_topArea = new QVBoxLayout;
    m_topArea->setSpacing(0);
    m_contentLayout->addLayout(m_topArea);
    m_window->setCentralWidget(central);

    if (!m_webView) {
        m_webView = platform::WebView::create(central);
        m_webView->setNavigationPolicy(
            [this](const QUrl& target) { return decidePolicyForNavigation(target); });
        m_webView->setContextMenuHook([this](QMenu& menu) { webViewContextMenu(menu); });
        connect(m_webView.get(), &platform::WebView::loadFinished, this,
                &QXBrowserWindowController::webViewDidFinishLoad);
        connect(m_webView.get(), &platform::WebView::titleChanged, this,
                &QXBrowserWindowController::webViewDidChangeTitle);
        connect(m_webView.get(), &platform::WebView::historyChanged, this,
                &QXBrowserWindowController::updateNavigator);
    } else {
        m_webView->widget()->setParent(central);
    }
    m_contentLayout->addWidget(m_webView->widget(), 1);

    // Keyboard commands of the window.
    const auto addShortcut = [this](const QList<QKeySequence>& keys, auto slot) {
        auto* action = new QAction(m_window);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, slot);
        m_window->addAction(action);
        return action;
    };
    addShortcut({QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)},
                &QXBrowserWindowController::zoomIn);
    addShortcut({QKeySequence::ZoomOut}, &QXBrowserWindowController::zoomOut);
    addShortcut({QKeySequence::Find},
                [this] { performTextFinderActionWithTag(ShowFindInterface); });
    addShortcut({QKeySequence::FindNext}, [this] { performTextFinderActionWithTag(NextMatch); });
    addShortcut({QKeySequence::FindPrevious},
                [this] { performTextFinderActionWithTag(PreviousMatch); });
    addShortcut({QKeySequence::Back}, [this] { navigate(0); });
    addShortcut({QKeySequence::Forward}, [this] { navigate(1); });
    addShortcut({QKeySequence::Close}, [this] {
        if (m_window) {
            m_window->close();
        }
    });

    if (allowsToolbarNavigation()) {
        buildToolbar(windowTitle);
    }

    m_autosaveName =
        QStringLiteral("%1: %2").arg(QString::fromLatin1(metaObject()->className()), windowTitle);
    restoreOrCenterFrame();
    m_frameSaveTimer = new QTimer(m_window);
    m_frameSaveTimer->setSingleShot(true);
    m_frameSaveTimer->setInterval(300);
    connect(m_frameSaveTimer, &QTimer::timeout, this, &QXBrowserWindowController::saveFrame);
    connect(m_window, &QXBrowserWindow::frameChanged, m_frameSaveTimer,
            qOverload<>(&QTimer::start));
}

// Window frame ---------------------------------------------------------------

QString QXBrowserWindowController::frameAutosaveKey() const
{
    return QStringLiteral("Window Frame ") + m_autosaveName;
}

void QXBrowserWindowController::restoreOrCenterFrame()
{
    if (windowSavesFrame()) {
        // "x y width height"; anything else, or a frame on no screen, is ignored.
        const QStringList parts = platform::UserDefaults::standard()
                                      .stringForKey(frameAutosaveKey())
                                      .split(u' ', Qt::SkipEmptyParts);
        if (parts.size() == 4) {
            bool ok[4] = {};
            const QRect saved(parts[0].toInt(&ok[0]), parts[1].toInt(&ok[1]),
                              parts[2].toInt(&ok[2]), parts[3].toInt(&ok[3]));
            QScreen* screen = QGuiApplication::screenAt(saved.center());
            if (ok[0] && ok[1] && ok[2] && ok[3] && screen && saved.width() > 0 &&
                saved.height() > 0) {
                const QRect usable = screen->availableGeometry();
                m_window->resize(saved.size().boundedTo(usable.size()));
                m_window->move(saved.topLeft());
                return;
            }
        }
    }
    QScreen* screen = preferredScreen() ? preferredScreen() : QGuiApplication::primaryScreen();
    if (screen) {
        // Centres the whole window, title bar included.
        QRect frame(QPoint(), m_window->size().grownBy({0, titleBarAllowance(), 0, 0}));
        frame.moveCenter(visibleFrameWithExtraDockSpacing(screen).center());
        m_window->move(frame.topLeft());
    }
}

void QXBrowserWindowController::saveFrame()
{
    if (!m_window || !windowSavesFrame() || !m_window->isVisible()) {
        return;
    }
    const QRect frame(m_window->pos(), m_window->size());
    platform::UserDefaults::standard().setObject(QStringLiteral("%1 %2 %3 %4")
                                                     .arg(frame.x())
                                                     .arg(frame.y())
                                                     .arg(frame.width())
                                                     .arg(frame.height()),
                                                 frameAutosaveKey());
}

QRect QXBrowserWindowController::visibleFrameWithExtraDockSpacing(const QScreen* screen)
{
    if (!screen) {
        return {};
    }
    const qint64 spacing =
        platform::UserDefaults::standard().integerForKey(VisibleFrameExtraDockSpacingKey);
    // A spacing beyond any screen would turn the frame inside out.
    const int bounded = static_cast<int>(std::clamp<qint64>(spacing, 0, 10000));
    return visibleFrameWithExtraDockSpacing(screen->geometry(), screen->availableGeometry(),
                                            bounded);
}

QRect QXBrowserWindowController::visibleFrameWithExtraDockSpacing(const QRect& screenFrame,
                                                                  const QRect& visibleFrame,
                                                                  int spacing)
{
    if (spacing < 1) {
        return visibleFrame;
    }
    QRect frame = visibleFrame;
    if (visibleFrame.left() - screenFrame.left() > DockDetectionGap) {
        frame.setLeft(frame.left() + spacing);
    }
    if (screenFrame.right() - visibleFrame.right() > DockDetectionGap) {
        frame.setRight(frame.right() - spacing);
    }
    if (screenFrame.bottom() - visibleFrame.bottom() > DockDetectionGap) {
        frame.setBottom(frame.bottom() - spacing);
    }
    // A spacing that leaves no room is ignored.
    return frame.isValid() ? frame : visibleFrame;
}

// Closing --------------------------------------------------------------------

bool QXBrowserWindowController::windowShouldClose()
{
    saveFrame();
    // The window goes once its close event is over.
    QTimer::singleShot(0, this, &QXBrowserWindowController::dropWindow);
    return true;
}

void QXBrowserWindowController::dropWindow()
{
    if (m_window && m_window->isVisible()) {
        return; // shown again meanwhile
    }
    m_searchContainer = nullptr;
    m_completer = nullptr;
    m_suggestions = nullptr;
    m_backButton = nullptr;
    m_forwardButton = nullptr;
    m_toolbar = nullptr;
    m_topArea = nullptr;
    m_contentLayout = nullptr;
    m_frameSaveTimer = nullptr;
    m_spinning = false;
    m_webView.reset();
    if (m_window) {
        m_window->deleteLater();
    }
    m_window = nullptr;
}

// Spinner --------------------------------------------------------------------

void QXBrowserWindowController::enableSpinner(bool enable)
{
    // Pages load from local files within a pass of the event loop, so the
    // progress indication is the busy cursor over the page.
    if (!m_webView) {
        return;
    }
    if (!enable) {
        if (m_spinning) {
            m_webView->widget()->unsetCursor();
            m_spinning = false;
        }
        return;
    }
    if (!m_spinning && displaysSpinnerWhileLoading()) {
        m_webView->widget()->setCursor(Qt::BusyCursor);
        m_spinning = true;
    }
}

void QXBrowserWindowController::webViewDidFinishLoad(bool)
{
    enableSpinner(false);
}

void QXBrowserWindowController::webViewDidChangeTitle(const QString&)
{
    updateNavigator();
}

void QXBrowserWindowController::updateNavigator()
{
    if (m_backButton && m_webView) {
        m_backButton->setEnabled(m_webView->canGoBack());
        m_forwardButton->setEnabled(m_webView->canGoForward());
    }
}

// Toolbar --------------------------------------------------------------------

QStringList QXBrowserWindowController::toolbarDefaultItemIdentifiers() const
{
    QStringList items{NavigateItem, FlexibleSpaceItem, TitleItem};
    if (allowsSearch()) {
        items << FlexibleSpaceItem << SearchItem;
    }
    return items;
}

void QXBrowserWindowController::buildToolbar(const QString& windowTitle)
{
    m_toolbar = new QToolBar(m_window);
    m_toolbar->setObjectName(QStringLiteral("%1: %2 Toolbar")
                                 .arg(QString::fromLatin1(metaObject()->className()), windowTitle));
    m_toolbar->setAccessibleName(QXLocalized::tr("Toolbar"));
    m_toolbar->setMovable(false);
    m_toolbar->setFloatable(false);
    m_toolbar->toggleViewAction()->setEnabled(false);
    m_toolbar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_toolbar->setContextMenuPolicy(Qt::PreventContextMenu);
    for (const QString& identifier : toolbarDefaultItemIdentifiers()) {
        if (identifier == FlexibleSpaceItem || identifier == SpaceItem) {
            auto* space = new QWidget(m_toolbar);
            if (identifier == FlexibleSpaceItem) {
                space->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
            } else {
                space->setFixedWidth(8);
            }
            m_toolbar->addWidget(space);
        } else if (QWidget* item = toolbarItemForIdentifier(identifier)) {
            m_toolbar->addWidget(item);
        }
    }
    // The button that shows items when the window is too narrow for them.
    for (QAbstractButton* button :
         m_toolbar->findChildren<QAbstractButton*>(QStringLiteral("qt_toolbar_ext_button"))) {
        button->setAccessibleName(QXLocalized::tr("More Toolbar Items"));
    }
    m_window->addToolBar(Qt::TopToolBarArea, m_toolbar);
    updateNavigator();
}

QWidget* QXBrowserWindowController::toolbarItemForIdentifier(const QString& identifier)
{
    QStyle* style = QApplication::style();
    if (identifier == NavigateItem) {
        auto* navigator = new QWidget(m_toolbar);
        auto* layout = new QHBoxLayout(navigator);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(2);
        m_backButton = new QToolButton(navigator);
        m_backButton->setIcon(style->standardIcon(QStyle::SP_ArrowBack));
        m_backButton->setAccessibleName(QXLocalized::tr("Back"));
        m_backButton->setToolTip(QXLocalized::tr("Back"));
        m_forwardButton = new QToolButton(navigator);
        m_forwardButton->setIcon(style->standardIcon(QStyle::SP_ArrowForward));
        m_forwardButton->setAccessibleName(QXLocalized::tr("Forward"));
        m_forwardButton->setToolTip(QXLocalized::tr("Forward"));
        m_backButton->setEnabled(false);
        m_forwardButton->setEnabled(false);
        connect(m_backButton, &QToolButton::clicked, this, [this] { navigate(0); });
        connect(m_forwardButton, &QToolButton::clicked, this, [this] { navigate(1); });
        layout->addWidget(m_backButton);
        layout->addWidget(m_forwardButton);
        navigator->setAccessibleName(QXLocalized::tr("Back/Forward"));
        navigator->setToolTip(QXLocalized::tr("Back/Forward"));
        return navigator;
    }
    if (identifier == TitleItem) {
        return titleItem();
    }
    if (identifier == SearchItem && allowsSearch()) {
        auto* button = new QToolButton(m_toolbar);
        button->setIcon(QIcon::fromTheme(QStringLiteral("edit-find"),
                                         style->standardIcon(QStyle::SP_FileDialogContentsView)));
        button->setAccessibleName(QXLocalized::tr("Find..."));
        button->setToolTip(QXLocalized::tr("Find..."));
        connect(button, &QToolButton::clicked, this, &QXBrowserWindowController::toggleSearchField);
        return button;
    }
    return nullptr;
}

QWidget* QXBrowserWindowController::titleItem()
{
    QString title = m_window->windowTitle();
    if (title.isEmpty()) {
        title = platform::Bundle::main().infoString(QStringLiteral("CFBundleName"));
    }
    if (title.isEmpty()) {
        title = QXLocalized::tr("Untitled");
    }
    auto* item = new QWidget(m_toolbar);
    auto* layout = new QHBoxLayout(item);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    const QIcon icon =
        m_toolbarTitleIcon.isNull() ? QApplication::windowIcon() : m_toolbarTitleIcon;
    if (!icon.isNull()) {
        auto* image = new QLabel(item);
        image->setPixmap(icon.pixmap(16, 16));
        image->setAccessibleName(QXLocalized::tr("Icon"));
        layout->addWidget(image);
    }
    auto* text = new QLabel(title, item);
    text->setTextFormat(Qt::PlainText);
    text->setAccessibleName(title);
    QFont font = text->font();
    font.setPointSizeF(font.pointSizeF() * 1.1);
    text->setFont(font);
    layout->addWidget(text);
    item->setAccessibleName(title);
    return item;
}

void QXBrowserWindowController::navigate(int segment)
{
    if (!m_webView) {
        return;
    }
    if (segment == 1) {
        m_webView->goForward();
    } else {
        m_webView->goBack();
    }
    updateNavigator();
}

// Zoom -----------------------------------------------------------------------

void QXBrowserWindowController::zoomIn()
{
    if (m_webView && m_webView->canZoomIn()) {
        m_webView->zoomIn();
    } else {
        beep();
    }
}

void QXBrowserWindowController::zoomOut()
{
    if (m_webView && m_webView->canZoomOut()) {
        m_webView->zoomOut();
    } else {
        beep();
    }
}

// Find bar -------------------------------------------------------------------

bool QXBrowserWindowController::showSearchField(bool show)
{
    if (!m_webView || !m_window) {
        return false;
    }
    if (!show) {
        if (m_searchContainer) {
            m_contentLayout->removeWidget(m_searchContainer);
            m_searchContainer->deleteLater();
            m_searchContainer = nullptr;
            m_completer = nullptr;
            m_suggestions = nullptr;
            m_webView->widget()->setFocus();
        }
        return true;
    }
    if (!allowsSearch()) {
        return false;
    }
    if (m_searchContainer) {
        if (!m_searchContainer->searchField()->hasFocus()) {
            m_searchContainer->searchField()->setFocus();
        }
        return true;
    }
    m_searchContainer = new QXBrowserWindowSearchContainer(m_window->centralWidget());
    QLineEdit* field = m_searchContainer->searchField();
    m_suggestions = new QStringListModel(m_searchContainer);
    m_completer = new QCompleter(m_suggestions, m_searchContainer);
    m_completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    m_completer->setCaseSensitivity(Qt::CaseInsensitive);
    m_completer->setWidget(field);
    m_completer->popup()->setAccessibleName(QXLocalized::tr("Suggestions"));
    connect(m_completer, qOverload<const QString&>(&QCompleter::activated), this,
            &QXBrowserWindowController::suggestionChosen);
    connect(field, &QLineEdit::textEdited, this, &QXBrowserWindowController::searchTextEdited);
    connect(field, &QLineEdit::returnPressed, this, &QXBrowserWindowController::performSearch);
    connect(m_searchContainer, &QXBrowserWindowSearchContainer::doneRequested, this,
            &QXBrowserWindowController::toggleSearchField);

    // Directly above the page, below whatever subclasses placed on top.
    m_contentLayout->insertWidget(m_contentLayout->indexOf(m_webView->widget()), m_searchContainer);
    field->setText(findString());
    field->selectAll();
    field->setFocus();
    return true;
}

void QXBrowserWindowController::toggleSearchField()
{
    showSearchField(!m_searchContainer);
}

void QXBrowserWindowController::searchTextEdited(const QString& text)
{
    if (!allowsSearch()) {
        return;
    }
    m_query = text;
    setFindString(text);
    const QStringList suggestions =
        text.isEmpty() ? QStringList() : searchSuggestionsForQuery(text);
    if (!m_suggestions) {
        return;
    }
    m_suggestions->setStringList(suggestions);
    if (suggestions.isEmpty()) {
        m_completer->popup()->hide();
    } else {
        m_completer->complete();
    }
}

void QXBrowserWindowController::suggestionChosen(const QString& suggestion)
{
    // The field keeps what the user typed: a suggestion is a page to open,
    // not text to search for.
    if (QLineEdit* field = searchField()) {
        field->setText(m_query);
    }
    selectSearchSuggestion(suggestion);
}

void QXBrowserWindowController::performSearch()
{
    if (!allowsSearch()) {
        beep();
        return;
    }
    const QString text = searchField() ? searchField()->text() : QString();
    if (text.isEmpty() || !m_webView) {
        return;
    }
    setFindString(text);
    if (!m_webView->find(text)) {
        beep();
    }
}

void QXBrowserWindowController::performTextFinderActionWithTag(int tag)
{
    switch (tag) {
    case ShowFindInterface:
        if (!showSearchField(true)) {
            beep();
        }
        return;
    case NextMatch:
    case PreviousMatch:
        if (!allowsSearch() || !m_webView || findString().isEmpty() ||
            !m_webView->find(findString(), tag == PreviousMatch)) {
            beep();
        }
        return;
    default:
        beep();
    }
}

bool QXBrowserWindowController::validateTextFinderAction(int tag) const
{
    if (!allowsSearch()) {
        return false;
    }
    if (tag == NextMatch || tag == PreviousMatch) {
        return !findString().isEmpty();
    }
    return tag == ShowFindInterface;
}

QString QXBrowserWindowController::findString()
{
    return sharedFindString();
}

void QXBrowserWindowController::setFindString(const QString& text)
{
    sharedFindString() = text;
}

// Link policy ----------------------------------------------------------------

QSet<QString> QXBrowserWindowController::acceptableFileURLExtensions() const
{
    return {QStringLiteral("htm"), QStringLiteral("html")};
}

QSet<QString> QXBrowserWindowController::acceptableExternalURLSchemes() const
{
    return {QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("mailto")};
}

platform::WebView::Policy QXBrowserWindowController::decidePolicyForNavigation(const QUrl& url)
{
    using Policy = platform::WebView::Policy;
    if (url.isLocalFile() &&
        acceptableFileURLExtensions().contains(QFileInfo(url.path()).suffix().toLower())) {
        return Policy::Load;
    }
    if (url.isValid() && acceptableExternalURLSchemes().contains(url.scheme().toLower())) {
        if (!openExternally(url)) {
            platform::systemLog(
                QStringLiteral("cannot open link: %1").arg(url.toString(QUrl::FullyEncoded)));
        }
        return Policy::Ignore;
    }
    platform::systemLog(QStringLiteral("refused link: %1").arg(url.toString(QUrl::FullyEncoded)));
    return Policy::Ignore;
}

void QXBrowserWindowController::setExternalURLOpenerForTesting(ExternalURLOpener opener)
{
    m_externalOpener = std::move(opener);
}

bool QXBrowserWindowController::openExternally(const QUrl& url)
{
    if (m_externalOpener) {
        return m_externalOpener(url);
    }
    return QDesktopServices::openUrl(url);
}

// Context menu ---------------------------------------------------------------

void QXBrowserWindowController::webViewContextMenu(QMenu& menu)
{
    using Item = platform::WebView::ContextItem;
    static const QSet<int> kept{static_cast<int>(Item::CopyLink),  static_cast<int>(Item::Copy),
                                static_cast<int>(Item::SelectAll), static_cast<int>(Item::Back),
                                static_cast<int>(Item::Forward),   static_cast<int>(Item::Reload)};
    for (QAction* action : menu.actions()) {
        if (!kept.contains(action->data().toInt())) {
            menu.removeAction(action);
            action->deleteLater();
        }
    }
    if (!menu.isEmpty()) {
        menu.addSeparator();
    }
    QAction* print = menu.addAction(QXLocalized::tr("Print..."));
    connect(print, &QAction::triggered, this, [this] {
        if (m_webView) {
            m_webView->print(m_window);
        }
    });
}
