#pragma once

#include "platform/web/WebView.h"

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSet>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <memory>

class QAction;
class QCompleter;
class QLabel;
class QLineEdit;
class QMenu;
class QScreen;
class QStringListModel;
class QTimer;
class QToolBar;
class QToolButton;
class QVBoxLayout;
class QWidget;
class QXBrowserWindow;
class QXBrowserWindowSearchContainer;

// The controller of a window that shows web content: it builds the window
// the first time content is shown, with a toolbar (back/forward, title,
// find), an in-window find bar and the link policy that decides which URLs
// load in the window and which go to the desktop. Subclasses customise it
// through the virtual hooks; the base class calls every hook virtually.
class QXBrowserWindowController : public QObject
{
    Q_OBJECT

public:
    // Toolbar item identifiers.
    static const QString NavigateItem;
    static const QString TitleItem;
    static const QString SearchItem;
    static const QString SpaceItem;
    static const QString FlexibleSpaceItem;

    // Find actions by tag, as the find menu commands send them.
    enum TextFinderAction
    {
        ShowFindInterface = 1,
        NextMatch = 2,
        PreviousMatch = 3
    };

    // Opens an external URL with the desktop; answers whether it could.
    using ExternalURLOpener = std::function<bool(const QUrl& url)>;

    explicit QXBrowserWindowController(QObject* parent = nullptr);
    ~QXBrowserWindowController() override;

    // Loads html (with url as base URL), or without html the page at url,
    // creating the window first when there is none. Both absent (a null html
    // and an empty url): false, nothing changes. An open window keeps its
    // title. Does not bring the window forward.
    bool populateWithHTMLContent(const QString& html, const QUrl& url, const QString& windowTitle);
    // Populates, then activates the program and brings the window forward.
    bool showHTMLContent(const QString& html, const QUrl& url, const QString& windowTitle);

    platform::WebView* webView() const { return m_webView.get(); }
    QXBrowserWindow* window() const;
    // The find bar and its field, while the bar is shown.
    QXBrowserWindowSearchContainer* searchContainer() const { return m_searchContainer; }
    QLineEdit* searchField() const;
    QToolButton* backButton() const { return m_backButton; }
    QToolButton* forwardButton() const { return m_forwardButton; }
    QToolBar* toolbar() const { return m_toolbar; }

    // Icon left of the toolbar title; the application's icon when null.
    QIcon toolbarTitleIcon() const { return m_toolbarTitleIcon; }
    void setToolbarTitleIcon(const QIcon& icon) { m_toolbarTitleIcon = icon; }

    // Actions.
    void zoomIn();
    void zoomOut();
    bool showSearchField(bool show);
    void toggleSearchField();
    void performSearch();
    void performTextFinderActionWithTag(int tag);
    // Segment 1 goes forward, any other back.
    void navigate(int segment);
    // Whether a find command with the tag can run now (for menus).
    bool validateTextFinderAction(int tag) const;

    // The process-wide find string that the find field and the find-next
    // commands share.
    static QString findString();
    static void setFindString(const QString& text);

    // The usable area of a screen: its available geometry, made smaller by
    // "QXVisibleFrameExtraDockSpacing" on each side where a panel takes more
    // than 10 pixels (never at the top).
    static QRect visibleFrameWithExtraDockSpacing(const QScreen* screen);
    static QRect visibleFrameWithExtraDockSpacing(const QRect& screenFrame,
                                                  const QRect& visibleFrame, int spacing);

    // The link policy, for every navigation: accepted files load in the
    // window; accepted schemes go to the desktop; everything else is refused
    // and logged.
    virtual platform::WebView::Policy decidePolicyForNavigation(const QUrl& url);
    // Replaces the desktop's URL opener (tests record instead).
    void setExternalURLOpenerForTesting(ExternalURLOpener opener);

    // The settings key under which the window's frame is kept.
    QString frameAutosaveKey() const;

    // Closing: the base drops window and web view; answers whether the window
    // may close.
    virtual bool windowShouldClose();

    // Hooks.
    virtual void enableSpinner(bool enable);
    virtual QSize windowMinimumContentSize() const { return {400, 200}; }
    virtual QSize windowDefaultContentSizeForScreen(const QScreen*) const { return {800, 600}; }
    virtual bool windowSavesFrame() const { return true; }
    virtual QScreen* preferredScreen() const { return nullptr; }
    virtual bool displaysSpinnerWhileLoading() const { return true; }
    virtual bool allowsToolbarNavigation() const { return true; }
    virtual bool allowsSearch() const { return allowsToolbarNavigation(); }
    virtual QStringList searchSuggestionsForQuery(const QString&) { return {}; }
    virtual void selectSearchSuggestion(const QString&) {}
    virtual QSet<QString> acceptableFileURLExtensions() const;
    virtual QSet<QString> acceptableExternalURLSchemes() const;
    // The folders that images and style sheets of the pages shown may be
    // read from; empty: the folder of the page shown.
    virtual QStringList resourceFolders() const { return {}; }

    // Toolbar: the items in order, and the widget of one item (nullptr for an
    // unknown identifier).
    virtual QStringList toolbarDefaultItemIdentifiers() const;
    virtual QWidget* toolbarItemForIdentifier(const QString& identifier);

protected:
    // The main frame finished loading (ok false: it failed).
    virtual void webViewDidFinishLoad(bool ok);
    // The page shown changed its title or the history moved.
    virtual void webViewDidChangeTitle(const QString& title);
    // Edits the page's context menu before it opens.
    virtual void webViewContextMenu(QMenu& menu);

    // Widgets added here stand above the find bar, below the toolbar.
    QVBoxLayout* topArea() const { return m_topArea; }
    // Keeps the window's frame under frameAutosaveKey().
    void saveFrame();

private:
    void createWindow(const QString& windowTitle);
    void buildToolbar(const QString& windowTitle);
    QWidget* titleItem();
    void restoreOrCenterFrame();
    void dropWindow();
    void updateNavigator();
    void searchTextEdited(const QString& text);
    void suggestionChosen(const QString& suggestion);
    bool openExternally(const QUrl& url);

    std::unique_ptr<platform::WebView> m_webView;
    QPointer<QXBrowserWindow> m_window;
    QToolBar* m_toolbar = nullptr;
    QToolButton* m_backButton = nullptr;
    QToolButton* m_forwardButton = nullptr;
    QVBoxLayout* m_contentLayout = nullptr;
    QVBoxLayout* m_topArea = nullptr;
    QXBrowserWindowSearchContainer* m_searchContainer = nullptr;
    QCompleter* m_completer = nullptr;
    QStringListModel* m_suggestions = nullptr;
    QString m_query;
    QTimer* m_frameSaveTimer = nullptr;
    QString m_autosaveName;
    QIcon m_toolbarTitleIcon;
    bool m_spinning = false;
    ExternalURLOpener m_externalOpener;
};
